// The main window at its start size (1340 x 706), headless: the coverage view's controls stand
// apart with every settings row in sight, the generator view's floating boxes open side by side
// on the screen, and the status panels show their texts whole.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "common/PictureSupport.h"
#include "forms/StatusPanel.h"
#include "measurement/PeakLists.h"
#include "forms/Forms.h"
#include "forms/AboutWindow.h"
#include "forms/ColorSettingsWindow.h"
#include "forms/ConnectionWindow.h"
#include "forms/CsvExportWindow.h"
#include "forms/FunctionMatrixWindow.h"
#include "forms/LoggerWindow.h"
#include "forms/MailSetupWindow.h"
#include "forms/ReportHeaderWindow.h"
#include "forms/TableEditorWindow.h"
#include "forms/TcpConnectionWindow.h"
#include "forms/WhatsNewWindow.h"
#include "forms/MainWindow.h"
#include "forms/Program.h"
#include "instrument/InstrumentState.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>

using testsupport::Control;

namespace {

// The program with its windows created and the main window shown.
struct ShownProgram {
    QTemporaryDir folder;
    const QString oldCurrent = QDir::currentPath();
    AppContext app;
    std::unique_ptr<Program> program;
    MainWindow* w = nullptr;

    explicit ShownProgram(const QStringList& arguments)
    {
        for (const char* sub : {"zips", "src", "rep"})
            QDir(folder.path()).mkpath(sub);
        program = std::make_unique<Program>(app, arguments, folder.path());
        program->Services().ShowMessage = [](const QString&) {};
        program->Services().ShowError = [](const QString&) {};
        program->Services().VersionIndex = [] { return 9; };
        program->CreateForms();
        w = program->Windows().mainWindow;
        w->show();
        QCoreApplication::processEvents();
    }
    ~ShownProgram() { QDir::setCurrent(oldCurrent); }
};

struct WindowFit : ::testing::Test, ShownProgram {
    WindowFit() : ShownProgram(QStringList()) {}

    void Trigger(const char* action)
    {
        Control<QAction>(*w, action).trigger();
        QCoreApplication::processEvents();
    }
};

QString Describe(const QWidget* widget)
{
    return QStringLiteral("%1 %2 (%3,%4 %5x%6)")
        .arg(QLatin1String(widget->metaObject()->className()), widget->objectName())
        .arg(widget->x())
        .arg(widget->y())
        .arg(widget->width())
        .arg(widget->height());
}

// One tick of the status line with these instrument texts; the echo's texts in the order start,
// stop, centre, span, bandwidth, detector, sweep time, preamplifier.
void TickStatusLine(Program& program, QWidget& window, const char* connection, const char* model,
                    const std::array<const char*, 8>& echo)
{
    InstrumentState& instrument = program.Instrument();
    instrument.Status.SetText(InstrumentStatus::kConnectionPanel, QString::fromLatin1(connection));
    instrument.Status.SetText(InstrumentStatus::kModelPanel, QString::fromLatin1(model));
    InstrumentSettingsEcho& e = instrument.Device.Echo;
    QString* texts[] = {&e.StartText, &e.StopText, &e.CenterText, &e.SpanText,
                        &e.RbwText,   &e.DetectorText, &e.SweepText, &e.PreAmpText};
    for (size_t i = 0; i < echo.size(); ++i)
        *texts[i] = QString::fromLatin1(echo[i]);
    QMetaObject::invokeMethod(&Control<QTimer>(window, "Timer1"), "timeout", Qt::DirectConnection);
    QCoreApplication::processEvents();
}

// Every visible control below the parent lies inside it, whole, and covers none of its siblings;
// what a scroll area scrolls may be larger than its viewport.
void CollectLayoutFaults(const QWidget* parent, QStringList& faults)
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
    const bool scrolled = area && area->viewport() == parent;
    QList<const QWidget*> shown;
    for (const QObject* o : parent->children()) {
        const auto* child = qobject_cast<const QWidget*>(o);
        if (!child || child->isWindow() || !child->isVisible())
            continue;
        if (!scrolled && !parent->rect().contains(child->geometry()))
            faults << Describe(child) + QStringLiteral(" cut by ") + Describe(parent);
        // The ramp's fields are laid over its diagram.
        for (const QWidget* other : shown)
            if (child->geometry().intersects(other->geometry()) && other->objectName() != QLatin1String("PaintBox1"))
                faults << Describe(child) + QStringLiteral(" covers ") + Describe(other);
        shown << child;
        CollectLayoutFaults(child, faults);
    }
}

} // namespace

