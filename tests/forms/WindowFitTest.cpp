// The main window at its start size (1340 x 706) and in the small-screen layout (800 x 480),
// headless: modes, dialogs, status panels, floating boxes and the shipped projects' axis labels.
#include "app/AppContext.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "common/Controls.h"
#include "common/PictureSupport.h"
#include "coverage/CoverageView.h"
#include "forms/CoverageFrame.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/Program.h"
#include "forms/StatusPanel.h"
#include "forms/TcpConnectionWindow.h"
#include "instrument/InstrumentState.h"
#include "mail/ChartImage.h"
#include "measurement/PeakLists.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/MetafilePlayer.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using enum MeasureSet;
using testsupport::Control;

namespace {

// What a window may take of the small screen once a window manager has added its frame.
constexpr QSize kSmallScreen(800, 480);
constexpr QSize kSmallScreenRoom(792, 450);

// The start layout (false) and the small-screen one (true), on the shipped data.
struct WindowFit : ::testing::TestWithParam<bool> {
    QTemporaryDir folder;
    const QString oldCurrent = QDir::currentPath();
    AppContext app;
    std::unique_ptr<Program> program;
    MainWindow* w = nullptr;

    WindowFit()
    {
        for (const char* sub : {"zips", "src", "rep", "out"})
            QDir(folder.path()).mkpath(sub);
        const QDir data(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src"));
        for (const QString& name : data.entryList(QDir::Files))
            QFile::copy(data.filePath(name), folder.filePath("src/" + name));
        program = std::make_unique<Program>(app, GetParam() ? QStringList{"s"} : QStringList(), folder.path());
        program->Services().showMessage = [](const QString&) {};
        program->Services().showError = [](const QString&) {};
        program->Services().versionIndex = [] { return 9; };
        program->CreateForms();
        w = program->Windows().mainWindow;
        w->show();
        QCoreApplication::processEvents();
    }
    ~WindowFit() override { QDir::setCurrent(oldCurrent); }
    QString Layout() const { return GetParam() ? QStringLiteral("800x480") : QStringLiteral("1340x706"); }

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

// Every visible control below the parent lies inside it, whole, and covers none of its siblings;
// what a scroll area scrolls may be larger than its viewport.
QStringList LayoutFaults(const QWidget* parent)
{
    QStringList faults;
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
        faults += LayoutFaults(child);
    }
    return faults;
}

// A panel shows its text whole, or (unless it must be whole) a start of it with "..." that ends on
// no cut number, with the whole text as its tool tip.
void ExpectWholeOrElided(const StatusPanel& panel, bool whole)
{
    const QString text = panel.text();
    const QString start = panel.shownText() == text ? text : panel.shownText().chopped(3).trimmed();
    EXPECT_LE(panel.fontMetrics().horizontalAdvance(panel.shownText()), panel.contentsRect().width());
    EXPECT_EQ(panel.toolTip(), start == text ? QString() : text);
    const QChar next = text.mid(start.size()).append(' ').front();
    const bool cutNumber = !start.isEmpty() && start.back().isDigit() && (next.isDigit() || next == '.');
    EXPECT_TRUE(text.startsWith(start) && !cutNumber && (!whole || start == text)) << text.toStdString();
}

} // namespace

TEST_P(WindowFit, CoverageViewShowsEveryControlAndGridRowApart)
{
    if (GetParam())
        GTEST_SKIP() << "the start size; the small screen scrolls the view";
    EXPECT_EQ(w->size(), QSize(1340, 706));
    Trigger("Power1");
    QWidget* frame = &Control(*w, "Frame141");
    ASSERT_TRUE(frame && frame->isVisible());
    EXPECT_LE(frame->mapTo(w, QPoint(0, frame->height())).y(), Control(*w, "StatusBar1").y());
    EXPECT_EQ(LayoutFaults(frame).join(QLatin1Char('\n')).toStdString(), "");

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

TEST_P(WindowFit, FloatingBoxesOpenSideBySideOnTheScreen)
{
    if (GetParam())
        GTEST_SKIP() << "the start size; four boxes leave a small screen no free place";
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
}

// With the settings echo of a re-measurement, the longest the status line shows.
TEST_P(WindowFit, EveryModeFitsAndTheStatusPanelsShowTheirTexts)
{
    InstrumentState& instrument = program->Instrument();
    instrument.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("TCPIP0::192.168.100.200::INSTR"));
    instrument.Status.SetText(InstrumentStatus::kModelPanel, QStringLiteral("Siglent SSA-3032X Plus"));
    instrument.Device.Echo = {.StartText = "150000", .StopText = "30000000", .CenterText = "1859000",
                              .SpanText = "100000", .RbwText = "9000", .DetectorText = "QPEAK",
                              .SweepText = "0.0350", .PreAmpText = "OFF"};
    QMetaObject::invokeMethod(&Control<QTimer>(*w, "Timer1"), "timeout", Qt::DirectConnection);
    QCoreApplication::processEvents();
    if (GetParam()) {
        // On its screen, frame and all, once the window system has given it its frame.
        const QRect screen = w->screen()->availableGeometry();
        EXPECT_TRUE(QTest::qWaitFor([&] { return screen.contains(w->frameGeometry()); }, 2000));
        EXPECT_TRUE(QRect(QPoint(), kSmallScreen).contains(QRect(QPoint(), w->size())));
    } else {
        EXPECT_EQ(w->size(), QSize(1340, 706));
    }
    // The coverage view's longest values: a position south and west, a frequency of 26.5 GHz.
    instrument.Gps.View.Display = {"235959.000", "311226", "nofix", "S",
                                   "W", "183.348", "-33.8567844012", "-151.2152967013"};
    CoverageFields& fields = Control<CoverageFrame>(*w, "Frame141").view().Fields();
    fields.Freq[0] = "26500000000", fields.Level[0] = "-112.35", fields.RecentKml = "out/out_31122026_235959_2.kml";
    Control<CoverageFrame>(*w, "Frame141").showGpsReceiver();
    w->setStatusText(StatusBarPanel::Hint, QStringLiteral("Attenuator [dB]: 0, 10, 20 or auto"));
    QCoreApplication::processEvents();
    // Every panel lies on the bar right of the one before it; at the start size the connection,
    // the model and the whole echo show.
    const QWidget& bar = Control(*w, "StatusBar1");
    int right = 0;
    for (size_t i = 0; i < kStatusBarPanelCount; ++i) {
        const auto& panel = Control<StatusPanel>(*w, QStringLiteral("StatusPanel%1").arg(i));
        EXPECT_TRUE(panel.isVisible() && bar.rect().contains(panel.geometry()) && panel.x() >= right) << i;
        right = panel.geometry().right();
        ExpectWholeOrElided(panel, !GetParam() && i <= PanelIndex(StatusBarPanel::Settings));
    }
    EXPECT_TRUE(testsupport::StatusPanelControl<StatusPanel>(*w, StatusBarPanel::Version).text().startsWith('V'));
    for (const char* mode : {"EMC1", "Power1", "G1"}) {
        Trigger(mode);
        picture::Save(w->grab().toImage(), QStringLiteral("mode-%1-%2").arg(QLatin1String(mode), Layout()));
        // A view covers the main view: its own area is checked instead.
        QWidget* checked = w;
        for (const char* host : {"Frame141Host", "Frame131Host"})
            if (Control(*w, host).isVisible())
                checked = &Control(*w, host);
        EXPECT_EQ(checked == w, mode == std::string("EMC1"));
        if (checked != w) {
            EXPECT_EQ(checked->size(), Control<QScrollArea>(*w, "clientArea").viewport()->size());
            // Every value in a field of a view shows whole, from its first character to its last.
            for (QLineEdit* e : checked->findChildren<QLineEdit*>())
                EXPECT_EQ(e->cursorPositionAt({0, 0}) + e->cursorPositionAt({e->width(), 0}), e->text().size())
                    << e->text().toStdString();
        }
        EXPECT_EQ(LayoutFaults(checked).join('\n').toStdString(), "") << mode;
    }
    // A re-measured peak's line goes on below where the list is narrower, its level in sight.
    w->peakLists(Set1).MeasureLines.setStringList({"15  [QPEAK] 5999999.00kHz --> 5999999.25kHz 45.10dBuV"});
    QCoreApplication::processEvents();
    auto& list = Control<QListView>(*w, "ListBox2");
    EXPECT_GE(list.visualRect(list.model()->index(0, 0)).height(), 2 * list.fontMetrics().height());
}

// Every dialog as the menus launch it, the logger and the TCP test window too.
TEST_P(WindowFit, EveryDialogFitsTheSmallScreenWithItsFrame)
{
    const auto check = [this](const QString& name) {
        QCoreApplication::processEvents();
        int shown = 0;
        for (QWidget* dialog : QApplication::topLevelWidgets()) {
            if (dialog == w || !dialog->isVisible() || qobject_cast<QMenu*>(dialog))
                continue;
            ++shown;
            picture::Save(dialog->grab().toImage(), QStringLiteral("dialog-%1-%2").arg(name, Layout()));
            EXPECT_TRUE(QRect(QPoint(), kSmallScreenRoom).contains(QRect(QPoint(), dialog->size())))
                << name.toStdString() << " " << dialog->width() << "x" << dialog->height();
            EXPECT_EQ(LayoutFaults(dialog).join('\n').toStdString(), "") << name.toStdString();
            dialog->hide();
        }
        EXPECT_EQ(shown, 1) << name.toStdString();
    };
    for (const char* action : {"Visa1", "CP1", "GPS1", "SASER1", "N1", "EditCable1", "EditLISN1", "EditAmplifier1",
                               "EditAntenna1", "EditSegments1", "EditReport1", "EditColors1", "mailAlertAction",
                               "saveCsvAction", "About2", "WhatsNew1", "functionMatrixAction"}) {
        // The connection window is modal: it is checked while it is open.
        QTimer::singleShot(0, w, [&check, action] { check(QString::fromLatin1(action)); });
        Trigger(action);
    }
    program->Windows().loggerWindow->show();
    check(QStringLiteral("logger"));
    program->Windows().tcpConnectionWindow->show();
    check(QStringLiteral("tcp"));
}

// The segment numbers too: every mark in view has its number, inside the plot, apart from the
// others, with its frame showing on all four sides (nothing covers it, it covers no axis label).
TEST_P(WindowFit, ShippedProjectsLabelEachAxisApartInEveryPicture)
{
    TChart& chart = Control<TChart>(*w, "Chart1");
    // Each axis' labels as drawn: their extents along the axis.
    std::map<TChartAxis*, std::vector<std::pair<int, int>>> spans;
    for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()})
        axis->OnDrawLabel = [&](TChartAxis* a, int& x, int& y, int&, QString& text, bool&) {
            if (text == a->Title().Caption())
                return;
            TCanvas3D& canvas = chart.Canvas();
            const int width = canvas.TextWidth(text);
            const bool centred = (canvas.GetTextAlign() & gdi::TA_CENTER) == gdi::TA_CENTER;
            const int from = a->Horizontal() ? (centred ? x - width / 2 : x) : y;
            spans[a].emplace_back(from, from + (a->Horizontal() ? width : canvas.FontHeight()));
        };
    auto expectApart = [&spans](const QString& where) {
        EXPECT_EQ(spans.size(), 2u) << where.toStdString();
        for (auto& [axis, s] : spans) {
            std::sort(s.begin(), s.end());
            for (size_t i = 1; i < s.size(); ++i)
                EXPECT_GE(s[i].first, s[i - 1].second) << where.toStdString() << " at " << s[i].first;
        }
        spans.clear();
    };
    TChartSeries& marks = *w->chart().Series(SeriesRole::segmentMarks1);
    auto expectNumbersWhole = [&](const QImage& image, const QString& where) {
        picture::Save(image, "segments " + where);
        const QRect plot(QPoint(chart.BottomAxis()->StartPixel(), chart.LeftAxis()->StartPixel()),
                         QPoint(chart.BottomAxis()->EndPixel(), chart.LeftAxis()->EndPixel()));
        const auto dark = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 80; };
        int inView = 0;
        std::vector<QRect> boxes;
        for (int i = 0; i < marks.Count(); ++i) {
            const int x = marks.XToPixel(i);
            inView += x >= chart.BottomAxis()->StartPixel() && x <= chart.BottomAxis()->EndPixel();
            if (const TSeriesMarkPosition* p = marks.Marks().Positions().Position(i)) {
                const QRect box(p->LeftTop.X, p->LeftTop.Y, p->Width, p->Height);
                for (const QRect& other : boxes)
                    EXPECT_FALSE(other.adjusted(-1, -1, 1, 1).intersects(box)) << where.toStdString() << " " << i;
                boxes.push_back(box);
                const QPoint c = box.center();
                EXPECT_TRUE(plot.contains(box) && dark(box.left(), c.y()) && dark(box.right(), c.y()) &&
                            dark(c.x(), box.top()) && dark(c.x(), box.bottom()))
                    << where.toStdString() << " " << i << " at " << box.x() << " in " << plot.left() << ".." << plot.right();
            }
        }
        EXPECT_EQ(static_cast<int>(boxes.size()), inView) << where.toStdString() << ": every number in view";
    };
    const QStringList projects = QDir(folder.filePath("src")).entryList({QStringLiteral("*.prj")});
    ASSERT_GE(projects.size(), 10);
    for (const QString& project : projects)
        for (const bool logarithmic : {true, false}) {
            const QString where = project + (logarithmic ? " log " : " lin ");
            w->openProject(folder.filePath("src/" + project));
            if (Control<QCheckBox>(*w, "CheckBox2").isChecked() != logarithmic)
                Control<QCheckBox>(*w, "CheckBox2").click();
            chart.RepaintNow();
            expectApart(where + "window");
            expectNumbersWhole(chart.WindowImage(), where + Layout());
            const gdi::Metafile report = chart.CreateChartMetafile(true, chart.GetRectangle());
            expectApart(where + "report and WMF");
            QImage played(report.Width, report.Height, QImage::Format_RGB32);
            QPainter painter(&played);
            gdi::PlayMetafile(report, painter, played.rect());
            painter.end();
            expectNumbersWhole(played, where + "report " + Layout());
            ASSERT_TRUE(SaveChartJpeg(chart, folder.path(), nullptr));
            expectApart(where + "mail picture");
        }
    for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()})
        axis->OnDrawLabel = nullptr;
}

INSTANTIATE_TEST_SUITE_P(StartAndSmallScreen, WindowFit, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "small" : "start"; });
