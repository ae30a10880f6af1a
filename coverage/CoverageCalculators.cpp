#include "coverage/CoverageCalculators.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"

#include <cmath>
#include <optional>

namespace {

std::optional<double> Number(const QString& text)
{
    double v = 0;
    if (!TryStrToFloatAnySep(text, v) || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> Resolution(const QString& intervalMs, const QString& speedKmh)
{
    const std::optional<double> interval = Number(intervalMs);
    const std::optional<double> speed = Number(speedKmh);
    if (!interval || !speed)
        return std::nullopt;
    return *interval / 1000.0 * *speed * 1000.0 / 3600.0;
}

QStringList Steps(int from, int to, int step)
{
    QStringList out;
    for (int v = from; v <= to; v += step)
        out << QString::number(v);
    return out;
}

} // namespace

QString CalcDriveResolution(const QString& intervalMs, const QString& speedKmh)
{
    const std::optional<double> r = Resolution(intervalMs, speedKmh);
    return r ? FormatMachineFixed(*r, 2) : QString();
}

QString CalcDrivePoints(const QString& lengthKm, const QString& intervalMs, const QString& speedKmh)
{
    const std::optional<double> length = Number(lengthKm);
    const std::optional<double> r = Resolution(intervalMs, speedKmh);
    if (!length || !r || !(*r > 0))
        return {};
    return FormatMachineFixed(*length * 1000.0 / *r, 0);
}

QStringList CoverageIntervalChoices()
{
    return {"1000", "1500", "2000", "3000", "4000", "5000", "10000", "15000", "20000", "30000", "60000"};
}

QStringList CoverageLatchChoices()
{
    return QStringList {"0", "10"} + Steps(100, 1000, 100);
}

QStringList CoverageSpeedChoices()
{
    return QStringList {"10", "20", "30", "36", "40"} + Steps(50, 160, 10);
}

QStringList CoverageLengthChoices()
{
    return Steps(10, 100, 10);
}
