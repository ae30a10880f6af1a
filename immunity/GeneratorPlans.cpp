#include "immunity/GeneratorPlans.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/ValueBounds.h"

#include <cstdlib>

namespace {

QString Quoted(const char* caption)
{
    return QLatin1Char('"') + QLatin1String(caption) + QLatin1Char('"');
}

// Sets the edit to the value and marks it red.
void ShowClamped(GeneratorEdit& edit, int64_t value)
{
    edit.Text = QString::number(value);
    edit.Red = true;
}

int32_t ClampLevel(GeneratorEdit& edit, int32_t level, const GeneratorLimits& limits)
{
    if (level < limits.Min) {
        ShowClamped(edit, limits.Min);
        return limits.Min;
    }
    if (level > limits.Max) {
        ShowClamped(edit, limits.Max);
        return limits.Max;
    }
    return level;
}

} // namespace

std::optional<int64_t> ReadBounded(const GeneratorEdit& edit, bool dotted, const QString& box, const ValueBound& bound,
                                   QString* refused)
{
    int64_t v = 0;
    if (!TryStrToInt64(dotted ? RemoveDots(edit.Text) : edit.Text, v))
        return std::nullopt;
    if (bound.Range == nullptr || bound.Range->Holds(static_cast<double>(v)))
        return v;
    if (refused != nullptr && refused->isEmpty())
        *refused = QStringLiteral("Warning: ") + box + QLatin1Char(' ') + edit.Text + QStringLiteral(" lies outside ") +
                   valuebounds::AllowedText(bound) + QStringLiteral("; nothing is sent");
    return std::nullopt;
}

std::optional<FixedPlan> ReadFixedPlan(GeneratorViewModel& view, GeneratorAction action, const GeneratorLimits& limits,
                                       QString* refused)
{
    const size_t index = FixedRowOf(action);
    FixedFrequencyRow& row = view.Fixed[index];
    const QString name = QStringLiteral("fixed row ") + QString::number(index + 1) + QLatin1Char(' ');
    const std::optional<int64_t> level =
        ReadBounded(row.Amplitude, false, name + Quoted("Amplitude[dBm]"), valuebounds::kGeneratorDbm, refused);
    for (FixedFrequencyRow& r : view.Fixed)
        r.Amplitude.Red = false;
    if (!level)
        return std::nullopt;
    FixedPlan plan;
    plan.Level = ClampLevel(row.Amplitude, static_cast<int32_t>(*level), limits);
    const std::optional<int64_t> hz =
        ReadBounded(row.Frequency, true, name + Quoted("Frequency[Hz]"), valuebounds::kWholeHz, refused);
    if (!hz)
        return std::nullopt;
    plan.FrequencyHz = *hz;
    if (plan.FrequencyHz < kGeneratorMinHz || plan.Level < limits.Min || plan.Level > limits.Max)
        return std::nullopt;
    return plan;
}

std::optional<SweepPlan> ReadSweepPlan(GeneratorViewModel& view, GeneratorAction action, const GeneratorLimits& limits,
                                       QString* warning, QString* refused)
{
    const size_t index = SweepBandOf(action);
    SweepBand& band = view.Bands[index];
    const QString name = QStringLiteral("sweep band ") + QString::number(index + 1) + QLatin1Char(' ');
    const auto read = [&](const GeneratorEdit& e, bool dotted, const char* caption, const ValueBound& bound) {
        return ReadBounded(e, dotted, name + Quoted(caption), bound, refused);
    };
    const std::optional<int64_t> start = read(band.Start, true, "Start[Hz]", valuebounds::kWholeHz);
    const std::optional<int64_t> stop = read(band.Stop, true, "Stop[Hz]", valuebounds::kWholeHz);
    const std::optional<int64_t> step = read(band.Step, true, "StepSize[Hz]", valuebounds::kStepHz);
    const std::optional<int64_t> dwell = read(band.Dwell, false, "DwellTime[msec]", valuebounds::kDwellMs);
    const std::optional<int64_t> level = read(band.Amplitude, false, "Amplitude[dBm]", valuebounds::kGeneratorDbm);
    if (!start || !stop || !step || !dwell || !level)
        return std::nullopt;
    if (*dwell < kSlowDwellMs && warning != nullptr)
        *warning = QStringLiteral("Warning: dwelltime ") + QString::number(*dwell) +
                   QStringLiteral(" maybe to slow for DSA");
    SweepPlan plan{*start, *stop, *step, static_cast<int32_t>(*dwell), 0};
    if (plan.StartHz < kGeneratorMinHz) {
        plan.StartHz = kGeneratorMinHz;
        band.Start.Text = InsertThousandDots(QString::number(plan.StartHz));
    } else if (plan.StartHz > kGeneratorMaxStartHz) {
        plan.StartHz = kGeneratorMaxStartHz;
        band.Start.Text = InsertThousandDots(QString::number(plan.StartHz));
    }
    band.Amplitude.Red = false;
    plan.Level = ClampLevel(band.Amplitude, static_cast<int32_t>(*level), limits);
    if (plan.StopHz <= plan.StartHz || plan.StartHz < 1 || plan.StopHz < 1 || plan.StepHz < 1 || plan.DwellMs < 1)
        return std::nullopt;
    return plan;
}

