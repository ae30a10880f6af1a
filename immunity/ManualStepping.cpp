// Manual stepping of the generator: switching it on and off, the two spin buttons, Enter in the
// boxes, and the marks. The marker boxes show what reached the analyser, never a step that only
// changed the boxes: a mark names what the device under test was exposed to.
#include "immunity/GeneratorController.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
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

std::optional<int64_t> ReadDotted64(const GeneratorEdit& edit)
{
    int64_t v = 0;
    if (!TryStrToInt64(RemoveDots(edit.Text), v))
        return std::nullopt;
    return v;
}

std::optional<int32_t> ReadDotted32(const GeneratorEdit& edit)
{
    int32_t v = 0;
    if (!TryStrToInt(RemoveDots(edit.Text), v))
        return std::nullopt;
    return v;
}

QString Dotted(int64_t value)
{
    return InsertThousandDots(QString::number(value));
}

} // namespace

// The frequency box normalised (written back with thousands dots).
std::optional<int64_t> GeneratorController::ManualFrequency()
{
    const std::optional<int64_t> hz = ReadDotted64(view_.Manual.Frequency);
    if (!hz) {
        Warn(kFrequencyError);
        return std::nullopt;
    }
    view_.Manual.Frequency.Text = Dotted(*hz);
    return hz;
}

// The amplitude box as the generator may produce it: a typed level outside its range is clamped
// and shown in red, as the fixed rows do, so that a mark never names a level that was not sent.
std::optional<int32_t> GeneratorController::ManualLevel()
{
    GeneratorEdit& box = view_.Manual.Amplitude;
    const std::optional<int32_t> typed = ReadDotted32(box);
    if (!typed) {
        Warn(kAmplitudeError);
        return std::nullopt;
    }
    const GeneratorLimits limits = Limits();
    const int32_t level = std::clamp(*typed, limits.Min, std::max(limits.Min, limits.Max));
    box.Text = QString::number(level);
    box.Red = level != *typed;
    return level;
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
    if (!hz || Refuses() || ActionActive() || BusyElsewhere())
        return;
    const std::optional<int32_t> level = ManualLevel();
    if (!level)
        return;
    Owning([&] {
        ToggleGeneratorRun(GeneratorAction::ManualStepping);
        // After an emission run the analyser may still sweep a span; the generator would follow
        // it instead of holding the frequency shown.
        if (Deliver([&] {
                ScpiSetSpan(scpi_, QStringLiteral("0"));
                SendLevel(*level);
                SendFrequency(*hz);
            }))
            ShowSent(*hz, *level);
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
    const std::optional<int64_t> hz = ReadDotted64(view_.Manual.Frequency);
    const std::optional<int64_t> increment = ReadDotted64(view_.Manual.FrequencyIncrement);
    if (!hz || !increment) {
        Warn(kFrequencyError);
        return;
    }
    int64_t f = *hz;
    if (*increment > 0 && __builtin_add_overflow(f, direction * *increment, &f)) {
        Warn(kFrequencyError);
        return;
    }
    f = std::max(f, kGeneratorMinHz);
    view_.Manual.Frequency.Text = Dotted(f);
    if (state_.GeneratorRunning[GeneratorAction::ManualStepping]) {
        if (const std::optional<int32_t> level = ManualLevel())
            Owning([&] {
                if (Deliver([&] {
                        SendLevel(*level);
                        SendFrequency(f);
                    }))
                    ShowSent(f, *level);
            });
    }
    Changed();
}

void GeneratorController::StepAmplitude(int direction)
{
    if (ManualSending())
        return;
    const std::optional<int32_t> level = ReadDotted32(view_.Manual.Amplitude);
    const std::optional<int32_t> increment = ReadDotted32(view_.Manual.AmplitudeIncrement);
    if (!level || !increment) {
        Warn(kAmplitudeError);
        return;
    }
    int64_t a = *level;
    if (*increment > 0)
        a += static_cast<int64_t>(direction) * *increment;
    a = std::clamp<int64_t>(a, kSpinLevelMin, kSpinLevelMax);
    view_.Manual.Amplitude.Text = QString::number(a);
    view_.Manual.Amplitude.Red = false;
    if (state_.GeneratorRunning[GeneratorAction::ManualStepping]) {
        if (const std::optional<int64_t> hz = ManualFrequency())
            Owning([&] {
                if (Deliver([&] {
                        SendFrequency(*hz);
                        SendLevel(a);
                    }))
                    ShowSent(*hz, a);
            });
    }
    Changed();
}

void GeneratorController::EnterFrequency()
{
    if (ManualSending())
        return;
    const std::optional<int64_t> hz = ManualFrequency();
    if (!hz)
        return;
    if (state_.GeneratorRunning[GeneratorAction::ManualStepping]) {
        if (const std::optional<int32_t> level = ManualLevel())
            Owning([&] {
                if (Deliver([&] {
                        SendLevel(*level);
                        SendFrequency(*hz);
                    }))
                    ShowSent(*hz, *level);
            });
    }
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
        Owning([&] {
            if (Deliver([&] {
                    SendFrequency(*hz);
                    SendLevel(*level);
                }))
                ShowSent(*hz, *level);
        });
    Changed();
}

void GeneratorController::EnterFrequencyIncrement()
{
    const std::optional<int64_t> increment = ReadDotted64(view_.Manual.FrequencyIncrement);
    if (!increment) {
        Warn(kFrequencyError);
        return;
    }
    view_.Manual.FrequencyIncrement.Text = Dotted(*increment);
    Changed();
}

void GeneratorController::AddMark(const QString& timeText, QChar sign)
{
    view_.Marks.append(MarkLine(timeText, sign, view_.MarkerFrequency, view_.MarkerLevel));
    Changed();
}
