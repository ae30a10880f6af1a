// Manual stepping of the generator: switching it on and off, the two spin buttons, Enter in the
// boxes, and the marks. The marker boxes show what reached the analyser, never a step that only
// changed the boxes: a mark names what the device under test was exposed to.
#include "immunity/GeneratorController.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/ValueBounds.h"
#include "immunity/ImmunityReport.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiContext.h"

#include <algorithm>

namespace {

const QString kFrequencyError = QStringLiteral("Warnng: Manual stepping freq value error");
const QString kAmplitudeError = QStringLiteral("Warnng: Manual stepping amp value error");
// The spin buttons hold the amplitude within these bounds whatever the generator reaches.
constexpr int32_t kSpinLevelMin = -20;
constexpr int32_t kSpinLevelMax = 0;

QString Dotted(int64_t value)
{
    return InsertThousandDots(QString::number(value));
}

} // namespace

std::optional<int64_t> GeneratorController::ReadManual(const GeneratorEdit& edit, const char* caption,
                                                       const ValueBound& bound, const QString& noNumber, bool increment)
{
    // An increment of 0 or below steps nowhere (the value stays as it is): only one that steps
    // meets the bound.
    static const ValueBound kAnyWholeNumber;
    const QString box = QStringLiteral("manual stepping \"%1\"").arg(QLatin1String(caption));
    QString refused;
    std::optional<int64_t> v = ReadBounded(edit, true, box, increment ? kAnyWholeNumber : bound, &refused);
    if (v && increment && *v > 0)
        v = ReadBounded(edit, true, box, bound, &refused);
    if (!v)
        refused.isEmpty() ? Warn(noNumber) : Tell(refused);
    return v;
}

std::optional<int64_t> GeneratorController::StepManual(bool frequency, int direction)
{
    const ManualStepping& m = view_.Manual;
    const QString& noNumber = frequency ? kFrequencyError : kAmplitudeError;
    const std::optional<int64_t> v =
        frequency ? ReadManual(m.Frequency, "Frequency[Hz]", valuebounds::kWholeHz, noNumber)
                  : ReadManual(m.Amplitude, "Amplitude[dBm]", valuebounds::kGeneratorDbm, noNumber);
    const std::optional<int64_t> step =
        !v          ? std::nullopt
        : frequency ? ReadManual(m.FrequencyIncrement, "Frequency increment", valuebounds::kWholeHz, noNumber, true)
                    : ReadManual(m.AmplitudeIncrement, "Amplitude increment", valuebounds::kStepDb, noNumber, true);
    if (!step)
        return std::nullopt;
    return *step > 0 ? *v + direction * *step : *v;
}

// The frequency box normalised (written back with thousands dots).
std::optional<int64_t> GeneratorController::ManualFrequency()
{
    const std::optional<int64_t> hz =
        ReadManual(view_.Manual.Frequency, "Frequency[Hz]", valuebounds::kWholeHz, kFrequencyError);
    if (hz)
        view_.Manual.Frequency.Text = Dotted(*hz);
    return hz;
}

// The amplitude box as the generator may produce it: a typed level outside its range is clamped
// and shown in red, as the fixed rows do, so that a mark never names a level that was not sent.
std::optional<int32_t> GeneratorController::ManualLevel()
{
    GeneratorEdit& box = view_.Manual.Amplitude;
    const std::optional<int64_t> typed = ReadManual(box, "Amplitude[dBm]", valuebounds::kGeneratorDbm, kAmplitudeError);
    if (!typed)
        return std::nullopt;
    const GeneratorLimits limits = Limits();
    const int32_t level = std::clamp(static_cast<int32_t>(*typed), limits.Min, std::max(limits.Min, limits.Max));
    box.Text = QString::number(level);
    box.Red = level != *typed;
    return level;
}

// Every manual step sets the frequency and the level; the marker boxes show them once the analyser
// has tuned to the frequency. A frequency it did not take ends manual stepping.
void GeneratorController::SendManual(int64_t hz, int64_t level, bool levelFirst, bool zeroSpanFirst)
{
    Owning([&] {
        const QString why = DeliverAt(
            [&] {
                // After an emission run the analyser may still sweep a span; the generator would
                // follow it instead of holding the frequency shown.
                if (zeroSpanFirst)
                    ScpiSetSpan(scpi_, QStringLiteral("0"));
                if (levelFirst)
                    SendLevel(level);
                SendFrequency(hz);
                if (!levelFirst)
                    SendLevel(level);
            },
            hz);
        if (Halted())
            return;
        if (why.isEmpty())
            ShowSent(hz, level);
        else
            EndUntuned(GeneratorAction::ManualStepping, QStringLiteral("manual stepping"), why);
    });
}

