#ifndef ZENDRIK_IMMUNITY_GENERATORVIEW_H
#define ZENDRIK_IMMUNITY_GENERATORVIEW_H

#include <QString>
#include <QStringList>
#include <array>

// The generator view without its widgets: what each edit shows and whether it may be typed in,
// which speed buttons are enabled and pressed, the marker boxes and the two memos. The generator
// controller works on it; the view copies it to its widgets and the operator's typing back.

// One edit box.
struct GeneratorEdit {
    QString Text;
    bool Red = false;      // the value was clamped and is shown in red
    bool ReadOnly = false;
};

inline constexpr int kFixedRows = 12;
inline constexpr int kSweepBands = 6;
inline constexpr int kRampTimes = 5;
// Speed buttons: 1..12 fixed rows, 13..18 sweep bands, 19 ramp, 20 manual stepping.
inline constexpr int kGeneratorButtons = 20;
inline constexpr int kFirstSweepButton = 13;
inline constexpr int kRampButton = 19;
inline constexpr int kManualButton = 20;

struct FixedFrequencyRow {
    GeneratorEdit Frequency; // Hz, thousands dots allowed
    GeneratorEdit Amplitude; // dBm
    QString PowerAndField;   // "PA[dBm]  E[V/m]"
};

struct SweepBand {
    GeneratorEdit Start;
    GeneratorEdit Stop;
    GeneratorEdit Step;
    GeneratorEdit Dwell; // ms
    GeneratorEdit Amplitude;
    QString PowerAndField;
};

struct PowerRamp {
    std::array<GeneratorEdit, kRampTimes> Times; // T0..T4 in ms
    GeneratorEdit StepsUp;
    GeneratorEdit StepsDown;
    GeneratorEdit Frequency;
    GeneratorEdit Low;
    GeneratorEdit High;
    bool Periodic = false; // "periodic", else "single shot"
    QString LowPowerAndField;
    QString HighPowerAndField;
};

struct ManualStepping {
    GeneratorEdit Frequency;
    GeneratorEdit Amplitude;
    GeneratorEdit FrequencyIncrement;
    GeneratorEdit AmplitudeIncrement;
    bool SpinButtonsEnabled = true;
};

struct FieldCalculatorBox {
    QString Input = QStringLiteral("0");
    QString Power;
    std::array<QString, 4> Fields;
};

struct GeneratorViewModel {
    std::array<FixedFrequencyRow, kFixedRows> Fixed;
    std::array<SweepBand, kSweepBands> Bands;
    PowerRamp Ramp;
    ManualStepping Manual;
    FieldCalculatorBox Calculator;
    // Index 0 is speed button 1.
    std::array<bool, kGeneratorButtons> ButtonEnabled{};
    std::array<bool, kGeneratorButtons> ButtonRunning{}; // shows the running image
    bool SettingsGridEnabled = true;
    QString MarkerFrequency; // Hz with thousands dots
    QString MarkerLevel;     // dBm
    QStringList Marks;
    QStringList Messages;

    FixedFrequencyRow& FixedRow(int button) { return Fixed[static_cast<size_t>(button - 1)]; }
    SweepBand& Band(int button) { return Bands[static_cast<size_t>(button - kFirstSweepButton)]; }
};

// The view as the main window's start-up leaves it.
GeneratorViewModel DefaultGeneratorView();

class TChartSeries;
// One tick of the view's calculator timer: the calculator box from its input (a warning goes to
// the messages), and the "PA[dBm]  E[V/m]" text of every fixed row, sweep band and ramp level.
// False, with nothing changed, while the input is a lone sign.
bool RefreshFieldStrengths(GeneratorViewModel& view, const TChartSeries& amplifierCorrection, double septumCm);

#endif
