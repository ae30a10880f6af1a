#ifndef ZENDRIK_DATAFILES_GENERATORVIEWVALUES_H
#define ZENDRIK_DATAFILES_GENERATORVIEWVALUES_H

#include "app/PlausibleRanges.h"

#include <QString>
#include <array>
#include <cstdint>

// The texts of the generator view's edit boxes that a project stores, with the main window's
// start-up values. Frequencies in Hz (thousands dots allowed), levels in dBm, times in ms.
struct GeneratorViewValues {
    // What the boxes take from a project. A ramp phase or a dwell beyond a day is no test anyone
    // waits for; more steps than these the ramp refuses.
    static constexpr int32_t kMaxRampSteps = 30;
    static constexpr plausible::Range kRampSteps{0, kMaxRampSteps};
    static constexpr plausible::Range kRampTimeMs{0, 86'400'000};
    static constexpr plausible::Range kDwellMs{1, 86'400'000};

    // Power ramp.
    QString T0 = QStringLiteral("0");             // "T0[msec]"
    QString StepUp = QStringLiteral("3");         // "Step"
    QString T1 = QStringLiteral("1000");          // "T1[msec]"
    QString T2 = QStringLiteral("1000");          // "T2[msec]"
    QString StepDown = QStringLiteral("3");       // second "Step"
    QString T3 = QStringLiteral("1000");          // "T3[msec]"
    QString T4 = QStringLiteral("1000");          // "T4[msec]"
    QString RampFreq = QStringLiteral("150.000"); // "Freq[Hz]"
    QString LowPower = QStringLiteral("-15");     // "AmplitudeLow[dBm]"
    QString HighPower = QStringLiteral("-3");     // "AmplitudeHigh[dBm]"

    // "Fixed Frequencies": twelve rows.
    static constexpr int kFixedRows = 12;
    std::array<QString, kFixedRows> FixedHz = {
        QStringLiteral("100.000"),     QStringLiteral("300.000"),     QStringLiteral("600.000"),
        QStringLiteral("900.000"),     QStringLiteral("1.000.000"),   QStringLiteral("5.000.000"),
        QStringLiteral("10.000.000"),  QStringLiteral("50.000.000"),  QStringLiteral("70.000.000"),
        QStringLiteral("100.000.000"), QStringLiteral("500.000.000"), QStringLiteral("900.000.000")};
    std::array<QString, kFixedRows> FixedDbm = {
        QStringLiteral("-20"), QStringLiteral("-20"), QStringLiteral("-20"), QStringLiteral("-20"),
        QStringLiteral("-20"), QStringLiteral("-20"), QStringLiteral("-20"), QStringLiteral("-20"),
        QStringLiteral("-20"), QStringLiteral("-20"), QStringLiteral("-20"), QStringLiteral("-20")};

    // "Frequency Sweep": six bands.
    struct Band {
        QString StartHz;
        QString StopHz;
        QString StepHz;
        QString DwellMs;
        QString Dbm;
    };
    static constexpr int kBands = 6;
    std::array<Band, kBands> Bands = {
        Band{QStringLiteral("100.000"), QStringLiteral("100.000.000"), QStringLiteral("10.000"),
             QStringLiteral("1000"), QStringLiteral("-20")},
        Band{QStringLiteral("100.000.000"), QStringLiteral("500.000.000"), QStringLiteral("10.000.000"),
             QStringLiteral("1000"), QStringLiteral("-20")},
        Band{QStringLiteral("500.000.000"), QStringLiteral("1.000.000.000"), QStringLiteral("10.000.000"),
             QStringLiteral("1000"), QStringLiteral("-20")},
        Band{QStringLiteral("1.000.000.000"), QStringLiteral("1.200.000.000"), QStringLiteral("10.000.000"),
             QStringLiteral("1000"), QStringLiteral("-20")},
        Band{QStringLiteral("1.200.000.000"), QStringLiteral("1.300.000.000"), QStringLiteral("10.000.000"),
             QStringLiteral("1000"), QStringLiteral("-20")},
        Band{QStringLiteral("1.300.000.000"), QStringLiteral("1.500.000.000"), QStringLiteral("10.000.000"),
             QStringLiteral("1000"), QStringLiteral("-20")}};

    // Manual stepping.
    QString ManualFreq = QStringLiteral("150.000");    // "Frequency[Hz]"
    QString ManualAmp = QStringLiteral("-15");         // "Amplitude[dBm]"
    QString ManualFreqInc = QStringLiteral("100.000"); // "Frequency increment"
    QString ManualAmpInc = QStringLiteral("1");        // "Amplitude increment"
};

#endif