void GeneratorController::ToggleManualStepping()
{
    const std::optional<int64_t> hz = ManualFrequency();
    Changed();
    // Switching off needs no frequency: a box the operator mistyped never keeps the output on.
    if (state_.GeneratorRunning[GeneratorAction::ManualStepping]) {
        if (!closing_)
            Owning([this] {
                ToggleGeneratorRun(GeneratorAction::ManualStepping);
                SwitchOff([this] { ScpiSourceOff(scpi_); });
            });
        return;
    }
    if (!hz || Refuses() || RefusesStart(GeneratorAction::ManualStepping))
        return;
    const std::optional<int32_t> level = ManualLevel();
    if (!level)
        return;
    Owning([&] {
        ToggleGeneratorRun(GeneratorAction::ManualStepping);
        SendManual(*hz, *level, true, true);
    });
    Changed();
}

// A step whose commands are still on their way (the analyser is slow to take them) finishes
// before the next one, so that steps reach it in the order they were made.
bool GeneratorController::ManualSending() const
{
    return ownedDepth_ > 0 && state_.GeneratorRunning[GeneratorAction::ManualStepping];
}

void GeneratorController::StepFrequency(int direction)
{
    if (ManualSending())
        return;
    const std::optional<int64_t> hz = StepManual(true, direction);
    if (!hz)
        return;
    // Both lie within 1 THz: the sum cannot overflow, but it may leave the bound.
    const GeneratorEdit stepped{Dotted(std::max(*hz, kGeneratorMinHz))};
    const std::optional<int64_t> f = ReadManual(stepped, "Frequency[Hz]", valuebounds::kWholeHz, kFrequencyError);
    if (!f)
        return;
    view_.Manual.Frequency.Text = stepped.Text;
    if (state_.GeneratorRunning[GeneratorAction::ManualStepping])
        if (const std::optional<int32_t> level = ManualLevel())
            SendManual(*f, *level, true);
    Changed();
}

void GeneratorController::StepAmplitude(int direction)
{
    if (ManualSending())
        return;
    const std::optional<int64_t> level = StepManual(false, direction);
    if (!level)
        return;
    const int64_t a = std::clamp<int64_t>(*level, kSpinLevelMin, kSpinLevelMax);
    view_.Manual.Amplitude.Text = QString::number(a);
    view_.Manual.Amplitude.Red = false;
    if (state_.GeneratorRunning[GeneratorAction::ManualStepping])
        if (const std::optional<int64_t> hz = ManualFrequency())
            SendManual(*hz, a, false);
    Changed();
}

void GeneratorController::EnterFrequency()
{
    if (ManualSending())
        return;
    const std::optional<int64_t> hz = ManualFrequency();
    if (!hz)
        return;
    if (state_.GeneratorRunning[GeneratorAction::ManualStepping])
        if (const std::optional<int32_t> level = ManualLevel())
            SendManual(*hz, *level, true);
    Changed();
}

void GeneratorController::EnterAmplitude()
{
    if (!state_.GeneratorRunning[GeneratorAction::ManualStepping] || ManualSending())
        return;
    const std::optional<int32_t> level = ManualLevel();
    if (!level)
        return;
    if (const std::optional<int64_t> hz = ManualFrequency())
        SendManual(*hz, *level, false);
    Changed();
}

void GeneratorController::EnterFrequencyIncrement()
{
    const std::optional<int64_t> increment = ReadManual(view_.Manual.FrequencyIncrement, "Frequency increment",
                                                        valuebounds::kWholeHz, kFrequencyError, true);
    if (!increment)
        return;
    view_.Manual.FrequencyIncrement.Text = Dotted(*increment);
    Changed();
}

void GeneratorController::AddMark(const QString& timeText, QChar sign)
{
    view_.Marks.append(MarkLine(timeText, sign, view_.MarkerFrequency, view_.MarkerLevel));
    Changed();
}
