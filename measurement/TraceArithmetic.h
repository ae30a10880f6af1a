#ifndef ZENDRIK_MEASUREMENT_TRACEARITHMETIC_H
#define ZENDRIK_MEASUREMENT_TRACEARITHMETIC_H

#include <QChar>
#include <array>

class TChartSeries;

// The "Math" tab: two traces combined point by point into the result trace.

// Clears result, then for every point (x, y) of a adds (x, y op v) in red, v being b's level at
// x rounded to whole kHz (0 where b does not reach). op is '-', '+', '*' or '/'; a division by
// v = 0 adds no point.
void CombineSeries(TChartSeries& a, TChartSeries& b, TChartSeries& result, QChar op);

// The operands in the order of the operand boxes (ComboBox2, ComboBox3): the reference traces
// 1-3 of set 1 and set 2, then the corrected traces.
inline constexpr int kMathOperandCount = 8;
inline constexpr std::array<const char*, kMathOperandCount> kMathOperandNames = {"T1S1", "T1S2", "T2S1", "T2S2",
                                                                                "T3S1", "T3S2", "S1",   "S2"};
// The operator box (ComboBox1).
inline constexpr std::array<char, 4> kMathOperators = {'-', '+', '*', '/'};

struct MathSeries {
    // Series12, Series13, Series19, Series20, Series21, Series22, Series7, Series9.
    std::array<TChartSeries*, kMathOperandCount> Operands{};
    TChartSeries* Result = nullptr; // Series27
};

// "Calc" (Button11) with the three boxes' item indexes. True when the result was computed (the
// main window then ticks "Math", CheckBox40, which shows the result); an index outside its box
// or a missing series computes nothing.
bool CalcMath(const MathSeries& series, int first, int op, int second);

#endif
