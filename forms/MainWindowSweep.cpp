// The sweep panel: the run buttons and their read-outs, the measurement set, the parameter grid
// with its file pick lists, and the segment lists of both sets. The run itself is wired here: the
// run control with the window as its host, the settings it reads, the controls it sets, who else
// owns the analyser, the mail notice and the status line's countdown.
#include "forms/MainWindowRun.h"
#include "forms/StatusPanel.h"

#include "app/AppContext.h"
#include "chart/series/Chart.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectItems.h"
#include "forms/CoverageFrame.h"
#include "forms/FormServices.h"
#include "forms/ImmunityFrame.h"
#include "forms/MainChart.h"
#include "forms/ParameterGridView.h"
#include "instrument/InstrumentState.h"
#include "instrument/ScpiContext.h"
#include "mail/ChartImage.h"
#include "mail/MailNotice.h"
#include "mail/MailSettings.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/SegmentChecks.h"
#include "mainwindow/StatusLine.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <exception>

namespace {

QPushButton* RunButton(QWidget* parent, const char* name, const QString& caption, QStyle::StandardPixmap icon)
{
    auto* b = new QPushButton(parent->style()->standardIcon(icon), caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* Label(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QListView* CheckList(QWidget* parent, const char* name, CheckListModel& model)
{
    auto* list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setModel(&model);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}

} // namespace

QWidget* MainWindow::BuildSweepPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    auto* run = new QGridLayout;
    run->setSpacing(2);
    playButton = RunButton(panel, "BitBtn1", QStringLiteral("Play"), QStyle::SP_MediaPlay);
    stopButton = RunButton(panel, "BitBtn2", QStringLiteral("Stop"), QStyle::SP_MediaStop);
    pauseButton = RunButton(panel, "BitBtn3", QStringLiteral("Pause"), QStyle::SP_MediaPause);
    run->addWidget(playButton, 0, 0);
    run->addWidget(stopButton, 0, 1);
    run->addWidget(pauseButton, 0, 2);

    measureSetGroup = new QGroupBox(QStringLiteral("MeasureSet"), panel);
    auto* sets = new QHBoxLayout(measureSetGroup);
    sets->setContentsMargins(4, 0, 4, 0);
    set1Radio = new QRadioButton(QStringLiteral("Set1"), measureSetGroup);
    set1Radio->setObjectName(QStringLiteral("RadioButton1"));
    set1Radio->setChecked(true);
    set2Radio = new QRadioButton(QStringLiteral("Set2"), measureSetGroup);
    set2Radio->setObjectName(QStringLiteral("RadioButton2"));
    sets->addWidget(set1Radio);
    sets->addWidget(set2Radio);
    run->addWidget(measureSetGroup, 1, 0, 1, 2);
    beepCheckBox = new QCheckBox(QStringLiteral("Beep"), panel);
    beepCheckBox->setObjectName(QStringLiteral("CheckBox17"));
    run->addWidget(beepCheckBox, 1, 2);

    passLabel = Label(panel, "Label3");
    estimateLabel = Label(panel, "Label4");
    estimateLabel->setToolTip(QStringLiteral("estimated time"));
    remainingLabel = Label(panel, "Label5");
    remainingLabel->setToolTip(QStringLiteral("time left"));
    runNoteLabel = Label(panel, "Label6");
    run->addWidget(passLabel, 2, 0);
    run->addWidget(estimateLabel, 2, 1);
    run->addWidget(remainingLabel, 2, 2);
    progressBar = new QProgressBar(panel);
    progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar->setTextVisible(false);
    progressBar->setMaximumHeight(12);
    run->addWidget(progressBar, 3, 0, 1, 3);
    run->addWidget(runNoteLabel, 4, 0, 1, 3);
    column->addLayout(run);

    parameterGrid = new ParameterGridView(panel);
    parameterGrid->setObjectName(QStringLiteral("ValueListEditor1"));
    parameterGrid->setModel(parameterModel_.get());
    parameterGrid->horizontalHeader()->resizeSection(0, 112);
    column->addWidget(parameterGrid, 1);
    return panel;
}

// The segments of each set, checked for the run; only the chosen set's list is shown.
QWidget* MainWindow::BuildSegmentsPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* segments = new QHBoxLayout;
    segmentsCheckBox = new QCheckBox(QStringLiteral("Segm."), panel);
    segmentsCheckBox->setObjectName(QStringLiteral("CheckBox24"));
    segmentsCheckBox->setChecked(true);
    maxFilterCheckBox = new QCheckBox(QStringLiteral("MaxFilter"), panel);
    maxFilterCheckBox->setObjectName(QStringLiteral("CheckBox3"));
    segments->addWidget(segmentsCheckBox);
    segments->addWidget(maxFilterCheckBox);
    column->addLayout(segments);
    segmentList1 = CheckList(panel, "CheckListBox1", *segmentChecks1_);
    segmentList2 = CheckList(panel, "CheckListBox2", *segmentChecks2_);
    segmentList1->setFixedHeight(76);
    segmentList2->setFixedHeight(76);
    column->addWidget(segmentList1);
    column->addWidget(segmentList2);
    return panel;
}

// The parameter grid validates each edited row through its logic (ProjectTargets); its hint goes
// to status panel 2. The set choice and the segment lists join here; the run buttons with the
// run control (WireRun).
void MainWindow::WireSweep()
{
    connect(parameterGrid, &ParameterGridView::hintChanged, statusPanels[2], &QLabel::setText);
    connect(set1Radio, &QRadioButton::toggled, this, &MainWindow::ApplySetChoice);
    connect(segmentsCheckBox, &QCheckBox::toggled, this, &MainWindow::ApplySetChoice);
    // An operator's tick on a segment row: "all" gives every row its state, a segment row sets
    // "all" when every segment is ticked.
    for (CheckListModel* checks : {segmentChecks1_.get(), segmentChecks2_.get()}) {
        connect(checks, &CheckListModel::dataChanged, this,
                [checks, applying = std::make_shared<bool>(false)](const QModelIndex& from, const QModelIndex&,
                                                                   const QList<int>& roles) {
                    if (*applying || !roles.contains(Qt::CheckStateRole))
                        return;
                    *applying = true;
                    ApplySegmentCheck(*checks, from.row());
                    *applying = false;
                });
    }
}

// Run buttons idle, set 1 chosen, both segment lists holding only "all", the first one shown.
void MainWindow::SetUpSweepControls()
{
    playButton->setEnabled(true);
    stopButton->setEnabled(false);
    pauseButton->setEnabled(false);
    for (CheckListModel* checks : {segmentChecks1_.get(), segmentChecks2_.get()}) {
        checks->Clear();
        checks->AddRow(QStringLiteral("all"), false);
    }
    segmentList1->show();
    segmentList2->hide();
    emiZeroSpanCheckBox->hide();
    maxPeakZeroSpanCheckBox->hide();
    parameterGrid->setEnabled(true);
}

void MainWindow::refreshFileLists()
{
    QDir::setCurrent(app_.WorkingFolder);
    fileLists_ = ListDataFiles(app_.WorkingFolder);
    ApplyFileLists(*parameterModel_, fileLists_);
}

// The chosen set's peak lists, its "Select 6 maxpeaks" box, its segment list and segment marks
// are shown, the other set's hidden; the estimate follows the set.
void MainWindow::ApplySetChoice()
{
    const bool set1 = set1Radio->isChecked();
    const bool segments = segmentsCheckBox->isChecked();
    peaksGroup->setTitle(set1 ? QStringLiteral("Peaks Set1") : QStringLiteral("Peaks Set2"));
    peakMeasurementsGroup->setTitle(set1 ? QStringLiteral("Peaks Measurements Set1")
                                         : QStringLiteral("Peaks Measurements Set2"));
    peakList1->setVisible(set1);
    measureList1->setVisible(set1);
    peakList2->setVisible(!set1);
    measureList2->setVisible(!set1);
    selectMaxPeaks1CheckBox->setVisible(set1);
    selectMaxPeaks2CheckBox->setVisible(!set1);
    segmentList1->setVisible(set1);
    segmentList2->setVisible(!set1);
    segmentList1->setEnabled(set1 && segments);
    segmentList2->setEnabled(!set1 && segments);
    ApplySegmentMarks();
    if (targets_.UpdateMeasureTimeEstimate)
        targets_.UpdateMeasureTimeEstimate();
}

// ---------------------------------------------------------------------------------------------
// The run.

namespace {

// No exception leaves a handler: it becomes an "Error: " line and the window goes on.
template <class F> void Guarded(MessageLog& log, F&& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        log.Append(QStringLiteral("Error: ") + QString::fromUtf8(e.what()));
    }
}

// The colours of the points a run adds: "Raw Data Set1", "Cor Data Set1", "Raw Data Set2" and
// "Cor Data Set2" of the colour settings.
void TakePointColors(RunSwitches& s, const MainWindowColors& colors)
{
    s.RawColor1 = colors[TraceColor::rawTrace1];
    s.CorrectedColor1 = colors[TraceColor::correctedTrace1];
    s.RawColor2 = colors[TraceColor::rawTrace2];
    s.CorrectedColor2 = colors[TraceColor::correctedTrace2];
}

} // namespace

