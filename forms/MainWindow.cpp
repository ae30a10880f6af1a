// The main window's construction: the panels in their places, each concern's wiring, the start-up
// in the order it has always run, and the shell's own commands (debug mode, log window, settings
// file).
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "app/HostId.h"
#include "app/TextRoutines.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/MainChartControl.h"
#include "forms/ConnectionWindow.h"
#include "forms/CoverageFrame.h"
#include "forms/CsvExportWindow.h"
#include "forms/FormDialogs.h"
#include "forms/FormServices.h"
#include "forms/Forms.h"
#include "forms/ImmunityFrame.h"
#include "forms/InstrumentPanel.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "forms/MainMenus.h"
#include "forms/MainWindowRun.h"
#include "forms/MarkerPages.h"
#include "forms/MessagesPanel.h"
#include "forms/PeaksPanel.h"
#include "forms/ReportHeaderWindow.h"
#include "forms/ReportPanel.h"
#include "forms/SegmentsPanel.h"
#include "forms/StatusBarPanels.h"
#include "forms/SweepPanel.h"
#include "forms/TableEditorWindow.h"
#include "forms/TraceBar.h"
#include "forms/ViewPanel.h"
#include "immunity/GeneratorSettings.h"
#include "instrument/InstrumentState.h"
#include "instrument/PanelCommands.h"
#include "instrument/ScpiContext.h"
#include "mainwindow/MainWindowState.h"
#include "measurement/ScpiGridInstrument.h"
#include "reports/ReportHeader.h"
#include "reports/ReportPrinter.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

MainWindow::MainWindow(AppContext& app, InstrumentState& instrument, MainWindowState& state, Forms& forms,
                       FormServices& services, const QStringList& arguments, const QString& programFolder)
    : QMainWindow(), app_(app), instrument_(instrument), state_(state), forms_(forms), services_(services),
      arguments_(arguments), programFolder_(programFolder), scpi_(app, instrument)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(QIcon(QStringLiteral(":/forms/Logo.png")));
    forms_.mainWindow = this;
    // The views laid over the window keep the working folder from their creation on.
    app_.WorkingFolder = ChooseWorkingFolder(programFolder_);

    dialogs_ = std::make_unique<FormDialogs>(services_);
    parameterModel_ = std::make_unique<ParameterGridModel>(MainParameterRows());
    parameterModel_->setObjectName(QStringLiteral("ValueListEditor1"));
    coverageValues_ = std::make_unique<ParameterGridModel>(CoverageParameterRows());
    generatorGridValues_ = std::make_unique<ParameterGridModel>(GeneratorSettingsRows());
    generatorSettings_ = std::make_unique<GeneratorSettings>();

    LayOutWindow();
    menus_ = new MainMenus(*menuBar(), this);
    // Our own dialog rather than the desktop's: only ours tells of each change of folder.
    folderDialog = new QFileDialog(this);
    folderDialog->setObjectName(QStringLiteral("OpenDialog3"));
    folderDialog->setOption(QFileDialog::DontUseNativeDialog);
    folderDialog->setFileMode(QFileDialog::Directory);
    statusPanels_ = new StatusBarPanels(*statusBar(), this);
    connect(&instrument_.Status, &InstrumentStatus::TextChanged, statusPanels_, &StatusBarPanels::setText);
    BuildProjectTargets();
    ShowPeakLists(sets_[MeasureSet::Set1].ownPeaks, sets_[MeasureSet::Set2].ownPeaks);

    WireMessages();
    WireChart();
    WireView();
    WireSweep();
    WireInstrument();
    WireMarkers();
    WireReport();
    WireProject();
    WireGenerator();
    WireCoverage();
    WireMenus();
    WireRun();

    StartUp();
}

