// The main window's construction, its start-up in the order it has always run, the layout of the
// panels and the shell's own controls (debug mode, log window, settings file).
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "app/HostId.h"
#include "app/TextRoutines.h"
#include "chart/series/Chart.h"
#include "chart/series/LibraryTexts.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/MagnifyTool.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/ConnectionWindow.h"
#include "forms/CoverageFrame.h"
#include "forms/CsvExportWindow.h"
#include "forms/FormDialogs.h"
#include "forms/FormServices.h"
#include "forms/Forms.h"
#include "forms/ImmunityFrame.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "forms/MainWindowRun.h"
#include "forms/ReportHeaderWindow.h"
#include "forms/StatusPanel.h"
#include "forms/TableEditorWindow.h"
#include "immunity/GeneratorSettings.h"
#include "instrument/InstrumentState.h"
#include "instrument/PanelCommands.h"
#include "instrument/ScpiContext.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/MarkStamps.h"
#include "mainwindow/StatusLine.h"
#include "measurement/PeakLists.h"
#include "measurement/ScpiGridInstrument.h"
#include "platform/system/EventPump.h"
#include "reports/ReportHeader.h"
#include "reports/ReportPrinter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

MainWindow::MainWindow(AppContext& app, InstrumentState& instrument, MainWindowState& state, Forms& forms,
                       FormServices& services, const QStringList& arguments, const QString& programFolder)
    : QMainWindow(), app_(app), instrument_(instrument), state_(state), forms_(forms), services_(services),
      arguments_(arguments), programFolder_(programFolder)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(QIcon(QStringLiteral(":/forms/Logo.png")));
    forms_.mainWindow = this;
    // The views laid over the window keep the working folder from their creation on.
    app_.WorkingFolder = ChooseWorkingFolder(programFolder_);

    EventPump* pump = app_.Pump;
    if (!pump) {
        ownPump_ = std::make_unique<QtEventPump>();
        pump = ownPump_.get();
    }
    scpi_ = std::make_unique<ScpiContext>(ScpiContext{instrument_.Visa, instrument_.Device, app_.Settings, app_.Debug,
                                                      app_.Messages, *pump, instrument_.Status});
    dialogs_ = std::make_unique<FormDialogs>(services_);
    parameterModel_ = std::make_unique<ParameterGridModel>(MainParameterRows());
    parameterModel_->setObjectName(QStringLiteral("ValueListEditor1"));
    coverageValues_ = std::make_unique<ParameterGridModel>(CoverageParameterRows());
    generatorGridValues_ = std::make_unique<ParameterGridModel>(GeneratorSettingsRows());
    segmentChecks1_ = std::make_unique<CheckListModel>();
    segmentChecks2_ = std::make_unique<CheckListModel>();
    ownPeaks1_ = std::make_unique<PeakLists>(1);
    ownPeaks2_ = std::make_unique<PeakLists>(2);
    generatorSettings_ = std::make_unique<GeneratorSettings>();

    LayOutWindow();
    BuildMenus();
    BuildStatusBar();
    BuildProjectTargets();
    setPeakLists(*ownPeaks1_, *ownPeaks2_);

    WireMessages();
    WireChart();
    WireView();
    WireSweep();
    WireInstrument();
    WirePeaks();
    WireMarkers();
    WireReport();
    WireProject();
    WireGenerator();
    WireCoverage();
    WireMenus();
    WireRun();

    startUp();
}

MainWindow::~MainWindow()
{
    // The views refer to the models; they go first.
    forms_.mainWindow = nullptr;
    delete takeCentralWidget();
    EndChartPaint();
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
    QWidget* sweep = BuildSweepPanel(central);
    sweep->setFixedWidth(262);
    top->addWidget(sweep);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(2);
    middle->addWidget(BuildChartPanel(central), 1);
    middle->addWidget(BuildTraceBar(central));
    auto* underChart = new QHBoxLayout;
    underChart->addWidget(BuildViewPanel(central));
    underChart->addWidget(BuildMarkersPanel(central), 1);
    middle->addLayout(underChart);
    top->addLayout(middle, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(BuildPeaksPanel(central), 1);
    right->addWidget(BuildSegmentsPanel(central));
    right->addWidget(BuildInstrumentPanel(central));
    right->addWidget(BuildReportPanel(central));
    auto* rightBox = new QWidget(central);
    rightBox->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);
    rightBox->setFixedWidth(236);
    top->addWidget(rightBox);
    outer->addLayout(top, 1);

    outer->addWidget(BuildMessagesPanel(central));
    clientArea_->setWidget(central);
    setCentralWidget(clientArea_);
    BuildFrames(clientArea_->viewport());
    clientArea_->viewport()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && clientArea_ && watched == clientArea_->viewport())
        PlaceFrames();
    // A panel's new text asks the status bar for a new layout.
    if ((event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) && watched == statusBar())
        AllotStatusPanels();
    return QMainWindow::eventFilter(watched, event);
}