void MainWindow::WireRun()
{
    run_ = std::make_unique<RunWiring>(*this);
    RunWiring& r = *run_;
    r.series = chart_->ByRole();
    TakePointColors(r.switches, state_.Colors);
    r.context = std::make_unique<MeasurementContext>(MeasurementContext{
        *scpi_, r.state, r.series, segments1_, segments2_, *segmentChecks1_, *segmentChecks2_, r.parameters,
        r.switches, r.host, r.masterTimer});
    r.control = std::make_unique<RunControl>(*r.context);
    setPeakLists(r.control->Peaks(1), r.control->Peaks(2));

    connect(playButton, &QPushButton::clicked, this, &MainWindow::play);
    connect(stopButton, &QPushButton::clicked, this, &MainWindow::stop);
    connect(pauseButton, &QPushButton::clicked, this, &MainWindow::pause);
    connect(displayPeaksButton, &QPushButton::clicked, this, &MainWindow::displayPeaks);
    connect(clearPeaksButton, &QPushButton::clicked, this, &MainWindow::clearPeaks);
    connect(measureDriftAction, &QAction::triggered, this, [this] { measurePeaks(true); });
    connect(measureExactAction, &QAction::triggered, this, [this] { measurePeaks(false); });
    // "Beep" sounds at every click; "EMI(ZeroSpan)" changes the mode and so the estimate.
    connect(beepCheckBox, &QCheckBox::clicked, this, [] { QApplication::beep(); });
    connect(emiZeroSpanCheckBox, &QCheckBox::toggled, this, [this] {
        if (targets_.UpdateMeasureTimeEstimate)
            targets_.UpdateMeasureTimeEstimate();
    });
    targets_.UpdateMeasureTimeEstimate = [this] {
        SyncRunSettings();
        run_->control->UpdateMeasureTimeEstimate();
    };

    // One owner of the analyser: the views start nothing while a run holds it, and Play waits
    // while a generator action or the coverage logging holds it.
    emissionRunActive = [this] { return runActive(); };
    connect(immunityFrame, &ImmunityFrame::generatorActionChanged, this, [this](bool active) {
        run_->generatorActive = active;
        ShowRunControls(run_->control->Controls());
    });
    connect(coverageFrame, &CoverageFrame::startOrStopPressed, this,
            [this] { ShowRunControls(run_->control->Controls()); });
    // Loaded series keep the colours of the moment; points added from now on take the new ones.
    connect(&state_.ColorEditor, &ColorSettingsEditor::ColorsChanged, this, [this] {
        TakePointColors(run_->switches, state_.Colors);
    });

    connect(statusTimer, &QTimer::timeout, this, &MainWindow::StatusLineTick);
    statusTimer->start();
}

