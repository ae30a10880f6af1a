#ifndef ZENDRIK_FORMS_MAINWINDOW_H
#define ZENDRIK_FORMS_MAINWINDOW_H

#include "app/StatusBarPanel.h"
#include "datafiles/GeneratorViewValues.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectTargets.h"
#include "datafiles/TableFiles.h"
#include "forms/MeasurementSet.h"
#include "forms/WindowScpiContext.h"
#include "mainwindow/ColorSettings.h"
#include "mainwindow/ZoomRules.h"
#include "reports/ChartFileCommands.h"
#include "reports/ReportDialogs.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class MainChartControl;
class CoverageFrame;
class FormDialogs;
class ImmunityFrame;
class InstrumentPanel;
class MainChart;
class MainMenus;
class MarkerPages;
class MessagesPanel;
class ParameterGridModel;
class PeaksPanel;
class QFileDialog;
class QScrollArea;
class ReportHeaderItems;
class ReportPanel;
class ReportPrinterProvider;
class RunControl;
class ScpiGridInstrument;
class SegmentsPanel;
class StatusBarPanels;
enum class MainMode : int32_t;
enum class AnalyserHolder : uint8_t;
class SweepPanel;
class TraceBar;
class ViewPanel;
enum class LevelUnit;
enum class LinkKind : int32_t;
enum class PreAmpChoice;
enum class RefLevelArrow;
struct AppContext;
struct FamilyControls;
struct FormServices;
struct Forms;
struct GeneratorSettings;
struct InstrumentState;
struct MailSettings;
struct MailTransport;
struct MainWindowState;
struct MeasurementState;
struct RunControls;
struct RunEnd;
struct SmoothRangeStore;

