#ifndef ZENDRIK_FORMS_IMMUNITYFRAME_H
#define ZENDRIK_FORMS_IMMUNITYFRAME_H

#include "datafiles/GeneratorViewValues.h"
#include "forms/WindowScpiContext.h"
#include "immunity/GeneratorController.h"
#include "immunity/GeneratorView.h"
#include "immunity/ImmunityReport.h"
#include "mainwindow/MainMode.h"

#include <QDateTime>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;
class QToolButton;
class RampDiagram;
class TableBuffer;
class TChartSeries;
struct AppContext;
struct FormServices;
struct GeneratorSettings;
struct InstrumentState;

// The generator view laid over the main window in generator mode: fixed frequencies, sweep
// bands, the power ramp, manual stepping, the field-strength calculator, marks and the immunity
// report. Handlers read the controls into the view model, call the generator controller and
// show the model again.
class ImmunityFrame : public QWidget {
    Q_OBJECT
public:
    ImmunityFrame(AppContext& app, InstrumentState& instrument, FormServices& services, GeneratorSettings& settings,
                  QWidget* parent = nullptr);
    ~ImmunityFrame() override;

    // What the main window supplies.
    // Only in the generator mode the calculator timer runs and the floating boxes are shown.
    void setMainMode(MainMode mode);
    MainMode mainMode() const { return mainMode_; }
    // Who else holds the analyser (the program's AnalyserHold) changed: the buttons follow.
    void refreshInstrumentOwnership();
    // The main chart's Series23 and Series24 and the table editor's grid, once they exist;
    // until then the frame uses its own.
    void setCorrectionSeries(TChartSeries* amplifier, TChartSeries* temCell);
    void setTableGrid(TableBuffer* grid);
    // "TG_FieldValue" of the settings file: the field-strength texts and the correction rows.
    void setFieldValueShown(bool on);
    // Rebuilds the pick lists of the settings grid from ".\src".
    void refreshFileLists();
    // A key the main window saw in generator mode. The arrow keys step the generator unless one
    // of the view's memos has the focus; true when the key made a step.
    bool handleMainWindowKey(int key);
    // The window closes: stop whatever radiates while the instrument session is still open. False
    // while a generator call is still under way: the close is to come again once it has returned.
    bool shutDownGenerator();

    // What a project stores of the view: the texts of the ramp, fixed-frequency, sweep and
    // manual-stepping boxes, and the settings grid's values by row.
    GeneratorViewValues projectValues() const;
    void setProjectValues(const GeneratorViewValues& values);
    QString settingValue(const QString& row) const;
    // Sets a row's value and takes it as the operator's choice (the row is validated).
    void setSettingValue(const QString& row, const QString& value);

    // Stepping operations (also the arrow keys).
    void stepFrequencyUp();
    void stepFrequencyDown();
    void stepAmplitudeUp();
    void stepAmplitudeDown();

    // The calculator timer's tick.
    void refreshFieldStrengths();
    // Floating boxes: leaving the generator mode hides the shown ones, entering shows them again.
    void hideFloatingBoxes();
    void showFloatingBoxes();
    // Places the ramp fields over the diagram.
    void layoutRampFields();

    // A generator action runs or a stopped loop has not returned yet.
    bool generatorActionActive() const;
    // The line a view the operator moves to shows while the generator runs or was left on; empty
    // while its output is off.
    QString generatorOnLine() const;
    // What the status bar shows of the output: "Generator on", "Generator may be on", or nothing.
    QString generatorOutputText() const;
    // The main chart's Series23 as the frame uses it (its own until one is supplied).
    const TChartSeries& amplifierCorrection() const { return *amplifier_; }
    // Empties the "Messages" memo.
    void clearMessages();
    void showLogo();
    // The save dialog of the immunity report; tests replace it. Empty result: cancelled.
    std::function<QString(const ImmunityReportDialog&)> chooseReportFile;
    // The clock of the marks and the report.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

signals:
    // A generator action started (true) or the last one ended (false).
    void generatorActionChanged(bool active);
    // The output went on or off (generatorOutputText()).
    void generatorOutputChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // One floating box: shown as a tool window of the frame, hidden again by its button.
    struct FloatingBox {
        QGroupBox* box = nullptr;
        bool floating = false; // shown floating (the box flag)
        bool placed = false;   // remembered has a value
        QPoint remembered;
    };