RunControl& MainWindow::runControl() { return *run_->control; }

MeasurementState& MainWindow::measurementState() { return run_->state; }

// Busy is published before the loop starts and after it has ended, so it covers the whole command.
bool MainWindow::runActive() const
{
    return run_ && (run_->control->Running() || run_->control->Controls().Busy);
}

void MainWindow::setMailSettings(MailSettings& mail, const MailTransport& transport)
{
    run_->mail = &mail;
    run_->mailTransport = transport;
}

// What the run reads of the window, taken at each command: a run reads the margins and
// "MaxHold" when it needs them, and the grid can only change while the run is paused, before
// Play resumes it.
void MainWindow::SyncRunSettings()
{
    RunWiring& r = *run_;
    r.parameters.Margin1Db = gridState_.Margin1Db;
    r.parameters.Margin2Db = gridState_.Margin2Db;
    r.parameters.MaxHold = gridState_.MaxHold != 0;
    r.parameters.MissingLimit1 = datafiles::MissingLimitLine(targets_, 1);
    r.parameters.MissingLimit2 = datafiles::MissingLimitLine(targets_, 2);
    r.parameters.MissingSegments1 = datafiles::MissingSegmentFile(targets_, 1);
    r.parameters.MissingSegments2 = datafiles::MissingSegmentFile(targets_, 2);
    RunSwitches& s = r.switches;
    s.SelectedSet = set2Radio->isChecked() ? 2 : 1;
    s.Beep = beepCheckBox->isChecked();
    s.EmiZeroSpan = emiZeroSpanCheckBox->isChecked();
    s.MaxPeakZeroSpan = maxPeakZeroSpanCheckBox->isChecked();
    s.MaxFilter = maxFilterCheckBox->isChecked();
    s.UseCompensation = useCompensationCheckBox->isChecked();
    s.VbwMode = vbwThreeRbwRadio->isChecked() ? 0 : 1;
    TakePointColors(s, state_.Colors);
}

