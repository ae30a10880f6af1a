#ifndef ZENDRIK_APP_PLAUSIBLERANGES_H
#define ZENDRIK_APP_PLAUSIBLERANGES_H

#include <QString>

// What an instrument, a cable or a limit can hold. A number read from a file or an analyser
// outside its range is no measurement but a damaged value (one flipped exponent bit turns 20 dB
// into 1e308): it is refused where it is read, with a line that names it, and never measured
// with. Every reader takes its bound from here, so that a table, a chart file and an analyser
// answer agree on what is possible.
namespace plausible {

struct Range {
    double Low;
    double High;
    // False for NaN as for every value outside.
    constexpr bool Holds(double v) const { return v >= Low && v <= High; }
    // "-200..200", the text of the lines that refuse a value.
    QString Text() const { return QString::number(Low) + QStringLiteral("..") + QString::number(High); }
};

// A frequency in Hz: no analyser, table or segment reaches 1 THz.
inline constexpr Range kFrequencyHz{0.0, 1e12};
// The same in kHz, the unit of the chart's X values.
inline constexpr Range kFrequencyKhz{0.0, 1e9};
// A correction in dB (cable, LISN, attenuator, amplifier, antenna, TEM cell, a margin).
inline constexpr Range kCorrectionDb{-200.0, 200.0};
// A limit line or a chart level in dBuV.
inline constexpr Range kLimitDbuv{-200.0, 300.0};
// A level an analyser reports, however broken its input stage.
inline constexpr Range kAnalyserDbm{-200.0, 200.0};
// dBm to dBuV at 50 ohm, rounded: only the analyser bound uses it, on levels in dBuV.
inline constexpr double kBoundDbmToDbuv = 107.0;
inline constexpr Range kAnalyserDbuv{kAnalyserDbm.Low + kBoundDbmToDbuv, kAnalyserDbm.High + kBoundDbmToDbuv};
// Any point a chart or compensation file may carry: a measured level, a limit, a correction, or
// a corrected level, which is a measured one less the sum of several corrections.
inline constexpr Range kChartLevel{-1000.0, 1000.0};

} // namespace plausible

#endif
