#include "immunity/GeneratorController.h"

#include "app/Log.h"
#include "app/TextRoutines.h"
#include "immunity/GeneratorSettings.h"
#include "instrument/AnalyserHold.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiContext.h"
#include "instrument/ScpiIo.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <utility>

namespace {

const QString kNoDevice = QStringLiteral("No Device selected");
const QString kNotSupported = QStringLiteral("Generator not supported by this device");
const QString kFixedError = QStringLiteral("Fixed Freq Setup Error ");
const QString kSweepError = QStringLiteral("Sweep Setup Error ");
const QString kRampError = QStringLiteral("Ramp Setup Error ");
// A generator frequency is set in whole Hz: the analyser reports it back as it was given.
constexpr double kTunedWithinHz = 1.0;
// Nothing reaches an analyser that is gone, not even the generator's stop.
const QString kLinkLost = QStringLiteral(
    "Error: the link to the analyser was lost, generator action stopped, the generator may still be on");

// How the lines name an action: "fixed row 1", "sweep band 1", "power ramp", "manual stepping".
QString ActionName(GeneratorAction action)
{
    switch (KindOf(action)) {
    case GeneratorActionKind::FixedFrequency: return QStringLiteral("fixed row %1").arg(FixedRowOf(action) + 1);
    case GeneratorActionKind::FrequencySweep: return QStringLiteral("sweep band %1").arg(SweepBandOf(action) + 1);
    case GeneratorActionKind::PowerRamp: return QStringLiteral("power ramp");
    case GeneratorActionKind::ManualStepping: break;
    }
    return QStringLiteral("manual stepping");
}

} // namespace

// For the time of a click's commands, and of a whole sweep or ramp, the generator owns the
// analyser: the window is served while the analyser is waited for, and silence beyond the time-out
// counts as a lost link. No click gives up a call under way: a stop or a close that did would
// leave the generator's stop unsent behind it. The outermost scope forgets a loss of an earlier
// click, and gives the buttons back when it ends.
GeneratorController::Owned::Owned(GeneratorController& g)
    : g_(g), analyser_(std::make_unique<AnalyserOwnership>(g.scpi_, [] { return false; }))
{
    if (g_.ownedDepth_++ == 0)
        g_.lost_ = false;
}

GeneratorController::Owned::~Owned()
{
    if (--g_.ownedDepth_ == 0 && !g_.ActionActive())
        g_.SetGeneratorButtonsEnabled(true);
    g_.NotifyAction();
}

// Work that owns the analyser. A stop click or a close that came while it waited for the analyser
// switches the generator off once the work has returned, so that none of its commands follows the
// stop; a link lost meanwhile takes nothing more.
void GeneratorController::Owning(const std::function<void()>& work)
{
    {
        Owned owned(*this);
        work();
        const std::optional<GeneratorAction> stop = ownedDepth_ == 1 ? std::exchange(pendingStop_, std::nullopt)
                                                                     : std::nullopt;
        if (stop && !Halted()) {
            if (KindOf(*stop) == GeneratorActionKind::ManualStepping)
                SwitchOff([this] { ScpiSourceOff(scpi_); });
            else
                StartGeneratorAction(*stop, false);
        }
    }
    if (closing_ && ownedDepth_ == 0)
        Shutdown();
}

GeneratorController::GeneratorController(ScpiContext& scpi, GeneratorViewModel& view, GeneratorState& state,
                                         const GeneratorSettings& settings, GeneratorHooks hooks)
    : scpi_(scpi), view_(view), state_(state), settings_(settings), hooks_(std::move(hooks))
{
}

bool GeneratorController::ActionActive() const
{
    if (Busy())
        return true;
    for (bool running : state_.GeneratorRunning)
        if (running)
            return true;
    return false;
}

bool GeneratorController::GeneratorSupported() const
{
    return scpi_.Device.HasTrackingGenerator();
}

// A start needs the analyser to itself: another action that runs or is still finishing holds it
// for the generator, as a run or the coverage logging hold it for themselves. Refused with the held
// line naming the action, as every other window's refusal is.
bool GeneratorController::RefusesStart(GeneratorAction action)
{
    AnalyserHolder holder = OtherHolderOf(scpi_, AnalyserHolder::Generator);
    if (holder == AnalyserHolder::Nobody && ActionActive())
        holder = AnalyserHolder::Generator;
    if (holder == AnalyserHolder::Nobody)
        return false;
    Tell(HeldLine(holder, ActionName(action) + QStringLiteral(" not started")));
    return true;
}