QWidget* MainWindow::BuildMessagesPanel(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);

    messagesGroup = new QGroupBox(QStringLiteral("Messages"), box);
    messagesGroup->setObjectName(QStringLiteral("GroupBox3"));
    auto* inner = new QVBoxLayout(messagesGroup);
    inner->setContentsMargins(4, 2, 4, 4);
    messageLog = new QPlainTextEdit(messagesGroup);
    messageLog->setObjectName(QStringLiteral("Memo1"));
    messageLog->setReadOnly(true);
    messageLog->setFixedHeight(72);
    inner->addWidget(messageLog);
    row->addWidget(messagesGroup, 1);

    auto* tools = new QVBoxLayout;
    debugCheckBox = new QCheckBox(QStringLiteral("Debug"), box);
    debugCheckBox->setObjectName(QStringLiteral("CheckBox1"));
    showLogButton = new QPushButton(QStringLiteral("Show Log"), box);
    showLogButton->setObjectName(QStringLiteral("Button1"));
    createIniFileButton = new QPushButton(QStringLiteral("Create ini File"), box);
    createIniFileButton->setObjectName(QStringLiteral("Button19"));
    createIniFileButton->setToolTip(QStringLiteral("Create advanced options inifile"));
    debugLabel = new QLabel(box);
    debugLabel->setObjectName(QStringLiteral("Label2"));
    logo = new QLabel(box);
    logo->setObjectName(QStringLiteral("Image2"));
    logo->setPixmap(QPixmap(QStringLiteral(":/forms/Logo.png")).scaledToHeight(64, Qt::SmoothTransformation));
    tools->addWidget(debugCheckBox);
    tools->addWidget(showLogButton);
    tools->addWidget(createIniFileButton);
    tools->addWidget(debugLabel);
    tools->addStretch();
    row->addLayout(tools);
    row->addWidget(logo, 0, Qt::AlignBottom);
    return box;
}

void MainWindow::WireMessages()
{
    connect(&app_.Messages, &MessageLog::LineAppended, messageLog, &QPlainTextEdit::appendPlainText);
    connect(&app_.Messages, &MessageLog::Cleared, messageLog, &QPlainTextEdit::clear);
    connect(showLogButton, &QPushButton::clicked, this, &MainWindow::showLogger);
    connect(createIniFileButton, &QPushButton::clicked, this, &MainWindow::createSettingsFile);
    connect(debugCheckBox, &QCheckBox::clicked, this, &MainWindow::switchDebugMode);
}

