#include "immunity/GeneratorPlans.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"

#include <cstdlib>

namespace {

std::optional<int32_t> ReadInt(const GeneratorEdit& edit)
{
    int32_t v = 0;
    if (!TryStrToInt(edit.Text, v))
        return std::nullopt;
    return v;
}

// Frequencies are typed with thousands dots and may exceed 32 bits.
std::optional<int64_t> ReadHz(const GeneratorEdit& edit)
{
    int64_t v = 0;
    if (!TryStrToInt64(RemoveDots(edit.Text), v))
        return std::nullopt;
    return v;
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

std::optional<FixedPlan> ReadFixedPlan(GeneratorViewModel& view, GeneratorAction action, const GeneratorLimits& limits)
{
    FixedFrequencyRow& row = view.Fixed[FixedRowOf(action)];
    const std::optional<int32_t> level = ReadInt(row.Amplitude);
    for (FixedFrequencyRow& r : view.Fixed)
        r.Amplitude.Red = false;
    if (!level)
        return std::nullopt;
    FixedPlan plan;
    plan.Level = ClampLevel(row.Amplitude, *level, limits);
    const std::optional<int64_t> hz = ReadHz(row.Frequency);
    if (!hz)
        return std::nullopt;
    plan.FrequencyHz = *hz;
    if (plan.FrequencyHz < kGeneratorMinHz || plan.Level < limits.Min || plan.Level > limits.Max)
        return std::nullopt;
    return plan;
}

std::optional<SweepPlan> ReadSweepPlan(GeneratorViewModel& view, GeneratorAction action, const GeneratorLimits& limits,
                                       QString* warning)
{
    SweepBand& band = view.Bands[SweepBandOf(action)];
    const std::optional<int64_t> start = ReadHz(band.Start);
    const std::optional<int64_t> stop = ReadHz(band.Stop);
    const std::optional<int64_t> step = ReadHz(band.Step);
    const std::optional<int32_t> dwell = ReadInt(band.Dwell);
    const std::optional<int32_t> level = ReadInt(band.Amplitude);
    if (!start || !stop || !step || !dwell || !level)
        return std::nullopt;
    if (*dwell < kSlowDwellMs && warning != nullptr)
        *warning = QStringLiteral("Warning: dwelltime ") + QString::number(*dwell) +
                   QStringLiteral(" maybe to slow for DSA");
    SweepPlan plan{*start, *stop, *step, *dwell, 0};
    if (plan.StartHz < kGeneratorMinHz) {
        plan.StartHz = kGeneratorMinHz;
        band.Start.Text = InsertThousandDots(QString::number(plan.StartHz));
    } else if (plan.StartHz > kGeneratorMaxStartHz) {
        plan.StartHz = kGeneratorMaxStartHz;
        band.Start.Text = InsertThousandDots(QString::number(plan.StartHz));
    }
    band.Amplitude.Red = false;
    plan.Level = ClampLevel(band.Amplitude, *level, limits);
    if (plan.StopHz <= plan.StartHz || plan.StartHz < 1 || plan.StopHz < 1 || plan.StepHz < 1 || plan.DwellMs < 1)
        return std::nullopt;
    return plan;
}

std::optional<RampPlan> ReadRampPlan(GeneratorViewModel& view, const GeneratorLimits& limits)
{
    PowerRamp& ramp = view.Ramp;
    RampPlan plan;
    for (int t = 0; t < kRampTimes; ++t) {
        const std::optional<int32_t> ms = ReadInt(ramp.Times[static_cast<size_t>(t)]);
        if (!ms)
            return std::nullopt;
        const int64_t withMargin = static_cast<int64_t>(*ms) + 1;
        if (withMargin < 0)
            return std::nullopt;
        plan.TimesMs[static_cast<size_t>(t)] = static_cast<uint32_t>(withMargin);
    }
    const std::optional<int32_t> up = ReadInt(ramp.StepsUp);
    const std::optional<int32_t> down = ReadInt(ramp.StepsDown);
    const std::optional<int64_t> hz = ReadHz(ramp.Frequency);
    const std::optional<int32_t> low = ReadInt(ramp.Low);
    const std::optional<int32_t> high = ReadInt(ramp.High);
    if (!up || !down || !hz || !low || !high)
        return std::nullopt;
    ramp.Low.Red = false;
    ramp.High.Red = false;
    plan.StepsUp = *up;
    plan.StepsDown = *down;
    plan.FrequencyHz = *hz;
    plan.Low = *low;
    plan.High = *high;
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
