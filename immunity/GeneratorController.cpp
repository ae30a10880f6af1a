#include "immunity/GeneratorController.h"

#include "app/Log.h"
#include "app/TextRoutines.h"
#include "immunity/GeneratorSettings.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiContext.h"
#include "platform/system/EventPump.h"

namespace {

const QString kNoDevice = QStringLiteral("No Device selected");
const QString kNotSupported = QStringLiteral("Generator not supported by this device");
const QString kFixedError = QStringLiteral("Fixed Freq Setup Error ");
const QString kSweepError = QStringLiteral("Sweep Setup Error ");
const QString kRampError = QStringLiteral("Ramp Setup Error ");

} // namespace

GeneratorController::GeneratorController(ScpiContext& scpi, GeneratorViewModel& view, GeneratorState& state,
                                         const GeneratorSettings& settings, GeneratorHooks hooks)
    : scpi_(scpi), view_(view), state_(state), settings_(settings), hooks_(std::move(hooks))
{
}

bool GeneratorController::ActionActive() const
{
    if (LoopBusy())
        return true;
    for (bool running : state_.GeneratorRunning)
        if (running)
            return true;
    return false;
}

bool GeneratorController::GeneratorSupported() const
{
    return scpi_.Device.IsRigolOrSiglent();
}

bool GeneratorController::BusyElsewhere() const
{
    return owner_ != nullptr && (owner_->EmissionRunActive() || owner_->CoverageLoggingActive());
}

GeneratorLimits GeneratorController::Limits() const
{
    return {scpi_.Device.GeneratorLevelMin, scpi_.Device.GeneratorLevelMax};
}

void GeneratorController::Changed()
{
    if (hooks_.ViewChanged)
        hooks_.ViewChanged();
}

void GeneratorController::NotifyAction()
{
    const bool active = ActionActive();
    if (active == reportedActive_)
        return;
    reportedActive_ = active;
    if (hooks_.ActionChanged)
        hooks_.ActionChanged(active);
}

void GeneratorController::Warn(const QString& line)
{
    view_.Messages.append(line);
    Changed();
}

// The checks every action makes before it changes anything. Families without generator
// commands would get nothing sent while the view showed the generator running, so they refuse.
bool GeneratorController::Refuses()
{
    if (!scpi_.Device.DeviceConnected) {
        if (hooks_.ShowError)
            hooks_.ShowError(kNoDevice);
        return true;
    }
    if (!GeneratorSupported()) {
        if (hooks_.ShowError)
            hooks_.ShowError(kNotSupported);
        return true;
    }
    return closing_;
}

void GeneratorController::Click(GeneratorAction action)
{
    const GeneratorActionKind kind = KindOf(action);
    if (kind == GeneratorActionKind::ManualStepping) {
        ToggleManualStepping();
        return;
    }
    if (Refuses())
        return;
    const bool running = state_.GeneratorRunning[action];
    // A start needs the instrument to itself, and a stopped loop that is still finishing its wait
    // must return before anything new may start (its remaining commands would override it).
    if (!running && (ActionActive() || BusyElsewhere()))
        return;
    ToggleGeneratorRun(action);
    if (!running) {
        if (kind == GeneratorActionKind::FrequencySweep || kind == GeneratorActionKind::PowerRamp)
            state_.GeneratorLoopActive = true;
        StartGeneratorAction(action, true);
        return;
    }
    switch (kind) {
    case GeneratorActionKind::FrequencySweep:
        state_.GeneratorLoopActive = false;
        StartGeneratorAction(action, false);
        scpi_.Pump.Wake();
        break;
    case GeneratorActionKind::PowerRamp:
        // The running ramp finishes the ramp it is in and ends by itself.
        state_.GeneratorLoopActive = false;
        break;
    case GeneratorActionKind::FixedFrequency:
        StartGeneratorAction(action, false);
        break;
    case GeneratorActionKind::ManualStepping: // switched above
        break;
    }
}

