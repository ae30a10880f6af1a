#include "mainwindow/LevelReadout.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartSeries.h"

#include <algorithm>

namespace {

QString Number(double v) { return FloatToStr(v); }

QString LevelText(TChartSeries* series, int64_t x, int32_t offset, const QString& unit, QString* debug)
{
    const TraceLevel l = series ? InterpolateSeriesLevel(*series, x, debug) : TraceLevel{};
    return QString(l.Status) + QLatin1Char(' ') + FloatToStrF(l.Level + offset, FloatFormat::ffFixed, 10, 2) +
           QLatin1Char(' ') + unit;
}

} // namespace

TraceLevel InterpolateSeriesLevel(TChartSeries& series, int64_t x, QString* debugText)
{
    const int n = series.Count();
    const double xd = static_cast<double>(x);
    if (n == 0 || xd < series.GetMinX() || xd > series.GetMaxX())
        return {};
    const std::span<const double> xs = series.XValues().Values();
    const std::span<const double> ys = series.YValues().Values();
    const auto hi = std::lower_bound(xs.begin(), xs.end(), xd);
    if (hi == xs.end())
        return {};
    const size_t h = static_cast<size_t>(hi - xs.begin());
    if (*hi == xd)
        return {ys[h], QLatin1Char('^')};
    // xd lies above the smallest X, so a point below it exists.
    const size_t lo = h - 1;
    const double x1 = xs[lo], y1 = ys[lo], x2 = xs[h], y2 = ys[h];
    const double k = (y2 - y1) / (x2 - x1);
    const double d = (x2 * y1 - x1 * y2) / (x2 - x1);
    const double y = xd * k + d;
    if (debugText)
        *debugText = Number(x1) + QStringLiteral("<=>") + Number(x2) + QLatin1Char(' ') + Number(y1) +
                     QStringLiteral("<->") + Number(y2) + QStringLiteral(" k=") + Number(k) + QStringLiteral(" x=") +
                     Number(xd) + QStringLiteral(" d=") + Number(d) + QStringLiteral(" y=") + Number(y);
    return {y, QLatin1Char('~')};
}

std::optional<MouseReadout> ChartMouseReadout(int mouseX, const TChartAxis& bottom, TChartSeries* corrected1,
                                              TChartSeries* corrected2, int32_t unitOffset, const QString& unitName,
                                              bool debug)
{
    const double f = bottom.PixelToValue(mouseX);
    if (!std::isfinite(f))
        return std::nullopt;
    const int64_t x = RoundHalfEven(f);
    const double xd = static_cast<double>(x);
    if (xd < bottom.CurrentMinimum() || xd > bottom.CurrentMaximum() + 1)
        return std::nullopt;
    MouseReadout r;
    r.Frequency = IntKhzToScaledText(QString::number(x));
    QString* d = debug ? &r.Debug : nullptr;
    r.Set1 = LevelText(corrected1, x, unitOffset, unitName, d);
    r.Set2 = LevelText(corrected2, x, unitOffset, unitName, d);
    return r;
}