bool MainWindow::OtherInstrumentOwner() const
{
    return run_->generatorActive || coverageFrame->loggingActive();
}

void MainWindow::play()
{
    if (OtherInstrumentOwner())
        return;
    SyncRunSettings();
    Guarded(app_.Messages, [this] { run_->control->Play(); });
}

void MainWindow::stop()
{
    Guarded(app_.Messages, [this] { run_->control->Stop(); });
}

void MainWindow::pause()
{
    Guarded(app_.Messages, [this] { run_->control->Pause(); });
}

void MainWindow::ShowRunControls(const RunControls& c)
{
    RunWiring& r = *run_;
    const bool other = OtherInstrumentOwner();
    playButton->setEnabled(c.PlayEnabled && !other);
    stopButton->setEnabled(c.StopEnabled);
    pauseButton->setEnabled(c.PauseEnabled);
    const bool measure = c.MeasureMenusEnabled && !c.Busy && !other;
    measureDriftAction->setEnabled(measure);
    measureExactAction->setEnabled(measure);
    // The grid's rows send their values to the analyser: it is locked while the engine holds the
    // analyser, and handed back only while a run waits paused between segments.
    const bool paused = r.state.PauseRequested == 1;
    parameterGrid->setEnabled(!c.GridLocked && !(c.Busy && !paused));

    // While a run owns the analyser and the traces nothing may reach either: the connection
    // kinds, loading projects, charts, compensation and reference traces, and the commands
    // that recompute or clear the traces.
    const bool idle = !c.Busy;
    for (QAction* a : {saUsbAction, saTcpAction, gpsUsbAction, saSerialAction, loadProjectAction,
                       loadReference1Action, loadReference2Action, loadReference3Action})
        a->setEnabled(idle);
    for (QPushButton* b : {displayPeaksButton, clearPeaksButton, clearTracesButton, clearChartButton, clearAllButton})
        b->setEnabled(idle);
    // The chart files follow their own rules: a chart loads only without a run, a compensation
    // and the project files also while the run waits paused with the grid handed back.
    followRunControls(c);

    passLabel->setText(c.PassText);
    estimateLabel->setText(c.EstimateText);
    // The status line counts the label down; only a new estimate replaces it.
    if (c.RemainingText != r.remainingShown) {
        r.remainingShown = c.RemainingText;
        remainingLabel->setText(c.RemainingText);
    }
    runNoteLabel->setText(c.Label6Text);
    progressBar->setRange(0, std::max(1, c.ProgressMax));
    progressBar->setValue(std::clamp(c.ProgressPosition, 0, std::max(1, c.ProgressMax)));
    if (c.Busy != r.busyShown) {
        r.busyShown = c.Busy;
        showRunOwnsInstrument(c.Busy);
        immunityFrame->refreshInstrumentOwnership();
    }
}