    void BuildControls();
    QToolButton* MakeSpeedButton(QWidget* group, GeneratorAction action);
    QWidget* BuildFixedRows();
    QWidget* BuildSweepBands();
    QWidget* BuildRamp();
    QWidget* BuildManual();
    void BuildFloatingBoxes();
    void BuildSettingsGrid();
    void ConnectHandlers();
    void ClickAction(GeneratorAction action);
    QLineEdit* Bind(QLineEdit* edit, GeneratorEdit& model);
    void ShowView();
    void ShowMemo(QPlainTextEdit* memo, const QStringList& lines, int& shown);
    void ValidateSetting(int row);
    void ToggleBox(FloatingBox& box);
    void ShowBox(FloatingBox& box);
    std::vector<QPoint> FirstBoxPlaces();
    void HideBox(FloatingBox& box);
    void SaveReport();
    void AddMark(QChar sign);
    void ShowError(const QString& text);
    // Why the amplifier table "Amp Cor" names is refused (RefusedAmplifierTable); empty while usable.
    QString refusedCorrection() const;
    template <class F> void Guarded(F&& handler);

    // Controls; objectName is the designer's name where the view's designer gave one that is known
    // (tests find them by it).
    PerGeneratorAction<QToolButton*> speedButtons;                     // SpeedButton1..SpeedButton20
    std::array<QLineEdit*, kFixedRows> fixedFrequencyEdits{};          // "Frequency[Hz]"
    std::array<QLineEdit*, kFixedRows> fixedAmplitudeEdits{};          // "Amplitude[dBm]"
    std::array<QLineEdit*, kFixedRows> fixedFieldEdits{};              // Edit57..Edit68 "PA[dBm]  E[V/m]"
    std::array<QLineEdit*, kSweepBands> sweepStartEdits{};             // "Start[Hz]"
    std::array<QLineEdit*, kSweepBands> sweepStopEdits{};              // "Stop[Hz]"
    std::array<QLineEdit*, kSweepBands> sweepStepEdits{};              // "StepSize[Hz]"
    std::array<QLineEdit*, kSweepBands> sweepDwellEdits{};             // "DwellTime[msec]"
    std::array<QLineEdit*, kSweepBands> sweepAmplitudeEdits{};         // "Amplitude[dBm]"
    std::array<QLineEdit*, kSweepBands> sweepFieldEdits{};             // Edit69..Edit74
    std::array<QLineEdit*, kRampTimes> rampTimeEdits{};                // LabeledEdit1, 4, 8, 6, 9: T0..T4
    QLineEdit* rampStepsUpEdit = nullptr;                              // LabeledEdit3 "Step"
    QLineEdit* rampStepsDownEdit = nullptr;                            // LabeledEdit7 "Step"
    QLineEdit* rampFrequencyEdit = nullptr;                            // "Freq[Hz]"
    QLineEdit* rampLowEdit = nullptr;                                  // LabeledEdit5 "AmplitudeLow[dBm]"
    QLineEdit* rampHighEdit = nullptr;                                 // LabeledEdit10 "AmplitudeHigh[dBm]"
    QLineEdit* rampLowFieldEdit = nullptr;                             // LabeledEdit11 "PA[dBm]  E[V/m]"
    QLineEdit* rampHighFieldEdit = nullptr;                            // LabeledEdit12 "PA[dBm]  E[V/m]"
    QRadioButton* singleShotRadio = nullptr;                           // "single shot"
    QRadioButton* periodicRadio = nullptr;                             // "periodic"
    RampDiagram* rampDiagram = nullptr;                                // PaintBox1
    QLineEdit* manualFrequencyEdit = nullptr;                          // LabeledEdit17 "Frequency[Hz]"
    QLineEdit* manualAmplitudeEdit = nullptr;                          // LabeledEdit18 "Amplitude[dBm]"
    QLineEdit* manualFrequencyIncrementEdit = nullptr;                 // LabeledEdit19 "Frequency increment"
    QLineEdit* manualAmplitudeIncrementEdit = nullptr;                 // "Amplitude increment"
    QWidget* frequencySpin = nullptr;                                  // SpinButton1
    QToolButton* frequencyUpButton = nullptr;
    QToolButton* frequencyDownButton = nullptr;
    QWidget* amplitudeSpin = nullptr;                                  // SpinButton2
    QToolButton* amplitudeUpButton = nullptr;
    QToolButton* amplitudeDownButton = nullptr;
    QPushButton* showCalculatorButton = nullptr;                       // Button3 "Show [V/m] Calculator"
    QPushButton* showMarkerButton = nullptr;                           // Button4 "Show Marker"
    QPushButton* showSettingsButton = nullptr;                         // Button5 "Show Settings"
    QPushButton* showMessagesButton = nullptr;                         // Button6 "Show Messages"
    QGroupBox* settingsBox = nullptr;                                  // GroupBox5 "Settings"
    QGroupBox* messagesBox = nullptr;                                  // GroupBox6 "Messages"
    QGroupBox* calculatorBox = nullptr;                                // GroupBox8 "dBm-->V/m"
    QGroupBox* markerBox = nullptr;                                    // GroupBox9 "Marker"
    QTableWidget* settingsGrid = nullptr;                              // ValueListEditor1
    QPlainTextEdit* messagesMemo = nullptr;                            // Memo2 "Messages"
    QPlainTextEdit* marksMemo = nullptr;                               // Memo1 "Marks"
    QLineEdit* calculatorInputEdit = nullptr;                          // "dBm"
    QLineEdit* calculatorPowerEdit = nullptr;                          // "Power"
    std::array<QLineEdit*, 4> calculatorFieldEdits{};                  // "2.8 cm" .. "15 cm"
    QLineEdit* markerFrequencyEdit = nullptr;                          // "Freq[Hz]"
    QLineEdit* markerLevelEdit = nullptr;                              // "Level[dBm]"
    QPushButton* markStarButton = nullptr;                             // Button1 "Mark Freq by *"
    QPushButton* markHashButton = nullptr;                             // Button2 "Mark Freq by #"
    QLabel* fixedFieldHeading = nullptr;                               // Label10 "PA[dBm]  E[V/m]"
    QLabel* sweepFieldHeading = nullptr;                               // Label11 "PA[dBm]  E[V/m]"
    QTimer* calculatorTimer = nullptr;                                 // Timer1, 1000 ms
    QLabel* logo = nullptr;                                            // Image2, the program's logo