std::optional<RampPlan> ReadRampPlan(GeneratorViewModel& view, const GeneratorLimits& limits, QString* refused)
{
    PowerRamp& ramp = view.Ramp;
    const auto read = [&](const GeneratorEdit& e, bool dotted, const QString& box, const ValueBound& bound) {
        return ReadBounded(e, dotted, QStringLiteral("ramp ") + box, bound, refused);
    };
    RampPlan plan;
    for (int t = 0; t < kRampTimes; ++t) {
        const std::optional<int64_t> ms = read(ramp.Times[static_cast<size_t>(t)], false,
                                               QStringLiteral("\"T%1[msec]\"").arg(t), valuebounds::kRampMs);
        if (!ms)
            return std::nullopt;
        plan.TimesMs[static_cast<size_t>(t)] = static_cast<uint32_t>(*ms + 1);
    }
    const std::optional<int64_t> up =
        read(ramp.StepsUp, false, QStringLiteral("\"Step\" up"), valuebounds::kRampSteps);
    const std::optional<int64_t> down =
        read(ramp.StepsDown, false, QStringLiteral("\"Step\" down"), valuebounds::kRampSteps);
    const std::optional<int64_t> hz = read(ramp.Frequency, true, Quoted("Freq[Hz]"), valuebounds::kWholeHz);
    const std::optional<int64_t> low =
        read(ramp.Low, false, Quoted("AmplitudeLow[dBm]"), valuebounds::kGeneratorDbm);
    const std::optional<int64_t> high =
        read(ramp.High, false, Quoted("AmplitudeHigh[dBm]"), valuebounds::kGeneratorDbm);
    if (!up || !down || !hz || !low || !high)
        return std::nullopt;
    ramp.Low.Red = false;
    ramp.High.Red = false;
    plan.StepsUp = static_cast<int32_t>(*up);
    plan.StepsDown = static_cast<int32_t>(*down);
    plan.FrequencyHz = *hz;
    plan.Low = static_cast<int32_t>(*low);
    plan.High = static_cast<int32_t>(*high);
    plan.Periodic = ramp.Periodic;
    if (plan.Low < limits.Min) {
        plan.Low = limits.Min;
        ShowClamped(ramp.Low, plan.Low);
    }
    if (plan.High > limits.Max) {
        plan.High = limits.Max;
        ShowClamped(ramp.High, plan.High);
    }
    const auto stepsOk = [](int32_t n) { return n >= 0 && n <= kMaxRampSteps; };
    if (!stepsOk(plan.StepsUp) || !stepsOk(plan.StepsDown) || plan.Low >= plan.High || plan.Low < limits.Min ||
        plan.High < limits.Min || plan.Low > 0 || plan.High > 0)
        return std::nullopt;
    return plan;
}

std::vector<RampAction> RampSchedule(const RampPlan& plan)
{
    std::vector<RampAction> out;
    const auto send = [&out](double level) { out.push_back({RampAction::Send, RoundHalfEven(level)}); };
    const auto wait = [&out](double ms) { out.push_back({RampAction::Wait, RoundHalfEven(ms)}); };
    const double low = plan.Low;
    const double span = std::abs(static_cast<double>(plan.High) - low);
    const double high = low + span;

    send(low);
    wait(plan.TimesMs[0]);
    // Each level is taken from the start of its phase rather than summed step by step, so the
    // last step lands on high (low) exactly.
    if (plan.StepsUp == 0) {
        wait(plan.TimesMs[1]);
        send(high);
    }
    for (int k = 1; k <= plan.StepsUp; ++k) {
        wait(static_cast<double>(plan.TimesMs[1]) / plan.StepsUp);
        send(low + span * k / plan.StepsUp);
    }
    wait(plan.TimesMs[2]);
    if (plan.StepsDown == 0) {
        wait(plan.TimesMs[3]);
        send(low);
    }
    for (int k = 1; k <= plan.StepsDown; ++k) {
        wait(static_cast<double>(plan.TimesMs[3]) / plan.StepsDown);
        send(high - span * k / plan.StepsDown);
    }
    wait(plan.TimesMs[4]);
    return out;
}
