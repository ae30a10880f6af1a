#ifndef ZENDRIK_IMMUNITY_GENERATORCONTROLLER_H
#define ZENDRIK_IMMUNITY_GENERATORCONTROLLER_H

#include "immunity/GeneratorAction.h"
#include "immunity/GeneratorPlans.h"
#include "immunity/GeneratorView.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class AnalyserOwnership;
struct ScpiContext;
struct GeneratorSettings;

// What the tracking generator's output is as far as the program knows: off, on (switched on, not
// yet off again: an action runs, or "Tg off" kept it on after a ramp), or perhaps on (the link was
// lost before the generator was switched off).
enum class GeneratorOutput : uint8_t { Off, On, MayBeOn };

// The run flags of the generator view.
struct GeneratorState {
    // Whether that action runs (its speed button is pressed).
    PerGeneratorAction<bool> GeneratorRunning;
    // While a sweep or ramp may continue.
    bool GeneratorLoopActive = false;
};

// What the controller needs from the window.
struct GeneratorHooks {
    std::function<void(const QString&)> ShowError; // error box, one OK button
    std::function<void()> ViewChanged;              // the model changed: show it
    // A generator action started (true) or the last one ended (false): the main window disables
    // Play, peak re-measurement and coverage Start meanwhile.
    std::function<void(bool)> ActionChanged;
    // The output went on or off: the main window's status bar shows it.
    std::function<void(GeneratorOutput)> OutputChanged;
    // Why the amplifier table the settings grid names gave no curve ("Amplifier File not usable:
    // ..."); empty while it is there or none is named. No action starts without it.
    std::function<QString()> RefusedCorrection;
};

// The generator view's actions: fixed frequencies, sweep bands, power ramp and manual stepping,
// on the tracking generator through the SCPI layer. Runs on the GUI thread; while an action sends,
// and for the whole of a sweep or ramp, every wait goes through the event pump, so a second click
// arrives during them. An analyser that stays silent or whose link closes ends every action with
// one line; the marker boxes only ever show what reached it. Nothing starts while another holds
// the analyser (AnalyserHold); while an action runs the generator holds it.
class GeneratorController {
public:
    GeneratorController(ScpiContext& scpi, GeneratorViewModel& view, GeneratorState& state,
                        const GeneratorSettings& settings, GeneratorHooks hooks);

    // Queries.
    // Something radiates, or a loop or the commands of a click have not returned yet.
    bool ActionActive() const;
    // A sweep or ramp loop is running (perhaps already stopped and finishing).
    bool LoopBusy() const { return loopDepth_ > 0; }
    // The generator commands exist for the connected family (Rigol and Siglent).
    bool GeneratorSupported() const;
    GeneratorOutput Output() const { return output_; }
    // The one line a view the operator moves to shows while the generator is on (an action runs
    // or its output was left on); empty while it is off.
    QString OnLine() const;

    // A speed button was clicked: its action starts, or stops when it runs.
    void Click(GeneratorAction action);
    void ToggleGeneratorRun(GeneratorAction action);
    void SetGeneratorButtonsEnabled(bool on);
    void StartGeneratorAction(GeneratorAction action, bool start);
    // Asks again who holds the analyser after an emission run or coverage logging started or ended.
    void RefreshOwnership();

    // Manual stepping (spin buttons, Enter in the boxes); Click switches it on and off.
    void FrequencyUp() { StepFrequency(+1); }
    void FrequencyDown() { StepFrequency(-1); }
    void AmplitudeUp() { StepAmplitude(+1); }
    void AmplitudeDown() { StepAmplitude(-1); }
    void EnterFrequency();
    void EnterAmplitude();
    void EnterFrequencyIncrement();
    // "Mark Freq by *" ('*') and "Mark Freq by #" ('#'), with the time of day as text.
    void AddMark(const QString& timeText, QChar sign);

    // The window closes: a running action stops and loops return without sending anything more.
    // False while a call of an action is still under way (asked again later, it is waited for);
    // then the generator is switched off, while the session is still open, and true.
    bool Shutdown();

private:
    // The generator owns the analyser for the time of one of these (see the .cpp).
    class Owned {
    public:
        explicit Owned(GeneratorController& g);
        ~Owned();
        Owned(const Owned&) = delete;
        Owned& operator=(const Owned&) = delete;

