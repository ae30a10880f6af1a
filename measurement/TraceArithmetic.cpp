#include "measurement/TraceArithmetic.h"

#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "measurement/CorrectionChain.h"

#include <vector>

void CombineSeries(TChartSeries& a, TChartSeries& b, TChartSeries& result, QChar op)
{
    const char o = static_cast<char>(op.unicode());
    const std::span<const double> ax = a.XValues().Values();
    const std::span<const double> ay = a.YValues().Values();
    std::vector<double> xs, ys;
    xs.reserve(ax.size());
    ys.reserve(ax.size());
    // The first operand's points run upwards, so b is read by a walk instead of a search per point.
    SeriesLookup other(&b);
    for (size_t i = 0; i < ax.size(); ++i) {
        const double x = ax[i];
        const double y = ay[i];
        const SeriesLevel l = other.Level(RoundHalfEven(x));
        const double v = l.Status == 1 ? l.Level : 0.0;
        double r = 0;
        switch (o) {
        case '-': r = y - v; break;
        case '+': r = y + v; break;
        case '*': r = y * v; break;
        case '/':
            if (v == 0.0)
                continue;
            r = y / v;
            break;
        default: continue;
        }
        xs.push_back(x);
        ys.push_back(r);
    }
    TChartSeries::UpdateScope update(result);
    result.Clear();
    result.AddPointsXY(xs, ys, clRed);
}

bool CalcMath(const MathSeries& series, int first, int op, int second)
{
    auto valid = [](int index, int count) { return index >= 0 && index < count; };
    if (!series.Result || !valid(first, kMathOperandCount) || !valid(second, kMathOperandCount) ||
        !valid(op, static_cast<int>(kMathOperators.size())))
        return false;
    TChartSeries* a = series.Operands[static_cast<size_t>(first)];
    TChartSeries* b = series.Operands[static_cast<size_t>(second)];
    if (!a || !b)
        return false;
    CombineSeries(*a, *b, *series.Result, QLatin1Char(kMathOperators[static_cast<size_t>(op)]));
    return true;
}
