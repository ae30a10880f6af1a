#ifndef ZENDRIK_IMMUNITY_FIELDSTRENGTH_H
#define ZENDRIK_IMMUNITY_FIELDSTRENGTH_H

#include <QString>
#include <array>

class TChartSeries;

// Generator power and the field strength it produces in a TEM cell between septum and wall:
// P_mW = 10^(p/10), U = sqrt(50 ohm x P_W), E = U x 100 / h with h in cm. The texts use the
// process-wide decimal mark.

// The four cells of the calculator box, by septum height in cm.
inline constexpr std::array<double, 4> kCalculatorSeptumCm = {2.8, 5.0, 10.0, 15.0};
// What the settings grid's "SEPTUM[cm]" starts with and falls back to.
inline constexpr double kDefaultSeptumCm = 2.8;

double PowerMilliwatts(double dBm);
double FieldStrengthVoltsPerMetre(double dBm, double septumCm);

// "1.00000000 mW" up to 1000 mW, above in watts with 2 decimals ("1.02 W").
QString FormatPowerFromDbm(double dBm);
// The field strength of a fixed cell rounded to whole V/m (halves to even), without the unit.
QString FieldStrengthCell1(double dBm); // 2.8 cm
QString FieldStrengthCell2(double dBm); // 5 cm
QString FieldStrengthCell3(double dBm); // 10 cm
QString FieldStrengthCell4(double dBm); // 15 cm
// The field strength for the configured septum height, 2 decimals.
QString FieldStrengthSeptum(double dBm, double septumCm);

// The amplifier correction at a frequency in kHz: linear between the two neighbouring points of
// the series (X in kHz, ascending), 0 where the series does not reach.
double CorrectionAt(const TChartSeries& correction, double khz);

// The "PA[dBm]  E[V/m]" text of one row: the amplitude plus the amplifier correction at the row's
// frequency (read at whole kHz, at least 100 kHz), 2 decimals, "-->" and the field strength for
// the septum height, or "--" when the amplitude is no number.
QString FormatRowPowerAndField(const QString& frequencyText, const QString& amplitudeText,
                               const TChartSeries& amplifierCorrection, double septumCm);

// The calculator box after one timer tick.
struct FieldCalculatorTexts {
    bool Refreshed = false; // false while the input is a lone sign: the operator is typing
    QString Input;
    QString Power;
    std::array<QString, 4> Fields; // with " V/m"
    QString Warning;                // for the view's messages, empty when none
};
// The calculator for the typed input (either decimal mark); -100 <= p < 101 dBm is shown,
// anything else empties the boxes and, unless the input was empty, warns.
FieldCalculatorTexts CalculateFieldBox(const QString& input);

#endif
