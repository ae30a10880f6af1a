#ifndef ZENDRIK_FORMS_MAINWINDOW_H
#define ZENDRIK_FORMS_MAINWINDOW_H

#include "datafiles/GeneratorViewValues.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectTargets.h"
#include "datafiles/SegmentTable.h"
#include "datafiles/TableFiles.h"
#include "mainwindow/ColorSettings.h"
#include "mainwindow/ZoomRules.h"
#include "reports/ChartFileCommands.h"
#include "reports/ReportDialogs.h"

#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStringListModel;
class QTabWidget;
class QTableView;
class QTimer;
class QToolButton;
class StatusPanel;
class AxisBounds;
class CheckListModel;
class CoverageFrame;
class FormDialogs;
class ImmunityFrame;
class InstrumentOwnership;
class CoverageInstrumentOwner;
class ReportHeaderItems;
class MainChart;
class ParameterGridModel;
class ParameterGridView;
class QtEventPump;
class PeakLists;
class RunControl;
class ScpiGridInstrument;
class TChart;
class TChartAxis;
class TMagnifyTool;
class MarkStamps;
class ReportPrinterProvider;
struct AppContext;
struct FamilyControls;
struct FormServices;
struct GeneratorSettings;
struct Forms;
struct InstrumentState;
struct MainWindowState;
struct MailSettings;
struct MailTransport;
struct MeasurementState;
struct RunControls;
struct ScpiContext;
struct SmoothRangeStore;
struct TLibraryTexts;
enum class LevelUnit;
enum class TopTracePair;
struct OverlayPainter;
struct RunControls;
struct ScpiContext;
struct SmoothRangeStore;