    AppContext& app_;
    InstrumentState& instrument_;
    FormServices& services_;
    GeneratorSettings& settings_;
    WindowScpiContext scpi_;
    GeneratorViewModel view_ = DefaultGeneratorView();
    GeneratorState state_;
    std::unique_ptr<GeneratorController> controller_;
    std::unique_ptr<TChartSeries> ownAmplifier_;
    std::unique_ptr<TChartSeries> ownTemCell_;
    std::unique_ptr<TableBuffer> ownGrid_;
    TChartSeries* amplifier_ = nullptr;
    TChartSeries* temCell_ = nullptr;
    TableBuffer* grid_ = nullptr;
    std::vector<std::pair<QLineEdit*, GeneratorEdit*>> bindings_;
    std::vector<std::pair<QLineEdit*, const QString*>> displays_;
    std::vector<std::pair<QLabel*, QLineEdit*>> rampLabels_;
    std::array<FloatingBox, 4> boxes_; // settings, messages, calculator, markers
    std::vector<QPoint> firstPlaces_;  // where each box opens the first time, once one has opened
    QPointer<QWidget> watchedWindow_;
    MainMode mainMode_ = MainMode::Emc;
    int shownMessages_ = 0;
    int shownMarks_ = 0;
    bool syncing_ = false;
    bool fieldValueShown_ = false;
};

#endif