void MainWindow::wireLaterWindows(ReportHeaderItems& reportHeader)
{
    if (ConnectionWindow* connection = forms_.connectionWindow) {
        connect(connection, &ConnectionWindow::Connected, this, &MainWindow::applyFamilyControls);
        connect(connection, &ConnectionWindow::GpsRead, coverageFrame, &CoverageFrame::showGpsReceiver);
    }
    if (TableEditorWindow* editor = forms_.tableEditorWindow) {
        TableEditorWindow::MainChartLink link;
        link.preview = chart_->Series(SeriesRole::tablePreview);
        link.previewColor = state_.Colors[TraceColor::tablePreview];
        link.frequencyAxis = frequencyAxis_.get();
        link.levelAxis = levelAxis_.get();
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
        csv->SetChartSeries(chart_->ByRole());
    WireLaterMarkers();
    WireLaterReports(reportHeader);
}

void MainWindow::BuildStatusBar()
{
    static constexpr int kPanelWidths[] = {70, 50, 350, 110, 400, 140, 90, 50};
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 8; ++i) {
        auto* panel = new StatusPanel(kPanelWidths[i], statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusBar()->addWidget(panel);
        statusPanels.append(panel);
    }
    statusBar()->installEventFilter(this);
    connect(&instrument_.Status, &InstrumentStatus::TextChanged, this, &MainWindow::setStatusText);
    statusTimer = new QTimer(this);
    statusTimer->setObjectName(QStringLiteral("Timer1"));
    statusTimer->setInterval(1000);
}

// Short of room the panels that matter least give way first: the unused one, the version, the
// clock, the memory, the grid's hint, then the long settings echo; the connection and the model
// last.
void MainWindow::AllotStatusPanels()
{
    static const std::vector<int> kShrinkOrder = {1, 6, 7, 5, 2, 4, 0, 3};
    QStatusBar* bar = statusBar();
    std::vector<StatusPanelRoom> rooms;
    for (const StatusPanel* panel : statusPanels)
        rooms.push_back({panel->designWidth(), panel->wholeWidth(), panel->minimumSizeHint().width()});
    const QLayout* layout = bar->layout();
    const QMargins m = layout ? layout->contentsMargins() : QMargins();
    const int spacing = layout ? std::max(layout->spacing(), 0) : 0;
    // The size grip and the room the bar leaves around each panel.
    const int grip = bar->isSizeGripEnabled() ? style()->pixelMetric(QStyle::PM_SizeGripSize, nullptr, bar) : 0;
    const int available = bar->width() - m.left() - m.right() - grip -
                          static_cast<int>(statusPanels.size() + 1) * (spacing + 4);
    const std::vector<int> widths = AllotStatusPanelWidths(rooms, kShrinkOrder, available);
    bool changed = false;
    for (qsizetype i = 0; i < statusPanels.size(); ++i)
        changed = statusPanels[i]->setAllotted(widths[static_cast<size_t>(i)]) || changed;
    // The bar has laid itself out for the request that brought the panel's new text: once more
    // with the new widths.
    if (changed && layout)
        bar->layout()->activate();
}

void MainWindow::startUp()
{
    // The host identifier.
    app_.HostId = ComputeHostId();

    // The view state.
    SetUpViewBoxes();
    SetUpSweepControls();
    chartFileView_.CompensationLoaded = 0;
    useCompensationCheckBox->setEnabled(chartFileView_.CompensationLoaded != 0);
    reloadProjectFilesButton->setToolTip(QStringLiteral("Update Cable Ampl Ant Lisn Seg Lim"));
    saSerialAction->setVisible(false);

    // The coverage and generator views over the client area.
    SetUpCoverageFrame();
    SetUpImmunityFrame();

    // An unsupported system is refused, but start-up runs to its end and the remaining windows
    // are still created; the program ends when the message loop takes the request.
    const int32_t version = services_.VersionIndex ? services_.VersionIndex() : GetWindowsVersionIndex();
    if (version <= 6) {
        if (services_.ShowMessage)
            services_.ShowMessage(QStringLiteral("Operating System not supported "));
        if (services_.RequestTerminate)
            services_.RequestTerminate();
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
    preAmpSegmentRadio->setChecked(true);
    runNoteLabel->clear();
    logo->show();

    // Lists, grids, the chart, the run buttons.
    SetUpPeakControls();
    SetUpChart();
    estimateLabel->clear();
    remainingLabel->clear();
    ApplyDebugMode(forms_, app_);
    setWindowTitle(QStringLiteral("Zendrik"));
    statusPanels[0]->clear();
    progressBar->setValue(0);

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
    preAmpGroup->setVisible(app_.Settings.OptPreAmpBox);
    vbwGroup->setVisible(app_.Settings.OptVbwBox);
    immunityFrame->setFieldValueShown(app_.Settings.OptTgFieldValue);
}

void MainWindow::showLogger()
{
    if (forms_.loggerWindow)
        forms_.loggerWindow->show();
    app_.Debug.LogMessage(QStringLiteral("IEEE-INVERT: ") + QString::number(app_.Settings.OptInvertIeee));
}

void MainWindow::createSettingsFile()
{
    WriteAdvancedSettings(QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kAdvancedSettingsFile)),
                          app_.Settings, app_.Messages);
}

void MainWindow::switchDebugMode()
{
    app_.Debug.DebugMode = debugCheckBox->isChecked() ? 1 : 0;
    ApplyDebugMode(forms_, app_);
}

// The coverage view keeps to its mode: shown over the EMC view it would hide it, and hidden in
// its own mode it would leave the operator without it.
void MainWindow::showDebugControls(bool shown)
{
    for (SeriesRole role : {SeriesRole::smoothing1, SeriesRole::smoothing2, SeriesRole::temCellCorrection,
                            SeriesRole::generatorAmpCorrection})
        chart_->Series(role)->SetActive(shown);
    for (QWidget* w :
         {static_cast<QWidget*>(debugLabel), static_cast<QWidget*>(createIniFileButton),
          static_cast<QWidget*>(readDsaButton), static_cast<QWidget*>(showLogButton),
          static_cast<QWidget*>(peakFreqList1), static_cast<QWidget*>(peakLevelList1),
          static_cast<QWidget*>(measureFreqList1), static_cast<QWidget*>(measureLevelList1),
          static_cast<QWidget*>(viewMasterCheckBox), static_cast<QWidget*>(refLevelSpin),
          static_cast<QWidget*>(emiZeroSpanCheckBox), static_cast<QWidget*>(maxPeakZeroSpanCheckBox)})
        w->setVisible(shown);
}

void MainWindow::setStatusText(int panel, const QString& text)
{
    if (panel >= 0 && panel < statusPanels.size())
        statusPanels[panel]->setText(text);
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
    if (runActive() && !run_->control->RequestClose()) {
        event->ignore();
        return;
    }
    statusTimer->stop();
    // What radiates or logs stops while the instrument session is still open.
    immunityFrame->shutDownGenerator();
    coverageFrame->windowClosing();
    run_->control->RequestClose();
    emit closed();
}
