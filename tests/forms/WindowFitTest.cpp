// The main window at its start size (1340 x 706), headless: the coverage view's controls stand
// apart with every settings row in sight, the generator view's floating boxes open side by side
// on the screen, and the status panels show their texts whole.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "forms/Forms.h"
#include "forms/MainWindow.h"
#include "forms/Program.h"
#include "instrument/InstrumentState.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

struct WindowFit : ::testing::Test {
    QTemporaryDir folder;
    const QString oldCurrent = QDir::currentPath();
    AppContext app;
    std::unique_ptr<Program> program;
    QWidget* w = nullptr;

    WindowFit()
    {
        for (const char* sub : {"zips", "src", "rep"})
            QDir(folder.path()).mkpath(sub);
        program = std::make_unique<Program>(app, QStringList(), folder.path());
        program->Services().ShowMessage = [](const QString&) {};
        program->Services().VersionIndex = [] { return 9; };
        program->CreateForms();
        w = program->Windows().mainWindow;
        w->show();
        QCoreApplication::processEvents();
    }
    ~WindowFit() override { QDir::setCurrent(oldCurrent); }

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

// Every visible control below the parent lies inside it, whole, and covers none of its siblings.
void CollectLayoutFaults(const QWidget* parent, QStringList& faults)
{
    QList<const QWidget*> shown;
    for (const QObject* o : parent->children()) {
        const auto* child = qobject_cast<const QWidget*>(o);
        if (!child || child->isWindow() || !child->isVisible())
            continue;
        if (!parent->rect().contains(child->geometry()))
            faults << Describe(child) + QStringLiteral(" cut by ") + Describe(parent);
        for (const QWidget* other : shown)
            if (child->geometry().intersects(other->geometry()))
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
}

TEST_F(WindowFit, StatusPanelsAreAsWideAsTheirTexts)
{
    InstrumentState& instrument = program->Instrument();
    instrument.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("TCPIP0::192.168.100.200::INSTR"));
    instrument.Status.SetText(InstrumentStatus::kModelPanel, QStringLiteral("Siglent SSA-3032X Plus"));
    InstrumentSettingsEcho& echo = instrument.Device.Echo;
    echo.StartText = QStringLiteral("150000");
    echo.StopText = QStringLiteral("30000000");
    echo.RbwText = QStringLiteral("9000");
    echo.DetectorText = QStringLiteral("QPEAK");
    echo.SweepText = QStringLiteral("0.0350");
    echo.PreAmpText = QStringLiteral("OFF");
    QMetaObject::invokeMethod(&Control<QTimer>(*w, "Timer1"), "timeout", Qt::DirectConnection);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(1340, 706));
    for (int i = 0; i < 8; ++i) {
        auto* panel = &Control<QLabel>(*w, QStringLiteral("StatusPanel%1").arg(i));
        EXPECT_GE(panel->contentsRect().width(), w->fontMetrics().horizontalAdvance(panel->text()))
            << i << " " << panel->text().toStdString();
    }
}