TEST_F(WindowFit, CoverageViewShowsEveryControlAndGridRowApart)
{
    EXPECT_EQ(w->size(), QSize(1340, 706));
    Trigger("Power1");
    QWidget* frame = &Control(*w, "Frame141");
    ASSERT_TRUE(frame && frame->isVisible());
    EXPECT_LE(frame->mapTo(w, QPoint(0, frame->height())).y(), Control(*w, "StatusBar1").y());
    QStringList faults;
    CollectLayoutFaults(frame, faults);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();

    auto* grid = &Control<QTableView>(*frame, "ValueListEditor2");
    const QAbstractItemModel* model = grid->model();
    ASSERT_EQ(model->rowCount(), 14);
    for (int r = 0; r < model->rowCount(); ++r) {
        const QRect key = grid->visualRect(model->index(r, 0));
        const QString text = model->index(r, 0).data().toString();
        EXPECT_TRUE(grid->viewport()->rect().contains(key.united(grid->visualRect(model->index(r, 1)))))
            << text.toStdString();
        EXPECT_LT(grid->fontMetrics().horizontalAdvance(text), key.width()) << text.toStdString();
    }
}

TEST_F(WindowFit, FloatingBoxesOpenSideBySideOnTheScreen)
{
    Trigger("G1");
    QWidget& view = Control(*w, "Frame131");
    // Buttons "Show Settings", "Show Messages", "Show [V/m] Calculator", "Show Marker".
    const std::pair<const char*, const char*> boxes[] = {
        {"GroupBox5", "Button5"}, {"GroupBox6", "Button6"}, {"GroupBox8", "Button3"}, {"GroupBox9", "Button4"}};
    QList<QWidget*> shown;
    for (const auto& [box, button] : boxes) {
        QWidget* b = &Control(view, box);
        if (!b->isVisible())
            Control<QPushButton>(view, button).click();
        ASSERT_TRUE(b->isVisible()) << box;
        EXPECT_TRUE(b->screen()->availableGeometry().contains(b->frameGeometry())) << box;
        for (const QWidget* other : shown)
            EXPECT_FALSE(b->frameGeometry().intersects(other->frameGeometry()))
                << box << " covers " << other->objectName().toStdString();
        shown << b;
    }
    // The buttons that show and hide the boxes stay free.
    for (const auto& [box, button] : boxes) {
        const QWidget& b = Control(view, button);
        for (const QWidget* opened : shown)
            EXPECT_FALSE(opened->frameGeometry().intersects(QRect(b.mapToGlobal(QPoint()), b.size())))
                << opened->objectName().toStdString() << " covers " << button;
    }
}

TEST_F(WindowFit, StatusPanelsAreAsWideAsTheirTexts)
{
    TickStatusLine(*program, *w, "TCPIP0::192.168.100.200::INSTR", "Siglent SSA-3032X Plus",
                   {"150000", "30000000", "", "", "9000", "QPEAK", "0.0350", "OFF"});
    EXPECT_EQ(w->size(), QSize(1340, 706));
    for (int i = 0; i < 8; ++i) {
        auto* panel = &Control<QLabel>(*w, QStringLiteral("StatusPanel%1").arg(i));
        EXPECT_GE(panel->contentsRect().width(), w->fontMetrics().horizontalAdvance(panel->text()))
            << i << " " << panel->text().toStdString();
    }
}

