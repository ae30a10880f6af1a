#include "datafiles/TableInterpolation.h"

#include "app/NumberText.h"
#include "app/PlausibleRanges.h"
#include "app/TextRoutines.h"
#include "datafiles/TableBuffer.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// A number the arithmetic can use: "nan" and "inf" convert, but are none.
std::optional<double> ParseNumber(const QString& text)
{
    const std::optional<double> v = ParseMachine(text);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

QString At(int row)
{
    return QStringLiteral("row ") + QString::number(row) + QStringLiteral(": ");
}

// One pair of corners, ready to be written out.
struct PairPlan {
    int64_t K1 = 0;
    int64_t K2 = 0;
    double L1 = 0.0;
    double Slope = 0.0;    // level per kHz
    double LogSlope = 0.0; // level per decade
    double LogOffset = 0.0;
    bool CornerOnly = false; // a step, or a flat limit pair: its first corner alone
    int64_t Points = 0;
};

// The corners are in order (ReadCorner), so f2 >= f1 and K2 >= K1.
PairPlan Plan(const TableCorner& a, const TableCorner& b, const GridInterpolationOptions& options)
{
    PairPlan p;
    p.L1 = a.Level;
    const double k1f = a.Hz / 1000.0;
    const double k2f = b.Hz / 1000.0;
    p.K1 = RoundHalfEven(k1f);
    p.K2 = RoundHalfEven(k2f);
    if (p.K1 == p.K2) {
        // Both rows on one grid point: a step keeps the earlier level there (the next pair starts
        // with the later one); the same level twice is one corner.
        p.CornerOnly = true;
        p.Points = a.Level != b.Level ? 1 : 0;
        return p;
    }
    p.Slope = (b.Level - a.Level) / (k2f - k1f);
    p.CornerOnly = options.FlatSegments && p.Slope == 0.0;
    p.Points = p.CornerOnly ? 1 : (p.K2 - p.K1 + 3) / 4;
    if (!options.LevelLinear && !p.CornerOnly) {
        p.LogSlope = (b.Level - a.Level) / (std::log10(k2f) - std::log10(k1f));
        p.LogOffset = a.Level - std::log10(k1f) * p.LogSlope;
    }
    return p;
}

// Plans every pair; the first fault ends it.
RowFault PlanCurve(const std::vector<TableCorner>& corners, const GridInterpolationOptions& options,
                   std::vector<PairPlan>* plans)
{
    // The last corner is a point of its own.
    int64_t total = corners.size() >= 2 ? 1 : 0;
    for (size_t i = 0; i + 1 < corners.size(); ++i) {
        const PairPlan p = Plan(corners[i], corners[i + 1], options);
        const int row = static_cast<int>(i) + 1;
        if (!std::isfinite(p.Slope) || !std::isfinite(p.LogSlope) || !std::isfinite(p.LogOffset))
            return {At(row + 1) + QStringLiteral("the level ") + FloatToStr(corners[i + 1].Level) +
                        QStringLiteral(" is too far from the level before"),
                    row + 1, 2};
        if (!options.LevelLinear && !p.CornerOnly && p.K1 <= 0)
            return {At(row) + QStringLiteral("the frequency ") + FloatToStr(corners[i].Hz) +
                        QStringLiteral(" Hz rounds to 0 kHz, which has no logarithm"),
                    row, 1};
        total += p.Points;
        if (total > kMaxGridTracePoints)
            return {At(row + 1) + QStringLiteral("the curve would have more than ") +
                        QString::number(kMaxGridTracePoints) + QStringLiteral(" points"),
                    row + 1, 1};
        if (plans != nullptr && p.Points > 0)
            plans->push_back(p);
    }
    return {};
}

RowFault ReadGrid(const TableBuffer& grid, std::vector<TableCorner>& corners)
{
    corners.clear();
    const int last = LastTableRow(grid);
    corners.reserve(static_cast<size_t>(last));
    for (int r = 1; r <= last; ++r) {
        TableCorner c;
        RowFault fault =
            ReadCorner(r, grid.Cell(r, 1), grid.Cell(r, 2), corners.empty() ? nullptr : &corners.back(), c);
        if (!fault.Text.isEmpty())
            return fault;
        corners.push_back(c);
    }
    return {};
}

} // namespace

