#ifndef ZENDRIK_IMMUNITY_GENERATORVIEW_H
#define ZENDRIK_IMMUNITY_GENERATORVIEW_H

#include "immunity/GeneratorAction.h"

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

inline constexpr int kRampTimes = 5;

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
    // The speed button of each action.
    PerGeneratorAction<bool> ButtonEnabled;
    PerGeneratorAction<bool> ButtonRunning; // shows the running image
    bool SettingsGridEnabled = true;
    QString MarkerFrequency; // Hz with thousands dots
    QString MarkerLevel;     // dBm
    QStringList Marks;
    QStringList Messages;
    // The refusal of the amplifier table the messages last said (RefreshFieldStrengths).
    QString RefusedCorrection;
};

// The view as the main window's start-up leaves it.
GeneratorViewModel DefaultGeneratorView();

class TChartSeries;
// One tick of the view's calculator timer: the calculator box from its input (a warning goes to
// the messages), and the "PA[dBm]  E[V/m]" text of every fixed row, sweep band and ramp level;
// "--" while the amplifier table is refused (refusedCorrection, said once in the messages).
// False, with nothing changed, while the input is a lone sign.
bool RefreshFieldStrengths(GeneratorViewModel& view, const TChartSeries& amplifierCorrection, double septumCm,
                           const QString& refusedCorrection);

#endif