// Timer1, once a second: the settings last sent, the memory or the screen sizes, the clock, and
// the run's time left counted down unless the run is paused.
void MainWindow::StatusLineTick()
{
    StatusLineSources sources = SystemStatusSources();
    sources.ScreenSize = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->size() : QSize();
    };
    sources.WindowSize = [this] { return size(); };
    const StatusLineTexts t = ::StatusLineTick(instrument_.Device.Echo, run_->state, app_.Debug.DebugMode, sources);
    statusPanels[4]->setText(t.SettingsPanel);
    statusPanels[5]->setText(t.MemoryPanel);
    statusPanels[7]->setText(t.ClockPanel);
    remainingLabel->setText(t.TimeLeft);
}

void MainWindow::SendRunNotice(int segment, int count)
{
    if (!run_->mail)
        return;
    const MailContext context{run_->mail->Account, app_.Messages, app_.Debug, scpi_->Pump, app_.WorkingFolder,
                              run_->mailTransport};
    const auto saveChart = [this] {
        QString error;
        if (SaveChartJpeg(*mainChart, app_.WorkingFolder, &error))
            return true;
        app_.Messages.Append(QStringLiteral("Error: chart image not written: ") + error);
        return false;
    };
    ::NotifySegmentDone(run_->mail->Alerts, segment, count, saveChart, SmtpMailSender(context));
}

// --- The window as the engine's host

void MainWindow::WindowRunHost::ControlsChanged(const RunControls& controls) { w_.ShowRunControls(controls); }

void MainWindow::WindowRunHost::ShowErrorBox(const QString& text)
{
    FormServices& s = w_.services_;
    if (s.ShowError)
        s.ShowError(text);
    else if (s.ShowMessage)
        s.ShowMessage(text);
}

void MainWindow::WindowRunHost::ShowMessageBox(const QString& text)
{
    if (w_.services_.ShowMessage)
        w_.services_.ShowMessage(text);
}

// The desktop's own beep: the tone's pitch and length are not ours to choose.
void MainWindow::WindowRunHost::Beep(int, int) { QApplication::beep(); }

void MainWindow::WindowRunHost::SetBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::WindowRunHost::RepaintChart()
{
    w_.mainChart->RepaintNow();
    w_.mainChart->update();
}

void MainWindow::WindowRunHost::SetChartAutoRepaint(bool on) { w_.mainChart->SetRepaintOnChange(on); }

void MainWindow::WindowRunHost::MaxHoldCleared()
{
    w_.gridState_.MaxHold = 0;
    w_.parameterModel_->SetValue(gridkeys::kMaxHold, QStringLiteral("off"));
}

void MainWindow::WindowRunHost::NotifySegmentDone(int segment, int count) { w_.SendRunNotice(segment, count); }

// Called from inside the run's own stack: the close goes through the event loop.
void MainWindow::WindowRunHost::CloseMainWindow()
{
    QMetaObject::invokeMethod(&w_, [w = &w_] { w->close(); }, Qt::QueuedConnection);
}
