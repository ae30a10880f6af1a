#include "app/AppContext.h"
#include "chart/engine/ChartTools.h"
#include "chart/series/Chart.h"
#include "chart/tools/PlotExport.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/AboutWindow.h"
#include "forms/Application.h"
#include "forms/ColorSettingsWindow.h"
#include "forms/ConnectionWindow.h"
#include "forms/CoverageFrame.h"
#include "forms/CsvExportWindow.h"
#include "forms/FunctionMatrixWindow.h"
#include "forms/LibraryStartup.h"
#include "forms/ImmunityFrame.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/Program.h"
#include "forms/TableEditorWindow.h"
#include "instrument/InstrumentState.h"
#include "mainwindow/MainWindowState.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using testsupport::Control;

namespace {

struct ProgramFixture : ::testing::Test {
    QTemporaryDir folder;
    AppContext app;
    QStringList shown;
    QString oldCurrent = QDir::currentPath();

    // Most tests run in a folder that has seen its first run already.
    std::unique_ptr<Program> Make(int32_t versionIndex, const QStringList& args = {}, bool firstRun = false)
    {
        if (!firstRun) {
            QDir(folder.path()).mkpath(QStringLiteral("zips"));
            QDir(folder.path()).mkpath(QStringLiteral("src"));
        }
        auto program = std::make_unique<Program>(app, args, folder.path());
        program->Services().showMessage = [this](const QString& t) { shown << t; };
        program->Services().showError = [this](const QString& t) { shown << t; };
        program->Services().versionIndex = [versionIndex] { return versionIndex; };
        return program;
    }

    // Runs the loop with a watchdog, so a loop that fails to end fails the test instead of hanging.
    bool RunEnds(Program& program, int& code)
    {
        bool watchdogFired = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            watchdogFired = true;
            QCoreApplication::quit();
        });
        watchdog.start(5000);
        code = program.Run();
        return !watchdogFired;
    }

    ~ProgramFixture() override { QDir::setCurrent(oldCurrent); }
};

} // namespace

TEST_F(ProgramFixture, CreatesTheTwelveWindowsInOrderWithTheirCaptions)
{
    auto program = Make(9);
    program->CreateForms();
    QStringList captions;
    for (QWidget* w : program->CreationOrder())
        captions << w->windowTitle();
    EXPECT_EQ(captions, (QStringList{"Zendrik", "Logger", "Edit Lim", "Connect VISA USB", "About", "Report",
                                     "Set Colors", "Save as CSV File", "Connect TCP", "WhatsNew", "Function Matrix",
                                     "Setup mail"}));
    EXPECT_TRUE(qobject_cast<QMainWindow*>(program->CreationOrder().front()) != nullptr);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(program->TerminateRequested());
    // The working folder is the program folder, and the table editor made its data folders.
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(folder.path()).canonicalPath());
    EXPECT_TRUE(QDir(folder.filePath(QStringLiteral("out"))).exists());
    EXPECT_TRUE(QDir(folder.filePath(QStringLiteral("rep"))).exists());
    EXPECT_TRUE(app.HostId.startsWith(QStringLiteral("HID")));
    // The colour window, created after the main window, gave it the colours of a missing file,
    // the editor preview's included, which the start-up leaves unset.
    EXPECT_EQ(program->MainState().Colors[TraceColor::tablePreview], clRed);
    Control<QAction>(*program->Windows().mainWindow, "EditColors1").trigger();
    EXPECT_TRUE(program->Windows().colorSettingsWindow->isVisible());
    program->Windows().colorSettingsWindow->close();
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("emc_color.ini"))));
}

TEST_F(ProgramFixture, LoopEndsWhenTheMainWindowClosesEvenWithOtherWindowsOpen)
{
    auto program = Make(9);
    program->CreateForms();
    program->Windows().aboutWindow->show();
    QTimer::singleShot(50, program->Windows().mainWindow, [&] { program->Windows().mainWindow->close(); });
    int code = -1;
    EXPECT_TRUE(RunEnds(*program, code));
    EXPECT_EQ(code, 0);
    program->Windows().aboutWindow->hide();
}