QString GeneratorController::OnLine() const
{
    if (ActionActive())
        return QStringLiteral("Warning: the analyser is in use by the generator, which is still on: stop it in the "
                              "generator view first");
    switch (output_) {
    case GeneratorOutput::Off: break;
    case GeneratorOutput::On:
        if (view_.MarkerLevel.isEmpty())
            return QStringLiteral("Warning: the generator is still on");
        return QStringLiteral("Warning: the generator is still on at ") + view_.MarkerLevel + QStringLiteral(" dBm");
    case GeneratorOutput::MayBeOn:
        return QStringLiteral("Warning: the generator may still be on: the link to the analyser was lost before it "
                              "was switched off");
    }
    return {};
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

void GeneratorController::Tell(const QString& line)
{
    scpi_.Messages.Append(line);
    Warn(line);
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
    // The field strength the operator set the level by needs the amplifier table: as Play without
    // its corrections, no action runs without it.
    if (const QString refused = hooks_.RefusedCorrection ? hooks_.RefusedCorrection() : QString(); !refused.isEmpty()) {
        if (hooks_.ShowError)
            hooks_.ShowError(refused);
        Tell(QStringLiteral("Warning: generator action refused: ") + refused);
        return true;
    }
    return closing_;
}

void GeneratorController::Click(GeneratorAction action)
{
    const bool running = state_.GeneratorRunning[action];
    // A command of another window that waits for the analyser ends before anything starts here. A
    // stop is never put off for one: none starts while an action runs, for then the generator holds
    // the analyser.
    if (scpi_.Visa.CommandUnderWay && !running)
        return;
    // A click whose commands are still on their way finishes first; only a running loop's own
    // button may stop it meanwhile, and the stop of a fixed row or of manual stepping is carried out
    // once they have returned.
    if (ownedDepth_ > 0 && !LoopBusy()) {
        if (running) {
            ToggleGeneratorRun(action);
            pendingStop_ = action;
        } else {
            RefusesStart(action);
        }
        return;
    }
    // A stop is never refused for a missing analyser: with nothing to send it to, the action ends
    // as on a lost link, and the operator learns that the generator may still be on.
    if (running && !scpi_.Device.DeviceConnected) {
        if (!closing_)
            Owning([this] { EndOnLostLink(); });
        return;
    }
    const GeneratorActionKind kind = KindOf(action);
    if (kind == GeneratorActionKind::ManualStepping) {
        ToggleManualStepping();
        return;
    }
    if (Refuses())
        return;
    // A start needs the instrument to itself, and a stopped loop that is still finishing its wait
    // must return before anything new may start (its remaining commands would override it).
    if (!running && RefusesStart(action))
        return;
    Owning([&] {
        ToggleGeneratorRun(action);
        if (!running) {
            if (kind == GeneratorActionKind::FrequencySweep || kind == GeneratorActionKind::PowerRamp)
                state_.GeneratorLoopActive = true;
            StartGeneratorAction(action, true);
            return;
        }
        switch (kind) {
        case GeneratorActionKind::FrequencySweep:
            // The sweep switches the generator off as soon as its call under way has returned (at
            // once from its dwell), so that none of its commands follows the stop.
            state_.GeneratorLoopActive = false;
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
    });
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
        // Until a stopped loop or the stop's commands have returned nothing may start: the
        // buttons come back with them.
        SetGeneratorButtonsEnabled(!Busy());
        SetEditsReadOnly(false);
        view_.SettingsGridEnabled = true;
    }
    Changed();
    NotifyAction();
}

void GeneratorController::SetGeneratorButtonsEnabled(bool on)
{
    view_.ButtonEnabled.fill(on && OtherHolderOf(scpi_, AnalyserHolder::Generator) == AnalyserHolder::Nobody);
    Changed();
}

void GeneratorController::RefreshOwnership()
{
    if (!ActionActive())
        SetGeneratorButtonsEnabled(true);
}

void GeneratorController::SendLevel(int64_t level)
{
    // Once a level is on its way the output may be on, whether or not it arrives.
    SetOutput(GeneratorOutput::On);
    ScpiSourceOn(scpi_, QString::number(level));
}

void GeneratorController::SwitchOff(const std::function<void()>& send)
{
    if (Deliver(send))
        SetOutput(GeneratorOutput::Off);
}

void GeneratorController::SetOutput(GeneratorOutput output)
{
    if (output == output_)
        return;
    output_ = output;
    if (hooks_.OutputChanged)
        hooks_.OutputChanged(output);
}

void GeneratorController::SendFrequency(int64_t hz)
{
    ScpiSetCenterFreq(scpi_, QString::number(hz));
}

void GeneratorController::ShowSent(std::optional<int64_t> hz, std::optional<int64_t> level)
{
    if (hz)
        view_.MarkerFrequency = InsertThousandDots(QString::number(*hz));
    if (level)
        view_.MarkerLevel = QString::number(*level);
}

// A VXI-11 or USB write returns once the analyser has taken the message; a raw socket's returns
// once the bytes are in a buffer, and only the answer to "*OPC?" sent after them tells that the
// analyser has taken them. The marker boxes, and so the marks and the report, must never name a
// frequency or level that did not reach it.
bool GeneratorController::Deliver(const std::function<void()>& send, bool confirm)
{
    if (Halted())
        return false;
    VisaState& visa = scpi_.Visa;
    const uint64_t failed = visa.FailedWrites;
    send();
    bool delivered = visa.FailedWrites == failed;
    if (delivered && confirm && VisaIsByteStream(visa, visa.VisaSession)) {
        scpiio::Send(scpi_, QStringLiteral("*OPC?"));
        delivered = visa.FailedWrites == failed && scpiio::ReadReply(scpi_).has_value();
    }
    if (scpiio::LinkLost(scpi_))
        EndOnLostLink();
    return delivered && !Halted();
}

// Nothing is sent to a link that is gone, not even the generator's stop: every action ends, and
// the operator learns why once, and that the generator may still radiate.
void GeneratorController::EndOnLostLink()
{
    if (lost_)
        return;
    lost_ = true;
    scpi_.Messages.Append(kLinkLost);
    view_.Messages.append(kLinkLost);
    if (output_ != GeneratorOutput::Off)
        SetOutput(GeneratorOutput::MayBeOn);
    state_.GeneratorLoopActive = false;
    for (size_t i = 0; i < kGeneratorActions; ++i)
        if (state_.GeneratorRunning[static_cast<GeneratorAction>(i)])
            ToggleGeneratorRun(static_cast<GeneratorAction>(i));
    Changed();
}

QString GeneratorController::DeliverAt(const std::function<void()>& send, int64_t hz)
{
    const QString notReached =
        InsertThousandDots(QString::number(hz)) + QStringLiteral(" Hz did not reach the analyser");
    // The answer to the query also tells that everything before it arrived.
    if (!Deliver(send, false))
        return Halted() ? QString() : notReached;
    const uint64_t failed = scpi_.Visa.FailedWrites;
    const CentreCheck centre = ScpiCheckCentre(scpi_, static_cast<double>(hz), kTunedWithinHz);
    if (scpiio::LinkLost(scpi_)) {
        EndOnLostLink();
        return {};
    }
    if (scpi_.Visa.FailedWrites != failed)
        return notReached;
    return centre.Tuned ? QString() : centre.Untuned(static_cast<double>(hz));
}

void GeneratorController::EndUntuned(GeneratorAction action, const QString& what, const QString& why)
{
    Tell(QStringLiteral("Error: ") + what + QStringLiteral(" at ") + why +
         QStringLiteral(", the generator is switched off"));
    state_.GeneratorLoopActive = false;
    if (state_.GeneratorRunning[action])
        ToggleGeneratorRun(action);
    if (KindOf(action) == GeneratorActionKind::ManualStepping)
        SwitchOff([this] { ScpiSourceOff(scpi_); });
    else
        SwitchOff([this] { SendStopSequence(); });
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
        SwitchOff([this] { SendStopSequence(); });
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
    QString refused;
    const std::optional<FixedPlan> plan = ReadFixedPlan(view_, action, Limits(), &refused);
    if (!plan) {
        RefuseAction(action, kFixedError, refused);
        return;
    }
    const QString why = DeliverAt(
        [&] {
            PresetZeroSpanDbm();
            SendLevel(plan->Level);
            SendFrequency(plan->FrequencyHz);
        },
        plan->FrequencyHz);
    if (why.isEmpty() && !Halted())
        ShowSent(plan->FrequencyHz, plan->Level);
    else if (!Halted())
        EndUntuned(action, ActionName(action), why);
    Changed();
}

// A set-up the rows cannot give: the button springs back and the operator is told why, with the
// line that names a value beyond its bound.
void GeneratorController::RefuseAction(GeneratorAction action, const QString& error, const QString& refused)
{
    if (!refused.isEmpty())
        Tell(refused);
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
        if (closing_ || Halted() || (endsWithLoop && !state_.GeneratorLoopActive))
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
    QString refused;
    const std::optional<SweepPlan> plan = ReadSweepPlan(view_, action, Limits(), &warning, &refused);
    if (!warning.isEmpty())
        view_.Messages.append(warning);
    if (!plan) {
        RefuseAction(action, kSweepError, refused);
        state_.GeneratorLoopActive = false;
        return;
    }
    ++loopDepth_;
    NotifyAction();
    Deliver([this] { PresetZeroSpanDbm(); }, false);
    RunFrequencySweep(action, *plan);
    if (!closing_)
        SwitchOff([this] {
            ScpiSourceOn(scpi_, QStringLiteral("-20"));
            ScpiSourceOff(scpi_);
        });
    LeaveLoop();
}

bool GeneratorController::RunFrequencySweep(GeneratorAction action, const SweepPlan& plan)
{
    const QString level = QString::number(plan.Level);
    int64_t hz = plan.StartHz;
    for (;;) {
        scpi_.Debug.LogMessage(QStringLiteral("TG Power ohne Kor") + level);
        const QString why = DeliverAt(
            [&] {
                SendLevel(plan.Level);
                SendFrequency(hz);
            },
            hz);
        if (why.isEmpty() && !Halted())
            ShowSent(hz, plan.Level);
        Changed();
        if (Halted())
            return false;
        // A step that did not reach the analyser, or one beyond its range, would be a gap that
        // nothing shows: the sweep ends there and says so.
        if (!why.isEmpty()) {
            Tell(QStringLiteral("Error: the sweep step at ") + why + QStringLiteral(", sweep stopped"));
            ToggleGeneratorRun(action);
            state_.GeneratorLoopActive = false;
            return false;
        }
        // Compared before adding, so a stop near the top of the 64-bit range cannot wrap.
        const bool last = plan.StopHz - hz < plan.StepHz;
        if (!last)
            hz += plan.StepHz;
        if (!Wait(static_cast<uint32_t>(plan.DwellMs), true)) {
            if (!closing_)
                SwitchOff([this] { SendStopSequence(); });
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
    QString refused;
    const std::optional<RampPlan> plan = ReadRampPlan(view_, Limits(), &refused);
    if (!plan) {
        RefuseAction(GeneratorAction::PowerRamp, kRampError, refused);
        state_.GeneratorLoopActive = false;
        return;
    }
    ++loopDepth_;
    NotifyAction();
    const QString why = DeliverAt(
        [&] {
            PresetZeroSpanDbm();
            SendFrequency(plan->FrequencyHz);
        },
        plan->FrequencyHz);
    if (why.isEmpty() && !Halted())
        ShowSent(plan->FrequencyHz, std::nullopt);
    else if (!Halted())
        EndUntuned(GeneratorAction::PowerRamp, QStringLiteral("the ramp"), why);
    Changed();
    bool open = why.isEmpty() && !Halted() && RunPowerRamp(*plan);
    while (open && plan->Periodic && state_.GeneratorLoopActive)
        open = RunPowerRamp(*plan);
    if (open) {
        if (state_.GeneratorLoopActive)
            ToggleGeneratorRun(GeneratorAction::PowerRamp);
        state_.GeneratorLoopActive = false;
        if (settings_.TgOffAfterRamp)
            SwitchOff([this] {
                ScpiSourceOn(scpi_, QStringLiteral("-20"));
                ScpiSourceOff(scpi_);
            });
        else if (output_ != GeneratorOutput::Off)
            // The operator chose to keep the output on; the view says so, and the status bar while
            // it stays on.
            Tell(QStringLiteral("Warning: the ramp has ended, the generator stays on at ") + view_.MarkerLevel +
                 QStringLiteral(" dBm (\"Tg off\" is off)"));
    }
    LeaveLoop();
}

bool GeneratorController::RunPowerRamp(const RampPlan& plan)
{
    // A stop click lets the ramp finish with its full timing; closing the window ends it, and so
    // does an analyser that is gone.
    for (const RampAction& a : RampSchedule(plan)) {
        if (a.What == RampAction::Send) {
            if (Deliver([&] { SendLevel(a.Value); }))
                ShowSent(std::nullopt, a.Value);
            Changed();
            if (Halted())
                return false;
        } else if (!Wait(static_cast<uint32_t>(a.Value), false)) {
            return false;
        }
    }
    return true;
}

bool GeneratorController::Shutdown()
{
    if (!closing_) {
        closing_ = true;
        stopOnClose_ = ActionActive();
        state_.GeneratorLoopActive = false;
        scpi_.Pump.Wake();
    }
    // A call under way is waited for where it was made, up to the analyser's time-out; the stop
    // follows once it has returned, so that nothing of the action comes after it.
    if (Busy())
        return false;
    if (std::exchange(stopOnClose_, false) && scpi_.Device.DeviceConnected && GeneratorSupported()) {
        Owned owned(*this);
        SwitchOff([this] { SendStopSequence(); });
    }
    state_.GeneratorRunning.fill(false);
    view_.ButtonRunning.fill(false);
    NotifyAction();
    return true;
}