MainWindow::~MainWindow()
{
    // A teardown without a close switches the generator off while every panel still exists; from
    // then on the views report to nobody, for the panels go before them.
    immunityFrame_->shutDownGenerator();
    // The instrument state outlives the window: nobody answers for it any more.
    instrument_.Hold.Holder = nullptr;
    disconnect(immunityFrame_, nullptr, this, nullptr);
    disconnect(coverageFrame_, nullptr, this, nullptr);
    // The views refer to the models; they go first.
    forms_.mainWindow = nullptr;
    delete takeCentralWidget();
    chartControl_->endPaint();
}

// Chart in the middle, the grid and run controls on the left, peaks and segments on the right,
// the view and marker controls under the chart, the message log along the bottom. The panels lie
// in a scroll area, so that the small-screen layout shows a part of them; the coverage and
// generator views lie over its visible part.
void MainWindow::LayOutWindow()
{
    clientArea_ = new QScrollArea(this);
    clientArea_->setObjectName(QStringLiteral("clientArea"));
    clientArea_->setWidgetResizable(true);
    clientArea_->setFrameShape(QFrame::NoFrame);
    auto* central = new QWidget;
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 2);
    outer->setSpacing(4);

    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    sweepPanel_ = new SweepPanel(*parameterModel_, central);
    sweepPanel_->setFixedWidth(262);
    top->addWidget(sweepPanel_);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(2);
    chartControl_ = std::make_unique<MainChartControl>(app_, instrument_, state_, central);
    middle->addWidget(&chartControl_->widget(), 1);
    traceBar_ = new TraceBar(central);
    middle->addWidget(traceBar_);
    auto* underChart = new QHBoxLayout;
    viewPanel_ = new ViewPanel(state_.Colors, central);
    underChart->addWidget(viewPanel_);
    markerPages_ = new MarkerPages(central);
    underChart->addWidget(markerPages_, 1);
    middle->addLayout(underChart);
    top->addLayout(middle, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    peaksPanel_ = new PeaksPanel(central);
    right->addWidget(peaksPanel_, 1);
    segmentsPanel_ = new SegmentsPanel(
        {&sets_[MeasureSet::Set1].segmentChecks, &sets_[MeasureSet::Set2].segmentChecks}, central);
    right->addWidget(segmentsPanel_);
    instrumentPanel_ = new InstrumentPanel(central);
    right->addWidget(instrumentPanel_);
    reportPanel_ = new ReportPanel(central);
    right->addWidget(reportPanel_);
    auto* rightBox = new QWidget(central);
    rightBox->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);
    rightBox->setFixedWidth(236);
    top->addWidget(rightBox);
    outer->addLayout(top, 1);

    messagesPanel_ = new MessagesPanel(app_.Messages, central);
    outer->addWidget(messagesPanel_);
    clientArea_->setWidget(central);
    setCentralWidget(clientArea_);
    BuildFrames(clientArea_->viewport());
    clientArea_->viewport()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && clientArea_ && watched == clientArea_->viewport())
        PlaceFrames();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::WireMessages()
{
    connect(messagesPanel_, &MessagesPanel::showLogClicked, this, &MainWindow::ShowLogger);
    connect(messagesPanel_, &MessagesPanel::createIniFileClicked, this, &MainWindow::CreateSettingsFile);
    connect(messagesPanel_, &MessagesPanel::debugClicked, this, &MainWindow::SwitchDebugMode);
}

