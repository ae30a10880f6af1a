#include "immunity/FieldStrength.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "chart/engine/ChartSeries.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLineImpedanceOhm = 50.0;
// The correction is never read below this frequency: amplifier tables start around there.
constexpr double kLowestCorrectionKhz = 100.0;

QString CellText(double dBm, double septumCm)
{
    return QString::number(RoundHalfEven(FieldStrengthVoltsPerMetre(dBm, septumCm)));
}

} // namespace

double PowerMilliwatts(double dBm)
{
    return std::pow(10.0, dBm / 10.0);
}

double FieldStrengthVoltsPerMetre(double dBm, double septumCm)
{
    const double volts = std::sqrt(kLineImpedanceOhm * PowerMilliwatts(dBm) / 1000.0);
    return volts * 100.0 / septumCm;
}

QString FormatPowerFromDbm(double dBm)
{
    const double milliwatts = PowerMilliwatts(dBm);
    if (milliwatts <= 1000.0)
        return FloatToStrF(milliwatts, FloatFormat::ffFixed, 4, 8) + QStringLiteral(" mW");
    return FloatToStrF(milliwatts / 1000.0, FloatFormat::ffFixed, 4, 2) + QStringLiteral(" W");
}

QString FieldStrengthCell1(double dBm) { return CellText(dBm, kCalculatorSeptumCm[0]); }
QString FieldStrengthCell2(double dBm) { return CellText(dBm, kCalculatorSeptumCm[1]); }
QString FieldStrengthCell3(double dBm) { return CellText(dBm, kCalculatorSeptumCm[2]); }
QString FieldStrengthCell4(double dBm) { return CellText(dBm, kCalculatorSeptumCm[3]); }

QString FieldStrengthSeptum(double dBm, double septumCm)
{
    return FloatToStrF(FieldStrengthVoltsPerMetre(dBm, septumCm), FloatFormat::ffFixed, 8, 2);
}

double CorrectionAt(const TChartSeries& correction, double khz)
{
    const std::span<const double> xs = correction.XValues().Values();
    const std::span<const double> ys = correction.YValues().Values();
    const size_t n = std::min(xs.size(), ys.size());
    if (n == 0 || !(khz >= xs[0]) || !(khz <= xs[n - 1]))
        return 0.0;
    const auto upper = std::lower_bound(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(n), khz);
    const size_t i = static_cast<size_t>(upper - xs.begin());
    if (xs[i] == khz || i == 0)
        return ys[i];
    const double x0 = xs[i - 1];
    const double x1 = xs[i];
    if (x1 <= x0)
        return ys[i];
    return ys[i - 1] + (ys[i] - ys[i - 1]) * (khz - x0) / (x1 - x0);
}

QString FormatRowPowerAndField(const QString& frequencyText, const QString& amplitudeText,
                               const TChartSeries& amplifierCorrection, double septumCm)
{
    double correction = 0.0;
    double hz = 0.0;
    if (TryStrToFloat(RemoveDots(frequencyText), hz) && std::isfinite(hz)) {
        const double khz = std::max(static_cast<double>(RoundHalfEven(hz / 1000.0)), kLowestCorrectionKhz);
        correction = CorrectionAt(amplifierCorrection, khz);
    }
    double amplitude = 0.0;
    const bool amplitudeIsNumber = TryStrToFloatAnySep(amplitudeText, amplitude) && std::isfinite(amplitude);
    if (!amplitudeIsNumber)
        amplitude = 0.0;
    const double power = amplitude + correction;
    return FloatToStrF(power, FloatFormat::ffFixed, 8, 2) + QStringLiteral("-->") +
           (amplitudeIsNumber ? FieldStrengthSeptum(power, septumCm) : QStringLiteral("--"));
}

FieldCalculatorTexts CalculateFieldBox(const QString& input)
{
    FieldCalculatorTexts out;
    if (input == QLatin1String("+") || input == QLatin1String("-"))
        return out;
    out.Refreshed = true;
    double dBm = 0.0;
    if (TryStrToFloatAnySep(input, dBm) && dBm >= -100.0 && dBm < 101.0) {
        out.Input = input;
        out.Power = FormatPowerFromDbm(dBm);
        out.Fields = {FieldStrengthCell1(dBm) + QStringLiteral(" V/m"), FieldStrengthCell2(dBm) + QStringLiteral(" V/m"),
                      FieldStrengthCell3(dBm) + QStringLiteral(" V/m"), FieldStrengthCell4(dBm) + QStringLiteral(" V/m")};
        return out;
    }
    if (!input.isEmpty())
        out.Warning = QStringLiteral("Warning: dBm value out of range");
    return out;
}