// The main window (TForm1, designer name Form1): the main chart with its 29 series, the
// parameter grid, the peak lists, the view and run controls, the message log, the status bar and
// the menus, with the coverage and generator views laid over it in their modes.
//
// The code is split by panel, one source file each, and each panel has its wiring function with
// that panel's connects: chart (MainWindowChart.cpp), view toggles and units (MainWindowView),
// parameter grid and run (MainWindowSweep), instrument (MainWindowInstrument), peaks
// (MainWindowPeaks), markers, fader and math (MainWindowMarkers), messages and report commands
// (MainWindowReport), projects (MainWindowProject), generator view (MainWindowGenerator),
// coverage view (MainWindowCoverage) and the menus (MainWindowMenus). Members are named for what
// they are; the comment gives the designer name (the objectName) and the caption.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext& app, InstrumentState& instrument, MainWindowState& state, Forms& forms,
               FormServices& services, const QStringList& arguments, const QString& programFolder);
    ~MainWindow() override;

    // The creation handler: puts every control and the program's globals into their start-up
    // state, in the order the start-up has always run.
    void startUp();

    // --- Logic the other windows and the follow-up handlers reach
    MainChart& chart() { return *chart_; }
    ParameterGridModel& parameters() { return *parameterModel_; }
    ProjectTargets& projectTargets() { return targets_; }
    const DataFileLists& fileLists() const { return fileLists_; }
    SegmentTable& segmentTable(int set) { return set == 2 ? segments2_ : segments1_; }
    CheckListModel& segmentChecks(int set) { return set == 2 ? *segmentChecks2_ : *segmentChecks1_; }
    // The texts of the caption and of the chart-file labels.
    ChartFileView& chartFileView() { return chartFileView_; }
    // Shows the peak lists of a measurement set (the run control's, once it exists; until then
    // the window's own).
    void setPeakLists(PeakLists& set1, PeakLists& set2);
    PeakLists& peakLists(int set) { return set == 2 ? *shownPeaks2_ : *shownPeaks1_; }

    // --- Handlers
    void showLogger();         // "Show Log"
    void createSettingsFile(); // "Create ini File"
    void switchDebugMode();    // "Debug"
    // Shows or hides the controls and series only debug mode shows.
    void showDebugControls(bool shown);
    // Text of one of the status bar's eight panels (0..7).
    void setStatusText(int panel, const QString& text);
    void undoZoom();           // "Undo zoom"
    // Rebuilds the seven file pick lists and the main grid's lists from ".\src" and ".\rep".
    void refreshFileLists();
    void loadProject(); // "Load Proj"
    // Loads a project file as "Load Proj" does once its dialog has a name; nothing while a run
    // owns the traces.
    void openProject(const QString& path);
    void saveProject(); // "Save Proj"
    // "Device" menu: each shows the connection window prepared for its kind of connection.
    void connectAnalyzerUsb();    // "SA USB"
    void connectAnalyzerTcp();    // "SA TCP"
    void connectGpsReceiver();    // "GPS USB"
    void connectAnalyzerSerial(); // "SA SER"
    // After a connection attempt: the controls that follow the analyser family.
    void applyFamilyControls(const FamilyControls& controls);
    // "Setup" menu: the table editor for one kind of table.
    void editLimits();   // "Edit Limit"
    void editCable();    // "Edit Cable"
    void editLisn();     // "Edit LISN"
    void editGain();     // "Edit Gain"
    void editAntenna();  // "Edit Antenna"
    void editSegments(); // "Edit Segments"
    void showColorSettings(); // "Edit Colors"
    // "Mode" menu.
    void showEmcView();      // "EMC"
    void showCoverageView(); // "RF Coverage"
    void showGeneratorView(); // "Generator"
    // The table editor's creation offers the coverage feature: "GPS USB" and the "Mode" menu.
    void enableCoverageFeature();
    // Links the windows created after this one (connection window, table editor, report header
    // editor, CSV export): the program entry calls it once they all exist.
    void wireLaterWindows(ReportHeaderItems& reportHeader);

    // --- Markers, fader and math (MainWindowMarkers.cpp)
    void copyMarkers();    // "Copy Markers"
    void clearLastFade();  // "clear last" of the "Fader" page
    void calcMath();       // "Calc" of the "Math" page
    // The axis bounds at the last mouse-down on the chart, which the zoom rules restore.
    const ChartBounds& frozenBounds() const { return frozenBounds_; }
    // What a zoom rectangle does, as "fade" and "clr" say.
    FaderMode faderMode() const;
    // The chosen set's smoothed ranges and its smoothing routines, for the zoom rules.
    SmoothRangeStore& selectedSmoothRanges();
    SetSmoothing selectedSetSmoothing();

    // --- Chart files, reports and exports (MainWindowReport.cpp)
    void saveChart();            // "Save Chart"
    void loadChart();            // "Load Chart"
    void saveCompensation();     // "Save Zero Compensation"
    void loadCompensation();     // "Load Zero Compensation"
    void useCompensationClicked(); // "use compensation"
    void loadReferenceTrace(int slot); // "Trace1", "Trace2", "Trace 3"
    void clearReferenceTraces(); // "Clear traces"
    void savePeaks();            // "Save to File" of the peak lists
    void saveMessages();         // "Save to File" of the message log
    void saveChartAsWmf();       // "Save as WMF File"
    void printReport();          // "Print Report"
    void reloadProjectFiles();   // "Reload Project Files"
    // The run control's controls as it publishes them: "Load Chart" is disabled while a run is
    // active (measuring or paused), "Load Zero Compensation" and "Reload Project Files" while the
    // parameter grid is locked (measuring).
    void followRunControls(const RunControls& controls);
    // What the file commands see of the run: the parameter grid's lock it last published.
    bool parameterGridLocked() const;
    // The chart files' view of Chart1, its axes, the colour settings and the logs.
    ChartFileContext chartFiles();

    // True while an emission run owns the analyser; the run control sets it. The coverage and
    // generator views start nothing on the analyser meanwhile.
    std::function<bool()> emissionRunActive;

    // --- Views, units, zoom and axes (MainWindowView.cpp, MainWindowChart.cpp)
    void clearAll();      // "Clear all"
    void clearChart();    // "Clear chart"
    // While a run owns the analyser, the reference-level arrows and the preamplifier choice are
    // disabled (the run's published controls say Busy).
    void showRunOwnsInstrument(bool owned);
    // --- The run (MainWindowSweep.cpp, MainWindowPeaks.cpp)
    RunControl& runControl();
    MeasurementState& measurementState();
    // A run, a recalculation or a re-measurement owns the instrument and the traces.
    bool runActive() const;
    // The mail account and alert switches the run's notices go out with, and how the server is
    // reached; the program entry sets them once the mail window exists.
    void setMailSettings(MailSettings& mail, const MailTransport& transport);
    void play();          // "Play" (BitBtn1)
    void stop();          // "Stop" (BitBtn2)
    void pause();         // "Pause" (BitBtn3)
    void displayPeaks();  // "Displ. peaks" (Button8)
    void clearPeaks();    // "Clear peaks" (Button6)
    void measurePeaks(bool considerDrift); // "Measure (consider drift)", "Measure (ignore drift)"

    // The file dialogs of "Load Proj" and "Save Proj": the chosen path, empty when cancelled.
    // Tests answer them.
    std::function<QString(const SaveDialogSettings&, bool save)> chooseProjectFile;
    // The file dialogs of the chart files, reports and exports, answered the same way.
    std::function<QString(const SaveDialogSettings&, bool save)> chooseReportFile;
    // Where "Print Report" prints; null: the print dialog's printer. Tests print to PDF.
    ReportPrinterProvider* reportPrinter = nullptr;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls, by panel; each objectName is the designer's name, given beside it with the
    // caption. Tests find them by that name.
    // --- Chart (MainWindowChart.cpp)
    TChart* mainChart = nullptr;               // Chart1
    QPushButton* undoZoomButton = nullptr;     // Button3 "Undo zoom"
    // The magnifier (TMagnifyTool): see SetUpChart for where it is placed.
    QLabel* logo = nullptr;                    // Image2, the program's logo

    // --- View toggles, units, axes (MainWindowView.cpp)
    QGroupBox* viewGroup = nullptr;                // GroupBox1 "View (on/off)"
    QCheckBox* viewSet1CheckBox = nullptr;         // CheckBox4 "Set1": corrected trace, set 1
    QCheckBox* viewSet2CheckBox = nullptr;         // CheckBox5 "Set2": corrected trace, set 2
    QCheckBox* viewRaw1CheckBox = nullptr;         // CheckBox6 "Raw1"
    QCheckBox* viewRaw2CheckBox = nullptr;         // CheckBox7 "Raw2"
    QCheckBox* viewCorrectionsCheckBox = nullptr;  // CheckBox8 "Cor": corrections, overlays, compensation
    QCheckBox* viewTrace1Set1CheckBox = nullptr;   // CheckBox9 "T1S1"
    QCheckBox* viewTrace1Set2CheckBox = nullptr;   // CheckBox10 "T1S2"
    QCheckBox* viewTrace2Set1CheckBox = nullptr;   // CheckBox25 "T2S1"
    QCheckBox* viewTrace2Set2CheckBox = nullptr;   // CheckBox26 "T2S2"
    QCheckBox* viewTrace3Set1CheckBox = nullptr;   // CheckBox27 "T3S1"
    QCheckBox* viewTrace3Set2CheckBox = nullptr;   // CheckBox28 "T3S2"
    QCheckBox* viewMargin1CheckBox = nullptr;      // CheckBox13 "Marg1"
    QCheckBox* viewMargin2CheckBox = nullptr;      // CheckBox14 "Marg2"
    QCheckBox* viewMasterCheckBox = nullptr;       // CheckBox16 "Master", debug only
    // The colour keys beside the view boxes, one square each.
    QList<QWidget*> viewColorKeys;
    QCheckBox* dbuvCheckBox = nullptr;             // CheckBox29 "dBuV"
    QCheckBox* dbpwCheckBox = nullptr;             // CheckBox30 "dBpW"
    QCheckBox* dbmCheckBox = nullptr;              // CheckBox31 "dBm"
    QCheckBox* logAxisCheckBox = nullptr;          // CheckBox2 "log"
    static constexpr bool kLogAxisAtStartUp = true; // also each project's, which carry no axis mode
    QCheckBox* khzMhzCheckBox = nullptr;           // CheckBox11 "kHz/MHz"
    QCheckBox* zoomYAxisCheckBox = nullptr;        // CheckBox12 "Zoom Y Axis"
    QLabel* chartTraceLabel = nullptr;             // Label1 "Chart:", brings Series7/9 on top
    QLabel* trace1Label = nullptr;                 // Label7 "Trace1:"
    QLabel* trace2Label = nullptr;                 // Label9 "Trace2:"
    QLabel* trace3Label = nullptr;                 // Label10 "Trace3:"
    QPushButton* clearAllButton = nullptr;         // Button4 "Clear all"
    QPushButton* clearChartButton = nullptr;       // Button12 "Clear chart"
    QLineEdit* frequencyReadout = nullptr;         // Edit1, frequency under the mouse
    QLineEdit* level1Readout = nullptr;            // Edit2, set 1's level there
    QLineEdit* level2Readout = nullptr;            // Edit3, set 2's level there

    // --- Parameter grid and run (MainWindowSweep.cpp)
    ParameterGridView* parameterGrid = nullptr;    // ValueListEditor1 "Parameter" / "Value"
    QPushButton* playButton = nullptr;             // BitBtn1 "Play"
    QPushButton* stopButton = nullptr;             // BitBtn2 "Stop"
    QPushButton* pauseButton = nullptr;            // BitBtn3 "Pause"
    QGroupBox* measureSetGroup = nullptr;          // "MeasureSet"
    QRadioButton* set1Radio = nullptr;             // RadioButton1 "Set1"
    QRadioButton* set2Radio = nullptr;             // RadioButton2 "Set2"
    QCheckBox* segmentsCheckBox = nullptr;         // CheckBox24 "Segm."
    QListView* segmentList1 = nullptr;             // CheckListBox1, the segments of set 1
    QListView* segmentList2 = nullptr;             // CheckListBox2, the segments of set 2
    QLabel* passLabel = nullptr;                   // Label3, pass counter
    QLabel* estimateLabel = nullptr;               // Label4, estimated time
    QLabel* remainingLabel = nullptr;              // Label5, time left
    QLabel* runNoteLabel = nullptr;                // Label6, emptied at Play
    QProgressBar* progressBar = nullptr;           // ProgressBar1
    QCheckBox* maxFilterCheckBox = nullptr;        // CheckBox3 "MaxFilter"
    QCheckBox* beepCheckBox = nullptr;             // CheckBox17 "Beep"

    // --- Instrument (MainWindowInstrument.cpp)
    QGroupBox* preAmpGroup = nullptr;              // GroupBox8 "PreAmp"
    QRadioButton* preAmpSegmentRadio = nullptr;    // RadioButton3 "seg"
    QRadioButton* preAmpOnRadio = nullptr;         // RadioButton4 "on"
    QRadioButton* preAmpOffRadio = nullptr;        // RadioButton5 "off"
    QGroupBox* vbwGroup = nullptr;                 // GroupBox9 "VBW"
    QRadioButton* vbwAutoRadio = nullptr;          // RadioButton6 "auto"
    QRadioButton* vbwThreeRbwRadio = nullptr;      // RadioButton7 "1:3"
    QCheckBox* emiZeroSpanCheckBox = nullptr;      // CheckBox21 "EMI(ZeroSpan)", debug only
    QCheckBox* maxPeakZeroSpanCheckBox = nullptr;  // CheckBox22 "mPk", debug only
    QWidget* refLevelSpin = nullptr;               // SpinButton1, hint "Ref Lev RSA5000", debug only
    QToolButton* refLevelUpButton = nullptr;
    QToolButton* refLevelDownButton = nullptr;
    QPushButton* readDsaButton = nullptr;          // Button16 "RD_DSA", debug only

    // --- Peaks (MainWindowPeaks.cpp)
    QGroupBox* peaksGroup = nullptr;               // GroupBox4 "Peaks Set1"
    QListView* peakList1 = nullptr;                // ListBox1
    QListView* peakList2 = nullptr;                // ListBox7
    QGroupBox* peakMeasurementsGroup = nullptr;    // GroupBox5 "Peaks Measurements Set1"
    QListView* measureList1 = nullptr;             // ListBox2
    QListView* measureList2 = nullptr;             // ListBox8
    // The hidden parallel lists (shown in debug mode for set 1): frequencies and levels.
    QListView* peakFreqList1 = nullptr;            // ListBox3
    QListView* peakLevelList1 = nullptr;           // ListBox4
    QListView* measureFreqList1 = nullptr;         // ListBox5
    QListView* measureLevelList1 = nullptr;        // ListBox6
    QListView* peakFreqList2 = nullptr;            // ListBox9
    QListView* peakLevelList2 = nullptr;           // ListBox10
    QListView* measureFreqList2 = nullptr;         // ListBox11
    QListView* measureLevelList2 = nullptr;        // ListBox12
    QTableView* peakGrid1 = nullptr;               // StringGrid1, hidden; the report prints it
    QTableView* peakGrid2 = nullptr;               // StringGrid2
    QCheckBox* selectMaxPeaks1CheckBox = nullptr;  // CheckBox18 "Select 6 maxpeaks"
    QCheckBox* selectMaxPeaks2CheckBox = nullptr;  // CheckBox19 "Select 6 maxpeaks"
    QPushButton* displayPeaksButton = nullptr;     // Button8 "Displ. peaks"
    QPushButton* clearPeaksButton = nullptr;       // Button6 "Clear peaks"

    // --- Markers, fader, math (MainWindowMarkers.cpp)
    QTabWidget* pageControl = nullptr;             // PageControl1: "Marker", "Fader", "Math"
    QCheckBox* marker1CheckBox = nullptr;          // CheckBox32 "M1"
    QCheckBox* showMarkers1CheckBox = nullptr;     // CheckBox34 "show"
    QPushButton* clearLastMarker1Button = nullptr; // Button5 "Clear Last"
    QPushButton* clearAllMarkers1Button = nullptr; // Button2 "Clear All"
    QCheckBox* marker2CheckBox = nullptr;          // CheckBox33 "M2"
    QCheckBox* showMarkers2CheckBox = nullptr;     // CheckBox35 "show"
    QPushButton* clearLastMarker2Button = nullptr; // Button7 "Clear Last"
    QPushButton* clearAllMarkers2Button = nullptr; // Button9 "Clear All"
    QPushButton* copyMarkersButton = nullptr;      // Button10 "Copy Markers"
    QCheckBox* showMarkerNumbersCheckBox = nullptr; // CheckBox15 "Show Markers"
    QCheckBox* harmonicsCheckBox = nullptr;        // CheckBox20 "Harmonics"
    QCheckBox* magnifyCheckBox = nullptr;          // CheckBox23 "Magnify"
    QCheckBox* fadeCheckBox = nullptr;             // CheckBox36 "fade"
    QCheckBox* clearFadeCheckBox = nullptr;        // CheckBox38 "clr"
    QPushButton* clearLastFadeButton = nullptr;    // Button14 "clear last"
    QComboBox* mathOperand1Combo = nullptr;        // ComboBox2, first operand
    QComboBox* mathOperatorCombo = nullptr;        // ComboBox1 "-", "+", "*", "/"
    QComboBox* mathOperand2Combo = nullptr;        // ComboBox3, second operand
    QPushButton* calcButton = nullptr;             // Button11 "Calc"
    QCheckBox* mathCheckBox = nullptr;             // CheckBox40 "Math"

    // --- Messages and report commands (MainWindowReport.cpp)
    QGroupBox* messagesGroup = nullptr;            // GroupBox3 "Messages"
    QPlainTextEdit* messageLog = nullptr;          // Memo1, the operator's message log
    QAction* saveMessagesAction = nullptr;         // SavetoFile1 "Save to File"
    QAction* clearMessagesAction = nullptr;        // ClearMessages1 "Clear Messages"
    QAction* savePeaksAction = nullptr;            // SavePeakstoFile1 "Save to File"
    QPushButton* clearTracesButton = nullptr;      // Button13 "Clear traces"
    QPushButton* reloadProjectFilesButton = nullptr; // Button18 "Reload Project Files"
    QCheckBox* useCompensationCheckBox = nullptr;  // CheckBox37 "use compensation"
    QCheckBox* debugCheckBox = nullptr;            // CheckBox1 "Debug"
    QPushButton* showLogButton = nullptr;          // Button1 "Show Log", debug only
    QPushButton* createIniFileButton = nullptr;    // Button19 "Create ini File", debug only
    QLabel* debugLabel = nullptr;                  // Label2, debug only

    // --- Views laid over the window (MainWindowGenerator.cpp, MainWindowCoverage.cpp)
    ImmunityFrame* immunityFrame = nullptr;        // Frame131, the generator view
    CoverageFrame* coverageFrame = nullptr;        // Frame141, the RF coverage view

    // --- Menus (MainWindowMenus.cpp)
    QAction* loadProjectAction = nullptr;          // load1 "Load Proj"
    QAction* saveProjectAction = nullptr;          // updateexisting1 "Save Proj"
    QAction* exitAction = nullptr;                 // "Exit"
    QAction* saUsbAction = nullptr;                // Visa1 "SA USB"
    QAction* saTcpAction = nullptr;                // CP1 "SA TCP"
    QAction* gpsUsbAction = nullptr;               // GPS1 "GPS USB"
    QAction* saSerialAction = nullptr;             // SASER1 "SA SER"
    QAction* editLimitAction = nullptr;            // N1 "Edit Limit"
    QAction* editCableAction = nullptr;            // EditCable1 "Edit Cable"
    QAction* editLisnAction = nullptr;             // EditLISN1 "Edit LISN"
    QAction* editGainAction = nullptr;             // EditAmplifier1 "Edit Gain"
    QAction* editAntennaAction = nullptr;          // EditAntenna1 "Edit Antenna"
    QAction* editSegmentsAction = nullptr;         // EditSegments1 "Edit Segments"
    QAction* editReportAction = nullptr;           // EditReport1 "Edit Report"
    QAction* editColorsAction = nullptr;           // EditColors1 "Edit Colors"
    QAction* mailAlertAction = nullptr;            // "Mail Alert"
    QMenu* modeMenu = nullptr;                     // "Mode"
    QAction* emcModeAction = nullptr;              // EMC1 "EMC"
    QAction* coverageModeAction = nullptr;         // Power1 "RF Coverage"
    QAction* generatorModeAction = nullptr;        // G1 "Generator"
    QAction* saveChartAction = nullptr;            // SaveChart1 "Save Chart"
    QAction* loadChartAction = nullptr;            // LoadChart1 "Load Chart"
    QAction* saveCompensationAction = nullptr;     // SaveasZero1 "Save Zero Compensation"
    QAction* loadCompensationAction = nullptr;     // LoadCompensation1 "Load Zero Compensation"
    QAction* loadReference1Action = nullptr;       // race11 "Trace1"
    QAction* loadReference2Action = nullptr;       // race21 "Trace2"
    QAction* loadReference3Action = nullptr;       // race31 "Trace 3"
    QAction* saveCsvAction = nullptr;              // "Save as CSV File "
    QAction* saveWmfAction = nullptr;              // Preview1 "Save as WMF File"
    QAction* printReportAction = nullptr;          // Chart2 "Print Report"
    QAction* measureDriftAction = nullptr;         // Meassure1 "Measure (consider drift)"
    QAction* measureExactAction = nullptr;         // Measure21 "Measure (ignore drift)"
    QAction* aboutAction = nullptr;                // About2 "About"
    QAction* whatsNewAction = nullptr;             // WhatsNew1 "What's New"
    QAction* functionMatrixAction = nullptr;       // "Function Matrix"
    // The folder dialog (OpenDialog3): it closes itself at the second change of folder.
    QFileDialog* folderDialog = nullptr;

    // The status bar's eight panels; the instrument layer writes panels 0 and 3, the parameter
    // grid's hint panel 2.
    QList<StatusPanel*> statusPanels;
    QTimer* statusTimer = nullptr;                 // Timer1, once a second

    // Panels: each builds its controls, and its wiring function holds its connects.
    QWidget* BuildChartPanel(QWidget* parent);
    QWidget* BuildViewPanel(QWidget* parent);
    QWidget* BuildTraceBar(QWidget* parent);
    QWidget* BuildSegmentsPanel(QWidget* parent);
    QWidget* BuildSweepPanel(QWidget* parent);
    QWidget* BuildInstrumentPanel(QWidget* parent);
    QWidget* BuildPeaksPanel(QWidget* parent);
    QWidget* BuildMarkersPanel(QWidget* parent);
    QWidget* BuildMessagesPanel(QWidget* parent);
    QWidget* BuildReportPanel(QWidget* parent);
    void BuildFrames(QWidget* parent);
    void BuildMenus();
    void BuildTableEditorLaunchers(QMenu* setup);
    void BuildStatusBar();
    void LayOutWindow();
    void WireMessages();
    void WireChart();
    void WireView();
    void WireSweep();
    void WireInstrument();
    void WirePeaks();
    void WireMarkers();
    void WireReport();
    void WireProject();
    void LogRefusedFile(const QString& reason);
    void WireGenerator();
    void WireCoverage();
    void WireMenus();

    // Start-up steps that belong to one panel.
    void SetUpChart();
    void SetUpViewBoxes();
    void SetUpSweepControls();
    void SetUpPeakControls();
    void SetUpCoverageFrame();
    void SetUpImmunityFrame();
    void ApplyAdvancedSettings();
    void ApplySegmentMarks();
    void PlaceFrames();
    // The small-screen window, title bar and frame included, on its screen.
    void FitSmallWindowToScreen();
    // The status panels' widths for the status bar's present width.
    void AllotStatusPanels();
    void BuildProjectTargets();
    void ApplyColors(const ColorSettings& colors, ColorSlotMask changed);
    // The table editor shows its preview alone, or the lines follow the view boxes again.
    void ShowTablePreviewOnly(bool previewOnly);
    void CoverageToProject();
    void ProjectToCoverage();
    void GeneratorToProject();
    void ProjectToGenerator();
    void ShowCaption();
    // Markers and overlays (MainWindowMarkers.cpp).
    void DrawChartOverlays();
    void EndChartPaint();
    void ChartMouseMoved(int x);
    void ChartMousePressed(int x);
    void PeakListDoubleClicked(const QStringListModel& freqs, const QStringListModel& levels, int row);
    void SelectMaxPeaksClicked(int set);
    void MarkerArmed(int set, bool checked);
    void RepaintChart();
    // The marks drawn outside a paint land on the chart's window surface (shown until the next
    // paint) with the chart's axes.
    OverlayPainter FrontPainter();
    void ShowFrontMarks();
    void WireLaterMarkers();
    // Chart files and reports (MainWindowReport.cpp).
    QString ChooseReportFile(ReportDialog dialog, bool save);
    ChartFileHooks ChartHooks();
    void ShowChartFileView();
    void WireLaterReports(ReportHeaderItems& reportHeader);
    void LaunchTableEditor(int32_t kind);
    void ShowConnectionWindow(int32_t kind);
    void ShowMode(int32_t mode);
    // Views, units, zoom and axes.
    void ChooseLevelUnit(LevelUnit clicked, bool checked);
    void PutPairOnTop(TopTracePair pair, QLabel* label);
    void ApplyLogAxis();
    void ChooseFaderMode(QCheckBox* clicked, bool checked);
    void ChartZoomed();
    void ChartZoomUndone();
    void AxisLabel(TChartAxis* axis, QString& text);
    void NextAxisLabel(TChartAxis* axis, int index, double& value, bool& stop);
    void SwitchFrequencyAxisToLinear();
    void ShowMagnifier(bool on);
    void SetUpMagnifier();
    // Instrument controls.
    void ChoosePreAmp();
    void StepReferenceLevel(bool down);
    // The arrow keys step the generator while its view owns the window.
    void WatchArrowKeys(bool on);
    void FolderChanged();
    // The run: its wiring, the settings it reads taken from the controls, the controls it sets,
    // who else owns the analyser, the mail notice, the status line and the set choice.
    class WindowRunHost;
    struct RunWiring;
    void WireRun();
    void SyncRunSettings();
    void ShowRunControls(const RunControls& controls);
    bool OtherInstrumentOwner() const;
    void SendRunNotice(int segment, int count);
    void StatusLineTick();
    void ApplySetChoice();
    // The main chart's lines as the view boxes say, after the table editor showed its preview.
    void RestoreMainSeriesVisibility();

    AppContext& app_;
    InstrumentState& instrument_;
    MainWindowState& state_;
    Forms& forms_;
    FormServices& services_;
    QStringList arguments_;
    QString programFolder_;

    QScrollArea* clientArea_ = nullptr;
    // The coverage and generator views each lie in an area of their own over the client area,
    // which scrolls them where the window is smaller than they are (the small-screen layout).
    bool smallWindowFitted_ = false;
    QScrollArea* coverageHost_ = nullptr;
    QScrollArea* generatorHost_ = nullptr;
    std::unique_ptr<MainChart> chart_;
    std::unique_ptr<ParameterGridModel> parameterModel_;
    // The coverage and generator grids as projects store them; the frames' own grids are copied
    // to them before a save and from them after a load.
    std::unique_ptr<ParameterGridModel> coverageValues_;
    std::unique_ptr<ParameterGridModel> generatorGridValues_;
    GeneratorViewValues generatorValues_;
    SegmentTable segments1_;
    SegmentTable segments2_;
    std::unique_ptr<CheckListModel> segmentChecks1_;
    std::unique_ptr<CheckListModel> segmentChecks2_;
    GridState gridState_;
    DataFileLists fileLists_;
    std::unique_ptr<AxisBounds> frequencyAxis_;
    std::unique_ptr<AxisBounds> levelAxis_;
    std::unique_ptr<AxisBounds> coverageLevelAxis_;
    std::unique_ptr<QtEventPump> ownPump_;
    std::unique_ptr<ScpiContext> scpi_;
    std::unique_ptr<ScpiGridInstrument> gridInstrument_;
    std::unique_ptr<FormDialogs> dialogs_;
    ProjectTargets targets_;
    ChartFileView chartFileView_;
    std::unique_ptr<GeneratorSettings> generatorSettings_;
    std::unique_ptr<CoverageInstrumentOwner> coverageOwner_;
    std::unique_ptr<InstrumentOwnership> generatorOwner_;
    std::unique_ptr<PeakLists> ownPeaks1_;
    std::unique_ptr<PeakLists> ownPeaks2_;
    PeakLists* shownPeaks1_ = nullptr;
    PeakLists* shownPeaks2_ = nullptr;
    // Views, units, zoom and axes.
    QObject* arrowKeys_ = nullptr; // the application's key filter while in the generator mode
    std::unique_ptr<TLibraryTexts> libraryTexts_;
    std::unique_ptr<TMagnifyTool> magnifier_;
    ChartBounds frozenBounds_;
    bool linearSwitchQueued_ = false;
    bool runOwnsInstrument_ = false;
    int32_t folderChanges_ = 0;
    std::unique_ptr<RunWiring> run_;
    // Markers and overlays.
    std::unique_ptr<MarkStamps> markStamps_;
    bool paintCursorShown_ = false;
    // Reports and the run's state.
    ReportHeaderItems* reportHeader_ = nullptr;
    std::unique_ptr<ReportPrinterProvider> printDialog_;
    bool runBusy_ = false;
    bool runGridLocked_ = false;
};

#endif