    private:
        GeneratorController& g_;
        std::unique_ptr<AnalyserOwnership> analyser_;
    };

    void Owning(const std::function<void()>& work);
    void ToggleManualStepping();
    void RunFixedFrequency(GeneratorAction action);
    void RunSweep(GeneratorAction action);
    // False when the sweep was stopped, the window closed or the sweep Halted.
    bool RunFrequencySweep(GeneratorAction action, const SweepPlan& plan);
    // False when the window closed or the ramp Halted.
    bool RunPowerRamp(const RampPlan& plan);
    void RunRamp();
    void RefuseAction(GeneratorAction action, const QString& error, const QString& refused);
    void PresetZeroSpanDbm();
    // Waits ms; false when it ended early: with endsWithLoop when GeneratorLoopActive dropped,
    // and always when the window closes.
    bool Wait(uint32_t ms, bool endsWithLoop);
    void SendLevel(int64_t level);
    void SendFrequency(int64_t hz);
    void SendStopSequence();
    // Delivers an off sequence; the output counts as off once it has reached the analyser.
    void SwitchOff(const std::function<void()>& send);
    void SetOutput(GeneratorOutput output);
    // A line for the view's box and the message log.
    void Tell(const QString& line);
    // Sends what send sends; with confirm, where a write only fills a buffer, "*OPC?" follows and
    // must be answered. True when all of it reached the analyser. Sends nothing once Halted.
    bool Deliver(const std::function<void()>& send, bool confirm = true);
    // Delivers what send sends, which sets the centre to hz, and asks the centre back. Empty when
    // the analyser tuned to hz (or the link was lost: that is said); otherwise why not, starting
    // with the frequency ("1.000.000 Hz did not reach the analyser").
    QString DeliverAt(const std::function<void()>& send, int64_t hz);
    // An action whose frequency the analyser did not take ends with one line naming what and why,
    // and the generator, which may radiate at another frequency, is switched off.
    void EndUntuned(GeneratorAction action, const QString& what, const QString& why);
    // The marker boxes: a frequency and a level that reached the analyser.
    void ShowSent(std::optional<int64_t> hz, std::optional<int64_t> level);
    void EndOnLostLink();
    // Nothing more is sent for this click: the link is gone.
    bool Halted() const { return lost_; }
    // A loop, or the commands of a click, are under way.
    bool Busy() const { return loopDepth_ > 0 || ownedDepth_ > 0; }
    // A manual step's commands are under way: further steps are dropped until they return.
    bool ManualSending() const;
    void LeaveLoop();
    bool Refuses();
    bool RefusesStart(GeneratorAction action);
    void SetEditsReadOnly(bool readOnly);
    GeneratorLimits Limits() const;
    void Changed();
    void NotifyAction();
    void Warn(const QString& line);
    void StepFrequency(int direction);
    void StepAmplitude(int direction);
    std::optional<int32_t> ManualLevel();
    std::optional<int64_t> ManualFrequency();
    // A box of manual stepping as a whole number within the bound of its project key (an increment
    // only when above 0): a text that is no whole number gives the line noNumber, one beyond the
    // bound a line naming it.
    std::optional<int64_t> ReadManual(const GeneratorEdit& edit, const char* caption, const ValueBound& bound,
                                      const QString& noNumber, bool increment = false);
    // The manual frequency (or amplitude) box moved by its increment in direction (an increment of
    // 0 or below leaves it as it is), both read by ReadManual.
    std::optional<int64_t> StepManual(bool frequency, int direction);
    // A manual frequency and level, in the order the step sends them (after zero span when it is
    // switched on); the marker boxes show them once the analyser has taken them.
    void SendManual(int64_t hz, int64_t level, bool levelFirst, bool zeroSpanFirst = false);

    ScpiContext& scpi_;
    GeneratorViewModel& view_;
    GeneratorState& state_;
    const GeneratorSettings& settings_;
    GeneratorHooks hooks_;
    int loopDepth_ = 0;
    int ownedDepth_ = 0;       // nested Owned scopes
    bool lost_ = false;        // the link went in this click's work: told once
    bool closing_ = false;
    bool stopOnClose_ = false; // something radiated when the window began to close
    // Stopped while its commands were on their way: switched off once they have returned.
    std::optional<GeneratorAction> pendingStop_;
    bool reportedActive_ = false;
    GeneratorOutput output_ = GeneratorOutput::Off;
};

#endif
