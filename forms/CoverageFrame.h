#ifndef ZENDRIK_FORMS_COVERAGEFRAME_H
#define ZENDRIK_FORMS_COVERAGEFRAME_H

#include "chart/canvas/PlotColor.h"
#include "coverage/CoverageModel.h"
#include "forms/WindowScpiContext.h"

#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTimer;
class CoverageView;
class TChart;
class TPointSeries;
class TableBuffer;
struct AppContext;
struct FormServices;
struct InstrumentState;

// The RF coverage view (TFrame14, placed on the main window as Frame141): the settings grid, the
// logging buttons, the drive-test calculators, the GPS and level fields and the view's memo. The
// work is done by CoverageView; the handlers read the controls, call it and show its models.
//
// The main window embeds the frame, calls windowClosing() when it closes, answers who holds the
// analyser (AnalyserHold) with the coverage logging while loggingActive(), and connects
// the connection window's "RD RMC" to showGpsReceiver(). The level chart shows the view's series
// (CoverageChart): the levels against the point index, the corrections (kHz, dB) on the top and
// right axes.
class CoverageFrame : public QWidget, private CoverageHost {
    Q_OBJECT
public:
    CoverageFrame(AppContext& app, InstrumentState& instrument, TableBuffer& tableGrid,
        FormServices& services, QWidget* parent = nullptr);
    ~CoverageFrame() override;

    CoverageView& view() { return *view_; }
    bool loggingActive() const;
    // The main window closes: logging stops as with "Stop".
    void windowClosing();
    // Shows the receiver's fields (after a poll made elsewhere) and everything else of the models.
    void showGpsReceiver();
    // The main window's start-up: the drive-test calculators from the combo boxes, the latch
    // button's two lines, the program's logo.
    void startUp();
    // The background of the level and GPS charts, as the colour settings give the main chart's.
    void setChartBackColor(TColor color);

    // Handlers.
    void initAnalyser(); // Button18 "Init SA"
    void startLogging(); // Button14 "Start"
    void stopLogging(); // Button15 "Stop"
    void latchFile(); // Button1 "Latch FILE"
    void clearMasterLogfile(); // Button17 "clr master logfile"
    void showCorrectionData(); // Button2 "Get Cor Data"
    void coverageTick(); // Timer3
    void driveInputsChanged(); // ComboBox1, ComboBox2, ComboBox3
    void latchPointsChanged(); // ComboBox4

    // The OK / Cancel question; tests answer it.
    std::function<bool(const QString&)> askOkCancel;

signals:
    // "Start" or "Stop" was pressed (after its handler), or a tick ended the logging (a lost
    // analyser or receiver): who else owns the analyser may have changed.
    void startOrStopPressed();

private:
    // Controls; each objectName is the designer's name where the designer gave one.
    QTableView* settingsGrid = nullptr; // ValueListEditor2, "Parameter" / "Value"
    QPushButton* initSaButton = nullptr; // Button18 "Init SA"
    QPushButton* startButton = nullptr; // Button14 "Start"
    QPushButton* stopButton = nullptr; // Button15 "Stop"
    QPushButton* latchButton = nullptr; // Button1 "Latch" / "File"
    QPushButton* clearLogButton = nullptr; // Button17 "clr master logfile"
    QPushButton* corDataButton = nullptr; // Button2 "Get Cor Data", on the level chart
    QCheckBox* skipNonMovingCheckBox = nullptr; // CheckBox21 "skip non moving"
    QCheckBox* simulateMovingCheckBox = nullptr; // CheckBox1 "simulate moving"
    QCheckBox* beepCheckBox = nullptr; // CheckBox2 "Beep"
    QComboBox* intervalCombo = nullptr; // ComboBox2 "Interval [ms]"
    QComboBox* speedCombo = nullptr; // ComboBox1 "Speed [km/h]"
    QComboBox* lengthCombo = nullptr; // ComboBox3 "Length [km]"
    QComboBox* latchPointsCombo = nullptr; // ComboBox4 "Latch Points"
    QLineEdit* resolutionEdit = nullptr; // Edit1 "Resulution [m]"
    QLineEdit* pointsEdit = nullptr; // Edit2 "Points"
    QPlainTextEdit* memo = nullptr; // memo2
    QGroupBox* gpsLevelGroup = nullptr; // "GPS&&Level"
    QLineEdit* indexEdit = nullptr; // "Index"
    QLineEdit* statusEdit = nullptr; // "Status"
    QLineEdit* dateEdit = nullptr; // "Date"
    QLineEdit* utcEdit = nullptr; // "UTC"
    QLineEdit* latitudeEdit = nullptr; // "Lat dec"
    QLineEdit* nsEdit = nullptr; // "NS"
    QLineEdit* longitudeEdit = nullptr; // "Lon dec"
    QLineEdit* ewEdit = nullptr; // "EW"
    QLineEdit* speedEdit = nullptr; // "Speed [km/h]"
    QLineEdit* freqEdits[3] = {}; // "Freq A [Hz]", "Freq B [Hz]", "Freq C [Hz]"
    QLineEdit* levelEdits[3] = {}; // "Level A [dBm]", "Level B [dBm]", "Level C [dBm]"
    QLineEdit* tickErrorsEdit = nullptr; // "T3-Err"
    QLineEdit* recentKmlEdit = nullptr; // "recent kml file"
    TChart* levelChart = nullptr; // Chart3 "Level", left axis "dBm": the view's level and correction series
    TChart* gpsChart = nullptr; // Chart1 "GPS Data"
    TPointSeries* gpsTrack = nullptr; // Series1 of the GPS chart, the receiver's track
    QLabel* logo = nullptr; // Image2
    QTimer* coverageTimer = nullptr; // Timer3, off at start

    void BuildControls();
    void FillCorrectionPickLists();
    QWidget* BuildCharts();
    void ShowLevelRange();
    template <class F> void Guarded(F&& handler);

    // CoverageHost.
    void StartTimer(int intervalMs) override;
    void StopTimer() override;
    void ShowError(const QString& text) override;
    bool ConfirmOkCancel(const QString& text) override;
    void Beep(int hz, int ms) override;
    void Refresh() override;

    AppContext& app_;
    InstrumentState& instrument_;
    FormServices& services_;
    WindowScpiContext context_;
    std::unique_ptr<CoverageView> view_;
    // The Stop the ticks' waits on the analyser and the receiver ask for: set when the timer stops.
    bool stopRequested_ = false;
    std::unique_ptr<TPointSeries> ownTrack_;
    bool ownsReceiverBeep_ = false;
    qsizetype memoLinesShown_ = 0;
};

#endif