TEST_F(ProgramFixture, UnsupportedSystemEndsTheProgramOnceTheLoopStarts)
{
    auto program = Make(6);
    program->CreateForms();
    EXPECT_EQ(shown, QStringList{QStringLiteral("Operating System not supported ")});
    // Every window is still created, the mail setup last, and events handled before the loop do
    // not lose the request.
    EXPECT_EQ(program->CreationOrder().back()->windowTitle(), QStringLiteral("Setup mail"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(program->TerminateRequested());
    int code = -1;
    EXPECT_TRUE(RunEnds(*program, code));
    program->Windows().mainWindow->hide();
}

TEST_F(ProgramFixture, FirstRunUnpacksTheDefaultDataAndEndsOnce)
{
    auto first = Make(9, {}, true);
    first->CreateForms();
    EXPECT_TRUE(first->TerminateRequested());
    EXPECT_TRUE(app.Messages.Lines().contains(QStringLiteral("Info: Service restart required ")));
    EXPECT_FALSE(QDir(folder.filePath(QStringLiteral("src"))).entryList({QStringLiteral("*.lim")}).isEmpty());
    int code = -1;
    EXPECT_TRUE(RunEnds(*first, code));
    first->Windows().mainWindow->hide();
    first.reset();

    // The second start finds its data and runs on.
    AppContext again;
    Program second(again, {}, folder.path());
    second.Services().versionIndex = [] { return 9; };
    second.Services().showMessage = [](const QString&) {};
    second.Services().showError = [](const QString&) {};
    second.CreateForms();
    EXPECT_FALSE(second.TerminateRequested());
    EXPECT_FALSE(again.Messages.Lines().contains(QStringLiteral("Info: Service restart required ")));
}

TEST_F(ProgramFixture, SmallScreenSwitchIsExact)
{
    auto small = Make(9, {QStringLiteral("s")});
    small->CreateForms();
    EXPECT_TRUE(app.SmallScreen);
    EXPECT_EQ(small->Windows().mainWindow->size(), QSize(800, 480));

    AppContext other;
    Program big(other, {QStringLiteral("S")}, folder.path());
    big.Services().showMessage = [](const QString&) {};
    big.Services().showError = [](const QString&) {};
    big.Services().versionIndex = [] { return 9; };
    big.CreateForms();
    EXPECT_FALSE(other.SmallScreen);
    EXPECT_EQ(big.Windows().mainWindow->minimumSize(), QSize(1340, 706));
}

TEST_F(ProgramFixture, DebugModeShowsTheDebugPartsOfEveryWindow)
{
    auto program = Make(9);
    program->CreateForms();
    Forms& f = program->Windows();
    EXPECT_FALSE(Control<QPushButton>(*f.mainWindow, "Button19").isVisibleTo(f.mainWindow));
    EXPECT_FALSE(Control<QPushButton>(*f.connectionWindow, "Button6").isVisibleTo(f.connectionWindow));
    EXPECT_FALSE(Control<QCheckBox>(*f.csvExportWindow, "CheckBox11").isVisibleTo(f.csvExportWindow));
    Control<QCheckBox>(*f.mainWindow, "CheckBox1").click();
    EXPECT_EQ(app.Debug.DebugMode, 1);
    EXPECT_TRUE(Control<QPushButton>(*f.mainWindow, "Button19").isVisibleTo(f.mainWindow));
    EXPECT_TRUE(Control<QPushButton>(*f.connectionWindow, "Button6").isVisibleTo(f.connectionWindow));
    EXPECT_TRUE(Control<QCheckBox>(*f.tableEditorWindow, "CheckBox4").isVisibleTo(f.tableEditorWindow));
    EXPECT_TRUE(Control<QCheckBox>(*f.csvExportWindow, "CheckBox11").isVisibleTo(f.csvExportWindow));
    EXPECT_TRUE(f.loggerWindow->isVisible());

    app.Debug.TimeText = [] { return QStringLiteral("10:00:00"); };
    Control<QPushButton>(*f.mainWindow, "Button1").click();
    ASSERT_FALSE(app.Debug.Lines().isEmpty());
    EXPECT_EQ(app.Debug.Lines().last(), QStringLiteral("10:00:00: IEEE-INVERT: -1"));

    Control<QPushButton>(*f.loggerWindow, "Button5").click();
    EXPECT_TRUE(app.Debug.Lines().isEmpty());
    Control<QCheckBox>(*f.mainWindow, "CheckBox1").click();
    EXPECT_FALSE(f.loggerWindow->isVisible());
}

TEST_F(ProgramFixture, DeviceMenuOpensTheConnectionWindowAndStatusShowsInstrumentTexts)
{
    auto program = Make(9);
    program->CreateForms();
    Forms& f = program->Windows();
    // The table editor's creation offers the receiver and the views' menu.
    EXPECT_TRUE(Control<QAction>(*f.mainWindow, "GPS1").isVisible());
    EXPECT_TRUE(Control<QAction>(*f.mainWindow, "GPS1").isEnabled());
    EXPECT_TRUE(Control<QMenu>(*f.mainWindow, "modeMenu").menuAction()->isVisible());
    EXPECT_FALSE(Control<QAction>(*f.mainWindow, "SASER1").isVisible());

    Control<QAction>(*f.mainWindow, "CP1").trigger();
    EXPECT_TRUE(f.connectionWindow->isVisible());
    EXPECT_TRUE(f.connectionWindow->windowTitle().startsWith(QStringLiteral("Connect Visa TCP  ")))
        << f.connectionWindow->windowTitle().toStdString();
    f.connectionWindow->hide();
    Control<QAction>(*f.mainWindow, "Visa1").trigger();
    EXPECT_EQ(f.connectionWindow->windowTitle(), QStringLiteral("Connect Visa USB"));
    f.connectionWindow->hide();

    program->Instrument().Status.SetText(StatusBarPanel::Model, QStringLiteral("Rigol DSA815"));
    EXPECT_EQ(testsupport::StatusPanelControl<QLabel>(*f.mainWindow, StatusBarPanel::Model).text(),
              QStringLiteral("Rigol DSA815"));
}

// A frame is a naming scope of its own, as each window is: its controls' names may repeat those of
// the window it lies on.
bool IsNamingScope(const QObject* o)
{
    static const QRegularExpression frame(QStringLiteral("^Frame[0-9]+$"));
    const auto* w = qobject_cast<const QWidget*>(o);
    return w && (w->isWindow() || frame.match(w->objectName()).hasMatch());
}

// The designer names lead from the documentation to the controls: each names one control of its
// window or frame.
TEST_F(ProgramFixture, ControlsAreFoundByTheirDesignerNames)
{
    auto program = Make(9);
    program->CreateForms();
    QList<QWidget*> scopes(program->CreationOrder().begin(), program->CreationOrder().end());
    scopes << &Control<CoverageFrame>(*program->Windows().mainWindow, "Frame141")
           << &Control<ImmunityFrame>(*program->Windows().mainWindow, "Frame131");
    for (QWidget* scope : scopes) {
        QStringList names;
        for (QObject* child : scope->findChildren<QObject*>()) {
            if (child->objectName().isEmpty() || child->objectName().startsWith(QLatin1String("qt_")))
                continue;
            QObject* owner = child->parent();
            while (owner != scope && !IsNamingScope(owner))
                owner = owner->parent();
            if (owner == scope)
                names << child->objectName();
        }
        QStringList twice = names;
        for (const QString& name : QSet<QString>(names.begin(), names.end()))
            twice.removeOne(name);
        EXPECT_TRUE(twice.isEmpty()) << scope->objectName().toStdString() << ": " << twice.join(' ').toStdString();
    }
    Forms& f = program->Windows();
    EXPECT_EQ(Control<QCheckBox>(*f.mainWindow, "CheckBox1").text(), "Debug");
    EXPECT_EQ(Control<QPushButton>(*f.connectionWindow, "BitBtn4").text(), "Connect Visa");
    EXPECT_EQ(Control<QLineEdit>(*f.connectionWindow, "Edit1").toolTip(), "DSA IP");
    EXPECT_EQ(Control<QPushButton>(*f.loggerWindow, "Button5").text(), "clr Log");
    EXPECT_EQ(Control<QPushButton>(*f.loggerWindow, "Button11").text(), "R&&S SPEC Mode");
}

TEST(ApplicationNames, WindowTitlesStayTheCaptionsAlone)
{
    const QString oldName = QCoreApplication::applicationName();
    SetApplicationNames();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Zendrik"));
    // A display name of its own would be appended to every title; without one it follows the name.
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    QCoreApplication::setApplicationName(oldName);
}

TEST(FunctionMatrix, PictureIsShownWholeAndProportional)
{
    AppContext app;
    FunctionMatrixWindow form(app);
    ASSERT_FALSE(form.picture().isNull());
    const QSize pic(400, 200);
    EXPECT_EQ(FunctionMatrixWindow::pictureRect(pic, QSize(800, 800)), QRect(0, 200, 800, 400));
    EXPECT_EQ(FunctionMatrixWindow::pictureRect(pic, QSize(100, 300)), QRect(0, 125, 100, 50));
    EXPECT_TRUE(FunctionMatrixWindow::pictureRect(pic, QSize(0, 300)).isNull());
}

// The program entry starts every unit of the chart library before its windows and stops them in
// the reverse order after them; a unit another user still holds keeps what it registered. The
// gallery, last, gives the standard series types and the chart core's add and change hooks.
TEST(LibraryStartup, UnitsRunForTheLifeOfTheProgram)
{
    ChartLibraryUnits units;
    // What a stored chart and a picture file get of the library: a tool made by its class name, a
    // picture by its file's extension.
    const auto makesTool = [&units](const QString& name) {
        return units.library.Chart.Classes.CreateAs<TPlotCustomTool>(name) != nullptr;
    };
    {
        LibraryStartup program(units);
        EXPECT_TRUE(makesTool(QStringLiteral("TCursorTool")));
        EXPECT_TRUE(GraphicForExtension(units.exportFormats, QStringLiteral(".bmp")) != nullptr);
        EXPECT_TRUE(IsEditorClassRegistered(units.editors, "TPlotShadowEditor"));
        EXPECT_TRUE(units.editors.Dialogs.Filters != nullptr);
        EXPECT_EQ(units.editors.Dialogs.Library, &units.panel);
        EXPECT_FALSE(units.library.Texts.Texts[0].isEmpty());
        EXPECT_EQ(units.library.Engine.StartCount, 1);
        {
            LibraryStartup other(units);
        }
        EXPECT_TRUE(makesTool(QStringLiteral("TFullScreenTool")));
        EXPECT_TRUE(IsEditorClassRegistered(units.editors, "TPlotShadowEditor"));
        const ChartUnitState& chart = units.library.Chart;
        EXPECT_TRUE(chart.Classes.CreateAs<TChartSeries>(QStringLiteral("TPieSeries")) && chart.AddSeriesHook
                    && chart.ChangeSeriesTypeHook);
    }
    EXPECT_FALSE(units.library.Chart.AddSeriesHook || units.library.Chart.ChangeSeriesTypeHook);
    EXPECT_FALSE(makesTool(QStringLiteral("TCursorTool")));
    EXPECT_TRUE(units.exportFormats.Classes.empty());
    EXPECT_FALSE(IsEditorClassRegistered(units.editors, "TPlotShadowEditor"));
    EXPECT_TRUE(units.library.Texts.Texts[0].isEmpty());
    EXPECT_EQ(units.library.Chart.StartCount, 0);
    EXPECT_EQ(units.tools.StartCount, 0);
}

// A fault in a callback of the main chart stops at the chart and, through the hook the program
// entry gives the library, lands in the debug log while "Debug" is checked.
TEST_F(ProgramFixture, MainChartCallbackFaultsLandInTheDebugLog)
{
    ChartLibraryUnits units;
    LibraryStartup library(units, ChartErrorsToDebugLog(app.Debug));
    auto program = Make(9);
    program->CreateForms();
    MainWindow& w = *program->Windows().mainWindow;
    TChart& chart = *w.chart().chart;
    const auto readout = chart.OnMouseMove;
    chart.OnMouseMove = [readout](TShiftState shift, int32_t x, int32_t y) {
        readout(shift, x, y);
        throw std::runtime_error("readout failed");
    };
    const auto move = [&chart] {
        const QPointF at(300, 200);
        QMouseEvent event(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&chart, &event);
    };
    app.Debug.TimeText = [] { return QStringLiteral("10:00:00"); };
    move();
    EXPECT_TRUE(app.Debug.Lines().isEmpty());
    w.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->click();
    move();
    ASSERT_FALSE(app.Debug.Lines().isEmpty());
    EXPECT_EQ(app.Debug.Lines().last(),
              QStringLiteral("10:00:00: Chart error in TCustomPlotPanel::mouseMoveEvent: readout failed"));
}

// "--project NAME" is taken out of the arguments, so the small-screen switch stays exact.
TEST(ProgramArguments, ProjectIsTakenOutOfTheArguments)
{
    QStringList args{"s", "--project", "demo.prj"};
    EXPECT_EQ(TakeProjectArgument(args), "demo.prj");
    EXPECT_EQ(args, QStringList{"s"});
    QStringList dangling{"--project"};
    EXPECT_EQ(TakeProjectArgument(dangling), "");
    EXPECT_EQ(dangling, QStringList{"--project"});
}