namespace {

// A title bar and a frame as a window manager adds them to every window.
constexpr QSize kSmallScreen(800, 480);
constexpr QSize kWindowFrame(8, 30);

// The start size and the small-screen layout.
struct LayoutFit : ::testing::TestWithParam<bool>, ShownProgram {
    LayoutFit() : ShownProgram(GetParam() ? QStringList{"s"} : QStringList()) {}
    QString Size() const { return GetParam() ? QStringLiteral("800x480") : QStringLiteral("1340x706"); }
};

// A panel shows its text whole, or a start of it with "..." that ends on no cut number, with the
// whole text as its tool tip.
void ExpectWholeOrElided(const StatusPanel& panel)
{
    const QString text = panel.text();
    const QString shown = panel.shownText();
    EXPECT_LE(panel.fontMetrics().horizontalAdvance(shown), panel.contentsRect().width()) << shown.toStdString();
    if (shown == text) {
        EXPECT_TRUE(panel.toolTip().isEmpty()) << text.toStdString();
        return;
    }
    ASSERT_TRUE(shown.endsWith("...")) << shown.toStdString();
    EXPECT_EQ(panel.toolTip(), text);
    const QString start = shown.chopped(3).trimmed();
    EXPECT_TRUE(text.startsWith(start)) << shown.toStdString();
    const QChar next = start.size() < text.size() ? text[start.size()] : QChar();
    EXPECT_FALSE(!start.isEmpty() && start.back().isDigit() && (next.isDigit() || next == '.'))
        << "cut number: " << shown.toStdString() << " of " << text.toStdString();
}

} // namespace

TEST_P(LayoutFit, EveryModeFitsTheWindowAndTheStatusLineReadsWhole)
{
    TickStatusLine(*program, *w, "TCPIP0::127.0.0.1::5611::SOCKET", "DSA815-119",
                   {"25000000", "3000000000", "1859000", "100000", "9000", "POS", "0.0350", "OFF"});
    if (GetParam()) {
        // At most 800 x 480 inside, and on its screen frame and all once the window system has
        // given it its frame.
        const QRect screen = w->screen()->availableGeometry();
        EXPECT_TRUE(QTest::qWaitFor([&] { return screen.contains(w->frameGeometry()); }, 2000))
            << w->frameGeometry().width() << "x" << w->frameGeometry().height();
        EXPECT_TRUE(QRect(QPoint(), kSmallScreen).contains(QRect(QPoint(), w->size())));
    } else {
        EXPECT_EQ(w->size(), QSize(1340, 706));
    }
    for (const char* mode : {"EMC1", "Power1", "G1"}) {
        Control<QAction>(*w, mode).trigger();
        QCoreApplication::processEvents();
        picture::Save(w->grab().toImage(), QStringLiteral("mode-%1-%2").arg(QLatin1String(mode), Size()));
        // A view covers the main view: its own area is checked instead.
        QWidget* checked = w;
        for (const char* view : {"Frame141", "Frame131"}) {
            if (Control(*w, view).isVisible()) {
                checked = &Control(*w, (QString::fromLatin1(view) + "Host").toLatin1().constData());
                EXPECT_EQ(checked->size(), Control<QScrollArea>(*w, "clientArea").viewport()->size()) << view;
            }
        }
        QStringList faults;
        CollectLayoutFaults(checked, faults);
        EXPECT_TRUE(faults.isEmpty()) << mode << ": " << faults.join(QLatin1Char('\n')).toStdString();
    }
    for (int i = 0; i < 8; ++i)
        ExpectWholeOrElided(Control<StatusPanel>(*w, QStringLiteral("StatusPanel%1").arg(i)));
    for (int i : {0, 3, 4}) {
        if (!GetParam()) {
            EXPECT_EQ(Control<StatusPanel>(*w, QStringLiteral("StatusPanel%1").arg(i)).shownText(),
                      Control<StatusPanel>(*w, QStringLiteral("StatusPanel%1").arg(i)).text());
        }
    }
}