void GeneratorController::SetEditsReadOnly(bool readOnly)
{
    for (FixedFrequencyRow& row : view_.Fixed)
        for (GeneratorEdit* e : {&row.Frequency, &row.Amplitude})
            e->ReadOnly = readOnly;
    for (SweepBand& band : view_.Bands)
        for (GeneratorEdit* e : {&band.Start, &band.Stop, &band.Step, &band.Dwell, &band.Amplitude})
            e->ReadOnly = readOnly;
    PowerRamp& ramp = view_.Ramp;
    for (GeneratorEdit& e : ramp.Times)
        e.ReadOnly = readOnly;
    for (GeneratorEdit* e : {&ramp.StepsUp, &ramp.StepsDown, &ramp.Frequency, &ramp.Low, &ramp.High})
        e->ReadOnly = readOnly;
    ManualStepping& manual = view_.Manual;
    for (GeneratorEdit* e : {&manual.Frequency, &manual.Amplitude, &manual.FrequencyIncrement, &manual.AmplitudeIncrement})
        e->ReadOnly = false;
    manual.SpinButtonsEnabled = true;
}

void GeneratorController::ToggleGeneratorRun(GeneratorAction action)
{
    bool& flag = state_.GeneratorRunning[action];
    if (!flag) {
        flag = true;
        SetGeneratorButtonsEnabled(false);
        view_.ButtonEnabled[action] = true;
        view_.ButtonRunning[action] = true;
        SetEditsReadOnly(true);
        view_.SettingsGridEnabled = false;
    } else {
        flag = false;
        view_.ButtonRunning[action] = false;
        // Until a stopped loop has returned nothing may start: the buttons come back with it.
        SetGeneratorButtonsEnabled(!LoopBusy());
        SetEditsReadOnly(false);
        view_.SettingsGridEnabled = true;
    }
    Changed();
    NotifyAction();
}

void GeneratorController::SetGeneratorButtonsEnabled(bool on)
{
    view_.ButtonEnabled.fill(on && !BusyElsewhere());
    Changed();
}

void GeneratorController::RefreshOwnership()
{
    if (!ActionActive())
        SetGeneratorButtonsEnabled(true);
}

void GeneratorController::SendLevel(int64_t level)
{
    const QString text = QString::number(level);
    ScpiSourceOn(scpi_, text);
    view_.MarkerLevel = text;
}

void GeneratorController::SendFrequency(int64_t hz)
{
    const QString text = QString::number(hz);
    ScpiSetCenterFreq(scpi_, text);
    view_.MarkerFrequency = InsertThousandDots(text);
}

void GeneratorController::SendStopSequence()
{
    ScpiSourceOn(scpi_, QStringLiteral("-20"));
    if (scpi_.Device.IsRigolRsa())
        ScpiSourceOn(scpi_, QStringLiteral("-40"));
    ScpiSourceOff(scpi_);
}

void GeneratorController::StartGeneratorAction(GeneratorAction action, bool start)
{
    if (!scpi_.Device.DeviceConnected) {
        if (hooks_.ShowError)
            hooks_.ShowError(kNoDevice);
        return;
    }
    if (!start) {
        SendStopSequence();
        return;
    }
    switch (KindOf(action)) {
    case GeneratorActionKind::FixedFrequency:
        RunFixedFrequency(action);
        break;
    case GeneratorActionKind::FrequencySweep:
        RunSweep(action);
        break;
    case GeneratorActionKind::PowerRamp:
        RunRamp();
        break;
    case GeneratorActionKind::ManualStepping: // sends its own commands when switched on
        break;
    }
}

// After a loop has returned, the buttons it held disabled come back.
void GeneratorController::LeaveLoop()
{
    --loopDepth_;
    if (!ActionActive())
        SetGeneratorButtonsEnabled(true);
    NotifyAction();
}

void GeneratorController::RunFixedFrequency(GeneratorAction action)
{
    const std::optional<FixedPlan> plan = ReadFixedPlan(view_, action, Limits());
    if (!plan) {
        RefuseAction(action, kFixedError);
        return;
    }
    PresetZeroSpanDbm();
    SendLevel(plan->Level);
    SendFrequency(plan->FrequencyHz);
    Changed();
}

// A set-up the rows cannot give: the button springs back and the operator is told why.
void GeneratorController::RefuseAction(GeneratorAction action, const QString& error)
{
    Changed();
    if (hooks_.ShowError)
        hooks_.ShowError(error);
    ToggleGeneratorRun(action);
}