void MainWindow::wireLaterWindows(ReportHeaderItems& reportHeader)
{
    if (ConnectionWindow* connection = forms_.connectionWindow) {
        connect(connection, &ConnectionWindow::connected, this, &MainWindow::ApplyFamilyControls);
        connect(connection, &ConnectionWindow::gpsRead, coverageFrame_, &CoverageFrame::showGpsReceiver);
        connection->generatorOnLine = [this] { return immunityFrame_->generatorOnLine(); };
    }
    if (TableEditorWindow* editor = forms_.tableEditorWindow) {
        TableEditorWindow::MainChartLink link;
        link.preview = chart().Series(SeriesRole::tablePreview);
        link.previewColor = state_.Colors[TraceColor::tablePreview];
        link.frequencyAxis = &chartControl_->frequencyAxis();
        link.levelAxis = &chartControl_->levelAxis();
        link.showPreviewOnly = [this] { ShowTablePreviewOnly(true); };
        link.restoreSeriesVisibility = [this] { RestoreMainSeriesVisibility(); };
        link.refreshFileLists = [this] { refreshFileLists(); };
        editor->setMainChart(std::move(link));
    }
    if (ReportHeaderWindow* header = forms_.reportHeaderWindow)
        header->refreshFileLists = [this] { refreshFileLists(); };
    targets_.LoadReportHeader = [this, &reportHeader](const QString& path) {
        LoadReportFile(reportHeader, path, QLatin1Char('n'), targets_.Files);
    };
    if (CsvExportWindow* csv = forms_.csvExportWindow)
        csv->setChartSeries(chart().ByRole());
    WireLaterMarkers();
    WireLaterReports(reportHeader);
}

MainChart& MainWindow::chart()
{
    return chartControl_->chart();
}

void MainWindow::StartUp()
{
    // The host identifier.
    app_.HostId = ComputeHostId();

    // The view state: the "Marker" page in front, every view box checked but "Cor", the level
    // unit dBuV, the labels of the traces.
    markerPages_->startUp();
    viewPanel_->startUp();
    traceBar_->startUp();
    // Run buttons idle, set 1 chosen, both segment lists holding only "all", the first one shown.
    sweepPanel_->startUp();
    for (MeasurementSet& set : sets_) {
        set.segmentChecks.Clear();
        set.segmentChecks.AddRow(QStringLiteral("all"), false);
    }
    segmentsPanel_->startUp();
    instrumentPanel_->startUp();
    chartFileView_.CompensationLoaded = false;
    reportPanel_->startUp();
    menus_->startUp();

    // The coverage and generator views over the client area.
    SetUpCoverageFrame();
    SetUpImmunityFrame();

    // An unsupported system is refused, but start-up runs to its end and the remaining windows
    // are still created; the program ends when the message loop takes the request.
    const int32_t version = services_.versionIndex ? services_.versionIndex() : GetWindowsVersionIndex();
    if (version <= 6) {
        if (services_.showMessage)
            services_.showMessage(QStringLiteral("Operating System not supported "));
        if (services_.requestTerminate)
            services_.requestTerminate();
    }

    // Window size: the small-screen layout only for exactly "s".
    if (!arguments_.isEmpty() && arguments_.first() == QLatin1String("s")) {
        app_.SmallScreen = true;
        resize(800, 480);
    } else {
        setMinimumSize(1340, 706);
    }

    // The device's wait margin; the program's own logo.
    instrument_.Device.SweepWaitMarginMs = 3000;
    // The preamplifier as each segment's row says, so that a plan measures as it is written
    // also while the choice is hidden (without "PreAmpBox" in the settings file).
    ApplyPreAmpChoice(*scpi_, PreAmpChoice::PerSegment);
    messagesPanel_->showLogo();

    // Lists, grids, the chart, the run buttons.
    peaksPanel_->startUp();
    chartControl_->startUp(*parameterModel_, viewPanel_->logAxis(), viewPanel_->shows(SeriesRole::cableCorrection));
    sweepPanel_->clearReadouts();
    ApplyDebugMode(forms_, app_);
    setWindowTitle(QStringLiteral("Zendrik"));
    statusPanels_->setText(InstrumentStatus::kConnectionPanel, QString());

    // The working folder and the file pick lists of the parameter grid.
    QDir::setCurrent(app_.WorkingFolder);
    refreshFileLists();

    // The colour table; the colour window, created later, replaces most of it.
    state_.Colors = StartupColors();

    // The segment marks of the chosen set.
    ApplySegmentMarks();

    // The advanced settings.
    ReadAdvancedSettings(QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kAdvancedSettingsFile)),
                         app_.Settings, app_.Messages);
    ApplyAdvancedSettings();
}

