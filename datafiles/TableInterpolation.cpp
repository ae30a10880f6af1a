#include "datafiles/TableInterpolation.h"

#include "app/NumberText.h"
#include "datafiles/TableBuffer.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Frequencies above this many Hz cannot be rounded to whole kHz in 64 bits safely, and no
// analyser reaches them.
constexpr double kMaxFrequencyHz = 1e15;

std::optional<double> ParseNumber(const QString& text)
{
    return ParseMachine(text.trimmed());
}

// One pair of corners, checked and ready to be written out.
struct PairPlan {
    int64_t K1 = 0;
    int64_t K2 = 0;
    double L1 = 0.0;
    double L2 = 0.0;
    double Slope = 0.0;    // level per kHz
    double LogSlope = 0.0; // level per decade
    double LogOffset = 0.0;
    bool Flat = false;
    int64_t Points = 0;
};

bool IsFinite(double v)
{
    return std::isfinite(v);
}

} // namespace

void InterpolateGrid(const TableBuffer& grid, const GridInterpolationOptions& options, GridTrace& out)
{
    out.X.clear();
    out.Y.clear();
    out.LowestFreq = 10000.0;
    out.HighestFreq = 0.0;
    out.LowestLevel = 0.0;
    out.HighestLevel = 0.0;
    out.DataError = false;

    std::vector<PairPlan> plans;
    int64_t total = 0;
    const int rows = grid.Rows();
    QString f1Text;
    QString f2Text;
    QString l1Text;
    QString l2Text;
    for (int i = 1; i < rows; ++i) {
        // The row after the last reads as empty.
        f1Text = grid.Cell(i, 1);
        f2Text = grid.Cell(i + 1, 1);
        l1Text = grid.Cell(i, 2);
        l2Text = grid.Cell(i + 1, 2);
        f1Text.remove(QLatin1Char('.'));
        f2Text.remove(QLatin1Char('.'));
        l1Text.replace(QLatin1Char(','), QLatin1Char('.'));
        l2Text.replace(QLatin1Char(','), QLatin1Char('.'));
        if (f1Text.isEmpty() || f2Text.isEmpty() || l1Text.isEmpty() || l2Text.isEmpty())
            continue;

        const std::optional<double> f1 = ParseNumber(f1Text);
        const std::optional<double> f2 = ParseNumber(f2Text);
        const std::optional<double> l1 = ParseNumber(l1Text);
        const std::optional<double> l2 = ParseNumber(l2Text);
        // A text that does not convert adds nothing to the extremes.
        for (const auto& f : {f1, f2}) {
            if (f) {
                out.LowestFreq = std::min(out.LowestFreq, *f);
                out.HighestFreq = std::max(out.HighestFreq, *f);
            }
        }
        for (const auto& l : {l1, l2}) {
            if (l) {
                out.LowestLevel = std::min(out.LowestLevel, *l);
                out.HighestLevel = std::max(out.HighestLevel, *l);
            }
        }
        if (!f1 || !f2 || !l1 || !l2)
            continue;

        // Both slopes are always computed, so a frequency of 0 is a fault in linear mode too.
        PairPlan plan;
        plan.L1 = *l1;
        plan.L2 = *l2;
        const double k1f = *f1 / 1000.0;
        const double k2f = *f2 / 1000.0;
        bool fault = !(*f1 > 0.0) || !(*f2 > 0.0) || *f1 > kMaxFrequencyHz || *f2 > kMaxFrequencyHz ||
                     k2f == k1f || !IsFinite(plan.L1) || !IsFinite(plan.L2);
        if (!fault) {
            plan.Slope = (plan.L2 - plan.L1) / (k2f - k1f);
            const double decades = std::log10(k2f) - std::log10(k1f);
            plan.LogSlope = (plan.L2 - plan.L1) / decades;
            plan.LogOffset = plan.L1 - std::log10(k1f) * plan.LogSlope;
            fault = decades == 0.0 || !IsFinite(plan.Slope) || !IsFinite(plan.LogSlope) || !IsFinite(plan.LogOffset);
        }
        if (!fault) {
            plan.K1 = RoundHalfEven(k1f);
            plan.K2 = RoundHalfEven(k2f);
            plan.Flat = options.FlatSegments && plan.Slope == 0.0;
            if (plan.Flat)
                plan.Points = 2;
            else if (plan.K2 > plan.K1)
                plan.Points = (plan.K2 - plan.K1 + 3) / 4;
            // log10(0) has no value: a first corner below 500 Hz cannot be drawn logarithmically.
            if (!plan.Flat && !options.LevelLinear && plan.Points > 0 && plan.K1 <= 0)
                fault = true;
            if (total + plan.Points > kMaxGridTracePoints)
                fault = true;
        }
        if (fault) {
            out.DataError = true;
            break;
        }
        total += plan.Points;
        if (plan.Points > 0)
            plans.push_back(plan);
    }

    out.X.reserve(static_cast<size_t>(total));
    out.Y.reserve(static_cast<size_t>(total));
    for (const PairPlan& p : plans) {
        if (p.Flat) {
            out.X.push_back(static_cast<double>(p.K1));
            out.Y.push_back(p.L1);
            out.X.push_back(static_cast<double>(p.K2));
            out.Y.push_back(p.L2);
        } else if (options.LevelLinear) {
            for (int64_t k = p.K1; k < p.K2; k += 4) {
                out.X.push_back(static_cast<double>(k));
                out.Y.push_back(static_cast<double>(k - p.K1) * p.Slope + p.L1);
            }
        } else {
            for (int64_t k = p.K1; k < p.K2; k += 4) {
                out.X.push_back(static_cast<double>(k));
                out.Y.push_back(std::log10(static_cast<double>(k)) * p.LogSlope + p.LogOffset);
            }
        }
    }
}