// Every action starts from a preset analyser at zero span with levels in dBm.
void GeneratorController::PresetZeroSpanDbm()
{
    ScpiPreset(scpi_);
    ScpiSetupDbm(scpi_);
    ScpiSetSpan(scpi_, QStringLiteral("0"));
}

bool GeneratorController::Wait(uint32_t ms, bool endsWithLoop)
{
    EventPump& pump = scpi_.Pump;
    const uint32_t start = pump.TickCount();
    for (;;) {
        if (closing_ || (endsWithLoop && !state_.GeneratorLoopActive))
            return false;
        const uint32_t elapsed = pump.TickCount() - start;
        if (elapsed >= ms)
            return true;
        pump.WaitEvents(ms - elapsed);
    }
}

void GeneratorController::RunSweep(GeneratorAction action)
{
    QString warning;
    const std::optional<SweepPlan> plan = ReadSweepPlan(view_, action, Limits(), &warning);
    if (!warning.isEmpty())
        view_.Messages.append(warning);
    if (!plan) {
        RefuseAction(action, kSweepError);
        state_.GeneratorLoopActive = false;
        return;
    }
    ++loopDepth_;
    NotifyAction();
    PresetZeroSpanDbm();
    RunFrequencySweep(action, *plan);
    if (!closing_) {
        ScpiSourceOn(scpi_, QStringLiteral("-20"));
        ScpiSourceOff(scpi_);
    }
    LeaveLoop();
}

bool GeneratorController::RunFrequencySweep(GeneratorAction action, const SweepPlan& plan)
{
    const QString level = QString::number(plan.Level);
    int64_t hz = plan.StartHz;
    for (;;) {
        scpi_.Debug.LogMessage(QStringLiteral("TG Power ohne Kor") + level);
        SendLevel(plan.Level);
        SendFrequency(hz);
        Changed();
        // Compared before adding, so a stop near the top of the 64-bit range cannot wrap.
        const bool last = plan.StopHz - hz < plan.StepHz;
        if (!last)
            hz += plan.StepHz;
        if (!Wait(static_cast<uint32_t>(plan.DwellMs), true)) {
            if (!closing_)
                SendStopSequence();
            return false;
        }
        if (last)
            break;
    }
    ToggleGeneratorRun(action);
    state_.GeneratorLoopActive = false;
    return true;
}

void GeneratorController::RunRamp()
{
    const std::optional<RampPlan> plan = ReadRampPlan(view_, Limits());
    if (!plan) {
        RefuseAction(GeneratorAction::PowerRamp, kRampError);
        state_.GeneratorLoopActive = false;
        return;
    }
    ++loopDepth_;
    NotifyAction();
    PresetZeroSpanDbm();
    SendFrequency(plan->FrequencyHz);
    Changed();
    bool open = RunPowerRamp(*plan);
    while (open && plan->Periodic && state_.GeneratorLoopActive)
        open = RunPowerRamp(*plan);
    if (open) {
        if (state_.GeneratorLoopActive)
            ToggleGeneratorRun(GeneratorAction::PowerRamp);
        state_.GeneratorLoopActive = false;
        if (settings_.TgOffAfterRamp) {
            ScpiSourceOn(scpi_, QStringLiteral("-20"));
            ScpiSourceOff(scpi_);
        }
    }
    LeaveLoop();
}

bool GeneratorController::RunPowerRamp(const RampPlan& plan)
{
    // A stop click lets the ramp finish with its full timing; only closing the window ends it.
    for (const RampAction& a : RampSchedule(plan)) {
        if (a.What == RampAction::Send) {
            SendLevel(a.Value);
            Changed();
        } else if (!Wait(static_cast<uint32_t>(a.Value), false)) {
            return false;
        }
    }
    return true;
}

void GeneratorController::Shutdown()
{
    if (closing_)
        return;
    const bool radiating = ActionActive();
    closing_ = true;
    state_.GeneratorLoopActive = false;
    if (radiating && scpi_.Device.DeviceConnected && GeneratorSupported())
        SendStopSequence();
    state_.GeneratorRunning.fill(false);
    view_.ButtonRunning.fill(false);
    scpi_.Pump.Wake();
    NotifyAction();
}