// The main window (TForm1, designer name Form1): the main chart with its 29 series, the
// parameter grid, the peak lists, the view and run controls, the message log, the status bar and
// the menus, with the coverage and generator views laid over it in their modes.
//
// Each panel is a class of its own that owns its controls and offers methods and signals:
// SweepPanel (run buttons, measurement set, parameter grid), SegmentsPanel, PeaksPanel,
// InstrumentPanel, ReportPanel, ViewPanel, TraceBar, MarkerPages (PageControl1), MessagesPanel,
// StatusBarPanels and MainMenus; MainChartControl does the same for the chart (Chart1); the
// coverage and generator views are CoverageFrame and ImmunityFrame. The window creates them and wires them, one source file per
// concern: chart and zoom (MainWindowChart.cpp), view toggles and units (MainWindowView), marks,
// markers and math (MainWindowMarkers), measurement set and run (MainWindowSweep), peaks
// (MainWindowPeaks), instrument (MainWindowInstrument), chart files and reports
// (MainWindowReport), projects (MainWindowProject), generator view (MainWindowGenerator), coverage
// view and modes (MainWindowCoverage) and the menus (MainWindowMenus). What spans panels, such as
// a run enabling and disabling controls, is a method per panel called from one place here.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext& app, InstrumentState& instrument, MainWindowState& state, Forms& forms,
               FormServices& services, const QStringList& arguments, const QString& programFolder);
    ~MainWindow() override;

    // --- What the other windows, the program entry and tests reach
    MainChart& chart();
    ParameterGridModel& parameters() { return *parameterModel_; }
    ProjectTargets& projectTargets() { return targets_; }
    const DataFileLists& fileLists() const { return fileLists_; }
    SegmentTable& segmentTable(MeasureSet set) { return sets_[set].segments; }
    CheckListModel& segmentChecks(MeasureSet set) { return sets_[set].segmentChecks; }
    // The peak lists the window shows: the peak commands', once they exist.
    PeakLists& peakLists(MeasureSet set) { return *sets_[set].shownPeaks; }
    // Shows or hides the controls and series only debug mode shows.
    void showDebugControls(bool shown);
    // Text of one of the status bar's panels.
    void setStatusText(StatusBarPanel panel, const QString& text);
    // Rebuilds the seven file pick lists and the main grid's lists from ".\src" and ".\rep".
    void refreshFileLists();
    // Loads a project file as "Load Proj" does once its dialog has a name; nothing while a run
    // owns the traces.
    void openProject(const QString& path);
    // The table editor's creation offers the coverage feature: "GPS USB" and the "Mode" menu.
    void enableCoverageFeature();
    // Links the windows created after this one (connection window, table editor, report header
    // editor, CSV export): the program entry calls it once they all exist.
    void wireLaterWindows(ReportHeaderItems& reportHeader);
    // The axis bounds at the last mouse-down on the chart, which the zoom rules restore.
    const ChartBounds& frozenBounds() const;
    // What a zoom rectangle does, as "fade" and "clr" say.
    FaderMode faderMode() const;
    // The chosen set's smoothed ranges.
    SmoothRangeStore& selectedSmoothRanges();
    void loadChart();          // "Load Chart"
    void loadCompensation();   // "Load Zero Compensation"
    void reloadProjectFiles(); // "Reload Project Files"
    // The run control's controls as it publishes them: "Load Chart" is disabled while a run is
    // active (measuring or paused), "Load Zero Compensation" and "Reload Project Files" while the
    // parameter grid is locked (measuring).
    void followRunControls(const RunControls& controls);
    // While anyone holds the analyser (AnalyserHold), the reference-level arrows and the
    // preamplifier choice are greyed.
    void showAnalyserHeld(bool held);
    MeasurementState& measurementState();
    // The mail account and alert switches the run's notices go out with, and how the server is
    // reached; the program entry sets them once the mail window exists.
    void setMailSettings(MailSettings& mail, const MailTransport& transport);

    // True while an emission run (or its peak re-measurement) owns the analyser and the traces.
    std::function<bool()> emissionRunActive;
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
    class WindowRunHost;
    struct RunWiring;

    // Construction and start-up (MainWindow.cpp): the panels in their places, then each concern's
    // wiring, then the start-up in the order it has always run.
    void LayOutWindow();
    void StartUp();
    void ApplyAdvancedSettings();
    void WireMessages();
    void SwitchDebugMode(bool on);
    void ShowLogger();
    void CreateSettingsFile();
    // The small-screen window, title bar and frame included, on its screen.
    void FitSmallWindowToScreen();
    // Chart and zoom (MainWindowChart.cpp).
    void WireChart();
    void ChartZoomed();
    void ChartZoomUndone();
    void UndoZoom();
    void ClearLastFade();
    SetSmoothing SelectedSetSmoothing();
    void ApplyColors(const ColorSettings& colors, ColorSlotMask changed);
    // The table editor shows its preview alone, or the lines follow the view boxes again.
    void ShowTablePreviewOnly(bool previewOnly);
    void RestoreMainSeriesVisibility();
    void ApplySegmentMarks();
    // View toggles and units (MainWindowView.cpp).
    void WireView();
    void ChooseLevelUnit(LevelUnit clicked, bool checked);
    void ClearAll();
    void ClearChart();
    // What was measured on a set's plan, once another plan replaced it.
    void DropSetResults(MeasureSet set);
    // Marks, markers and math (MainWindowMarkers.cpp).
    void WireMarkers();
    void WireLaterMarkers();
    void DrawChartOverlays();
    void ChartMouseMoved(int x);
    void ChartMousePressed(int x);
    void ClearMarkers(MeasureSet set, bool all);
    void CopyMarkers();
    void CalcMath();
    // Measurement set and run (MainWindowSweep.cpp).
    void WireSweep();
    void ApplySetChoice();
    void WireRun();
    void SyncRunSettings();
    void ShowRunControls(const RunControls& controls);
    RunControl& Run();
    // A run, a recalculation or a re-measurement owns the instrument and the traces.
    bool RunActive() const;
    // The program's answer to who holds the analyser: the instrument's AnalyserHold, which every
    // window, this one too, asks.
    AnalyserHolder AnalyserHolderNow() const;
    // A generator action or the coverage logging holds the analyser, or a window's command waits
    // for it: Play and the peak re-measurement wait.
    bool OtherInstrumentOwner() const;
    void Play();
    void Stop();
    void Pause();
    void StatusLineTick();
    // After segment `segment` of `count`, or with end, at the end of a pass.
    void SendRunNotice(int segment, int count, const RunEnd* end = nullptr);
    void ReadRunSwitches();
    // Peaks (MainWindowPeaks.cpp).
    void ShowPeakLists(PeakLists& set1, PeakLists& set2);
    void DisplayPeaks();
    void ClearPeaks();
    void MeasurePeaks(bool considerDrift);
    // Instrument (MainWindowInstrument.cpp).
    void WireInstrument();
    void ChoosePreAmp(PreAmpChoice choice);
    void StepReferenceLevel(RefLevelArrow arrow);
    void ApplyFamilyControls(const FamilyControls& controls);
    void ShowConnectionWindow(LinkKind kind);
    // Chart files and reports (MainWindowReport.cpp).
    void WireReport();
    void WireLaterReports(ReportHeaderItems& reportHeader);
    ChartFileContext ChartFiles();
    ChartFileHooks ChartHooks();
    QString ChooseReportFile(ReportDialog dialog, bool save);
    void ShowChartFileView();
    void SaveChart();
    void SaveCompensation();
    void UseCompensationClicked();
    void LoadReferenceTrace(int slot);
    void ClearReferenceTraces();
    void SavePeaks();
    void SaveMessages();
    void SaveChartAsWmf();
    void PrintReport();
    // Projects (MainWindowProject.cpp).
    void BuildProjectTargets();
    void WireProject();
    void LogRefusedFile(const QString& reason);
    void LoadProject();
    void SaveProject();
    void ShowCaption();
    // The views laid over the window and the modes (MainWindowCoverage.cpp,
    // MainWindowGenerator.cpp).
    void BuildFrames(QWidget* parent);
    void WireCoverage();
    void WireGenerator();
    void SetUpCoverageFrame();
    void SetUpImmunityFrame();
    void PlaceFrames();
    void ShowMode(MainMode mode);
    // The arrow keys step the generator while its view owns the window.
    void WatchArrowKeys(bool on);
    void CoverageToProject();
    void ProjectToCoverage();
    void GeneratorToProject();
    void ProjectToGenerator();
    // Menus (MainWindowMenus.cpp).
    void WireMenus();
    void LaunchTableEditor(TableKind kind);
    void FolderChanged();

    AppContext& app_;
    InstrumentState& instrument_;
    MainWindowState& state_;
    Forms& forms_;
    FormServices& services_;
    QStringList arguments_;
    QString programFolder_;

    // The panels, in the order they are laid out.
    QScrollArea* clientArea_ = nullptr;
    SweepPanel* sweepPanel_ = nullptr;
    std::unique_ptr<MainChartControl> chartControl_;
    TraceBar* traceBar_ = nullptr;
    ViewPanel* viewPanel_ = nullptr;
    MarkerPages* markerPages_ = nullptr;
    PeaksPanel* peaksPanel_ = nullptr;
    SegmentsPanel* segmentsPanel_ = nullptr;
    InstrumentPanel* instrumentPanel_ = nullptr;
    ReportPanel* reportPanel_ = nullptr;
    MessagesPanel* messagesPanel_ = nullptr;
    // The coverage (Frame141) and generator (Frame131) views each lie in an area of their own over
    // the client area, which scrolls them where the window is smaller than they are (the
    // small-screen layout).
    CoverageFrame* coverageFrame_ = nullptr;
    ImmunityFrame* immunityFrame_ = nullptr;
    QScrollArea* coverageHost_ = nullptr;
    QScrollArea* generatorHost_ = nullptr;
    MainMenus* menus_ = nullptr;
    StatusBarPanels* statusPanels_ = nullptr;
    // The folder dialog (OpenDialog3): it closes itself at the second change of folder.
    QFileDialog* folderDialog = nullptr;
    int32_t folderChanges_ = 0;
    bool smallWindowFitted_ = false;
    // The application's key filter while in the generator mode.
    QObject* arrowKeys_ = nullptr;

    // The logic the panels show.
    std::unique_ptr<ParameterGridModel> parameterModel_;
    // The coverage and generator grids as projects store them; the frames' own grids are copied
    // to them before a save and from them after a load.
    std::unique_ptr<ParameterGridModel> coverageValues_;
    std::unique_ptr<ParameterGridModel> generatorGridValues_;
    GeneratorViewValues generatorValues_;
    PerSet<MeasurementSet> sets_{{{MeasurementSet(MeasureSet::Set1), MeasurementSet(MeasureSet::Set2)}}};
    GridState gridState_;
    DataFileLists fileLists_;
    std::unique_ptr<AxisBounds> coverageLevelAxis_;
    WindowScpiContext scpi_;
    std::unique_ptr<ScpiGridInstrument> gridInstrument_;
    std::unique_ptr<FormDialogs> dialogs_;
    ProjectTargets targets_;
    ChartFileView chartFileView_;
    std::unique_ptr<GeneratorSettings> generatorSettings_;
    std::unique_ptr<RunWiring> run_;
    ReportHeaderItems* reportHeader_ = nullptr;
    std::unique_ptr<ReportPrinterProvider> printDialog_;
    // What the file commands see of the run: the controls it last published.
    bool runBusy_ = false;
    bool runGridLocked_ = false;
};

#endif