int LastTableRow(const TableBuffer& grid)
{
    for (int r = grid.Rows() - 1; r >= 1; --r) {
        if (!grid.Cell(r, 1).trimmed().isEmpty() || !grid.Cell(r, 2).trimmed().isEmpty())
            return r;
    }
    return 0;
}

RowFault ReadCorner(int row, const QString& frequency, const QString& level, const TableCorner* before,
                    TableCorner& corner)
{
    // Most texts hold no "." and no ",": they are not copied.
    const QString f = (frequency.contains(QLatin1Char('.')) ? RemoveDots(frequency) : frequency).trimmed();
    const QString l = level.trimmed();
    if (f.isEmpty())
        return {At(row) + QStringLiteral("the frequency is empty"), row, 1};
    const std::optional<double> hz = ParseNumber(f);
    if (!hz)
        return {At(row) + QStringLiteral("the frequency ") + f + QStringLiteral(" is no number"), row, 1};
    if (!(*hz > 0.0))
        return {At(row) + QStringLiteral("the frequency ") + f + QStringLiteral(" Hz is not above 0 Hz"), row, 1};
    if (!plausible::kFrequencyHz.Holds(*hz))
        return {At(row) + QStringLiteral("the frequency ") + f + QStringLiteral(" Hz lies outside ") +
                    plausible::kFrequencyHz.Text() + QStringLiteral(" Hz"),
                row, 1};
    // The same frequency as the row before is a step; a lower one would run the curve backwards.
    if (before != nullptr && *hz < before->Hz)
        return {At(row) + QStringLiteral("the frequency ") + f + QStringLiteral(" Hz lies below the ") +
                    FloatToStr(before->Hz) + QStringLiteral(" Hz of row ") + QString::number(row - 1),
                row, 1};
    if (l.isEmpty())
        return {At(row) + QStringLiteral("the level is empty"), row, 2};
    const std::optional<double> value =
        ParseNumber(l.contains(QLatin1Char(',')) ? QString(l).replace(QLatin1Char(','), QLatin1Char('.')) : l);
    if (!value)
        return {At(row) + QStringLiteral("the level ") + l + QStringLiteral(" is no number"), row, 2};
    corner = {*hz, *value};
    return {};
}

RowFault CurveFault(const std::vector<TableCorner>& corners, const GridInterpolationOptions& options)
{
    return PlanCurve(corners, options, nullptr);
}

RowFault GridFault(const TableBuffer& grid, const GridInterpolationOptions& options)
{
    std::vector<TableCorner> corners;
    RowFault fault = ReadGrid(grid, corners);
    return fault.Text.isEmpty() ? CurveFault(corners, options) : fault;
}

void InterpolateGrid(const TableBuffer& grid, const GridInterpolationOptions& options, GridTrace& out)
{
    out.X.clear();
    out.Y.clear();
    out.LowestFreq = 10000.0;
    out.HighestFreq = 0.0;
    out.LowestLevel = 0.0;
    out.HighestLevel = 0.0;
    out.DataError = false;
    out.Fault.clear();

    std::vector<TableCorner> corners;
    std::vector<PairPlan> plans;
    RowFault fault = ReadGrid(grid, corners);
    if (fault.Text.isEmpty())
        fault = PlanCurve(corners, options, &plans);
    if (!fault.Text.isEmpty()) {
        out.DataError = true;
        out.Fault = fault.Text;
        return;
    }
    if (corners.size() < 2)
        return;
    for (const TableCorner& c : corners) {
        out.LowestFreq = std::min(out.LowestFreq, c.Hz);
        out.HighestFreq = std::max(out.HighestFreq, c.Hz);
        out.LowestLevel = std::min(out.LowestLevel, c.Level);
        out.HighestLevel = std::max(out.HighestLevel, c.Level);
    }

    int64_t total = 1;
    for (const PairPlan& p : plans)
        total += p.Points;
    out.X.reserve(static_cast<size_t>(total));
    out.Y.reserve(static_cast<size_t>(total));
    for (const PairPlan& p : plans) {
        if (p.CornerOnly) {
            out.X.push_back(static_cast<double>(p.K1));
            out.Y.push_back(p.L1);
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
    // The last corner: the pairs stop short of their ends, each end being the next pair's start.
    out.X.push_back(static_cast<double>(RoundHalfEven(corners.back().Hz / 1000.0)));
    out.Y.push_back(corners.back().Level);
}