void MainWindow::ApplyAdvancedSettings()
{
    instrumentPanel_->applyAdvancedSettings(app_.Settings.OptPreAmpBox, app_.Settings.OptVbwBox);
    immunityFrame_->setFieldValueShown(app_.Settings.OptTgFieldValue);
}

void MainWindow::ShowLogger()
{
    if (forms_.loggerWindow)
        forms_.loggerWindow->show();
    app_.Debug.LogMessage(QStringLiteral("IEEE-INVERT: ") + QString::number(app_.Settings.OptInvertIeee));
}

void MainWindow::CreateSettingsFile()
{
    WriteAdvancedSettings(QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kAdvancedSettingsFile)),
                          app_.Settings, app_.Messages);
}

void MainWindow::SwitchDebugMode(bool on)
{
    app_.Debug.DebugMode = on;
    ApplyDebugMode(forms_, app_);
}

// The coverage view keeps to its mode: shown over the EMC view it would hide it, and hidden in
// its own mode it would leave the operator without it.
void MainWindow::showDebugControls(bool shown)
{
    for (SeriesRole role : {SeriesRole::smoothing1, SeriesRole::smoothing2, SeriesRole::temCellCorrection,
                            SeriesRole::generatorAmpCorrection})
        chart().Series(role)->SetActive(shown);
    messagesPanel_->showDebugControls(shown);
    instrumentPanel_->showDebugControls(shown);
    peaksPanel_->showDebugControls(shown);
    viewPanel_->showDebugControls(shown);
}

void MainWindow::setStatusText(StatusBarPanel panel, const QString& text)
{
    statusPanels_->setText(panel, text);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The window manager adds its frame after the first show; only then is its size known.
    if (app_.SmallScreen && !smallWindowFitted_) {
        smallWindowFitted_ = true;
        QTimer::singleShot(100, this, &MainWindow::FitSmallWindowToScreen);
    }
}

void MainWindow::FitSmallWindowToScreen()
{
    const QScreen* shown = screen();
    if (!shown || isMaximized() || isFullScreen())
        return;
    const QRect available = shown->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    const QSize fitting = QSize(800, 480).boundedTo(available.size() - frame);
    resize(fitting);
    const QRect outer(frameGeometry().topLeft(), fitting + frame);
    if (!available.contains(outer))
        move(std::max(available.left(), std::min(outer.left(), available.right() + 1 - outer.width())),
             std::max(available.top(), std::min(outer.top(), available.bottom() + 1 - outer.height())));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    // A run is stopped first; the window closes once its loop has returned.
    if (RunActive() && !Run().RequestClose()) {
        event->ignore();
        return;
    }
    // So is a command of a window that waits for the analyser ("Init SA", a grid row): its waits
    // end at once, and the close comes again once it has returned.
    constexpr int kCloseRetryMs = 50;
    if (instrument_.Visa.CommandUnderWay) {
        instrument_.Visa.CommandStopRequested = true;
        event->ignore();
        QTimer::singleShot(kCloseRetryMs, this, &QWidget::close);
        return;
    }
    // What radiates stops while the instrument session is still open: a generator call under way
    // is waited for first (up to the analyser's time-out), then the generator is switched off.
    if (!immunityFrame_->shutDownGenerator()) {
        event->ignore();
        QTimer::singleShot(kCloseRetryMs, this, &QWidget::close);
        return;
    }
    // An output left on (the operator kept it on with "Tg off" set to off) or perhaps on (the link
    // went before its stop reached the analyser) radiates after the program: the last thing it
    // says, in a box, while the window is still there. A line in the log of a window that is
    // going would not be read.
    if (const QString on = immunityFrame_->generatorOnLine(); !on.isEmpty() && services_.showMessage)
        services_.showMessage(on);
    statusPanels_->stop();
    coverageFrame_->windowClosing();
    Run().RequestClose();
    emit closed();
}