// A re-measured peak's line shows its level whole, below the frequencies where the list is
// narrower than the line.
TEST_P(LayoutFit, RemeasuredPeakLinesShowTheirLevels)
{
    w->peakLists(1).MeasureLines.setStringList(
        {QStringLiteral("15  [QPEAK] 5999999.00kHz --> 5999999.25kHz 45.10dBuV")});
    QCoreApplication::processEvents();
    auto& list = Control<QListView>(*w, "ListBox2");
    const QModelIndex line = list.model()->index(0, 0);
    const QRect item = list.visualRect(line);
    picture::Save(list.grab().toImage(), QStringLiteral("remeasured-%1").arg(Size()));
    EXPECT_LE(item.right(), list.viewport()->width());
    const int needed = list.fontMetrics().horizontalAdvance(line.data().toString());
    EXPECT_GE(item.height() * item.width(), needed * list.fontMetrics().height());
}

TEST_P(LayoutFit, EveryDialogFitsTheSmallScreenWithItsFrame)
{
    const Forms& f = program->Windows();
    std::vector<std::pair<const char*, QWidget*>> launched = {
        {"Visa1", f.connectionWindow},      {"CP1", f.connectionWindow},
        {"GPS1", f.connectionWindow},       {"SASER1", f.connectionWindow},
        {"N1", f.tableEditorWindow},        {"EditCable1", f.tableEditorWindow},
        {"EditLISN1", f.tableEditorWindow}, {"EditAmplifier1", f.tableEditorWindow},
        {"EditAntenna1", f.tableEditorWindow}, {"EditSegments1", f.tableEditorWindow},
        {"EditReport1", f.reportHeaderWindow}, {"EditColors1", f.colorSettingsWindow},
        {"mailAlertAction", f.mailSetupWindow}, {"saveCsvAction", f.csvExportWindow},
        {"About2", f.aboutWindow},          {"WhatsNew1", f.whatsNewWindow},
        {"functionMatrixAction", f.functionMatrixWindow}};
    const auto check = [this](QWidget* dialog, const QString& name) {
        QCoreApplication::processEvents();
        ASSERT_TRUE(dialog->isVisible()) << name.toStdString();
        picture::Save(dialog->grab().toImage(), QStringLiteral("dialog-%1-%2").arg(name, Size()));
        EXPECT_TRUE(QRect(QPoint(), kSmallScreen - kWindowFrame).contains(QRect(QPoint(), dialog->size())))
            << name.toStdString() << " " << dialog->width() << "x" << dialog->height();
        EXPECT_LE(dialog->minimumSize().height(), (kSmallScreen - kWindowFrame).height()) << name.toStdString();
        QStringList faults;
        CollectLayoutFaults(dialog, faults);
        EXPECT_TRUE(faults.isEmpty()) << name.toStdString() << ": " << faults.join(QLatin1Char('\n')).toStdString();
        dialog->hide();
    };
    for (const auto& [action, dialog] : launched) {
        // The connection window is modal: it is checked while it is open.
        QTimer::singleShot(0, dialog, [&, name = QString::fromLatin1(action), d = dialog] { check(d, name); });
        Control<QAction>(*w, action).trigger();
        QCoreApplication::processEvents();
    }
    for (QWidget* dialog : {static_cast<QWidget*>(f.loggerWindow), static_cast<QWidget*>(f.tcpConnectionWindow)}) {
        dialog->show();
        check(dialog, dialog->objectName());
    }
}

INSTANTIATE_TEST_SUITE_P(StartAndSmallScreen, LayoutFit, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "small" : "start"; });
