#ifndef ZENDRIK_INSTRUMENT_VISA_PUMPEDVISABACKEND_H
#define ZENDRIK_INSTRUMENT_VISA_PUMPEDVISABACKEND_H

#include "instrument/visa/VisaBackEnd.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class EventPump;

// How the calls on an instrument are waited for. Without a pump a call blocks its caller, as a
// VISA call does; with one, the window keeps working meanwhile. The work that owns the analyser
// (a run, a peak re-measurement) sets them for its time.
struct VisaWaitHooks {
    EventPump* Pump = nullptr;
    // Asked while a call is waited for: true (Stop was pressed) ends the wait.
    std::function<bool()> Cancelled;
};

namespace visa {
// How often the window's events are handled while a call is under way.
inline constexpr uint32_t kPumpSliceMs = 20;
// An answer that has not come this long after the session's time-out does not come: the caller
// gets VI_ERROR_TMO, and the call ends by itself later.
inline constexpr uint32_t kLateAnswerMs = 500;
// After Stop, how long a call may still take before its wait ends with VI_ERROR_ABORT.
inline constexpr uint32_t kStoppedCallMs = 200;
} // namespace visa

// Another back end whose calls are waited for through the hooks' pump. The calls that may wait
// on an instrument (open, close, read, write, clear) run one at a time on a helper thread while
// the caller's thread handles window events; the others run on the caller's thread once no call
// is under way. A wait that ends early (Stop, no answer in time) leaves its call to finish on
// the helper thread with buffers of its own; until it has, the next call waits for it, or ends
// at once with VI_ERROR_ABORT while Stop holds, so that an instrument never gets two calls at
// once. Nothing here knows a widget.
class PumpedVisaBackEnd final : public VisaBackEnd {
public:
    PumpedVisaBackEnd(std::unique_ptr<VisaBackEnd> inner, const VisaWaitHooks& hooks);
    ~PumpedVisaBackEnd() override;
    PumpedVisaBackEnd(const PumpedVisaBackEnd&) = delete;
    PumpedVisaBackEnd& operator=(const PumpedVisaBackEnd&) = delete;

    ViStatus viOpen(ViSession rm, const char* resource, ViUInt32 accessMode, ViUInt32 openTimeout,
                    ViSession* session) override;
    ViStatus viOpenDefaultRM(ViSession* rm) override;
    ViStatus viFindRsrc(ViSession rm, const char* expression, ViFindList* list, ViUInt32* count,
                        char* description) override;
    ViStatus viFindNext(ViFindList list, char* description) override;
    ViStatus viWrite(ViSession session, const ViByte* buffer, ViUInt32 count, ViUInt32* written) override;
    ViStatus viRead(ViSession session, ViByte* buffer, ViUInt32 count, ViUInt32* read) override;
    ViStatus viClose(ViObject object) override;
    ViStatus viFlush(ViSession session, ViUInt16 mask) override;
    ViStatus viGetAttribute(ViObject object, ViAttr attribute, void* value) override;
    ViStatus viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value) override;
    ViStatus viClear(ViSession session) override;

    uintptr_t Handle() const override { return inner_->Handle(); }
    uintptr_t EntryPointAddress(int index) const override { return inner_->EntryPointAddress(index); }
    QString Description() const override { return inner_->Description(); }
    QString OpenFailure(ViStatus status) const override { return inner_->OpenFailure(status); }

private:
    struct Call;
    class Helper;
    using Clock = std::chrono::steady_clock;
    enum class WaitEnd { Done, Stopped, Late };

    WaitEnd Wait(const Call* call, std::optional<Clock::time_point> late, std::optional<Clock::time_point> stopFrom);
    bool Settle(bool stoppable);
    ViStatus Run(const std::shared_ptr<Call>& call, std::optional<ViSession> stoppableOn, bool* ended);

    std::unique_ptr<VisaBackEnd> inner_;
    const VisaWaitHooks& hooks_;
    // Declared after inner_: it finishes the call under way before inner_ goes.
    std::unique_ptr<Helper> helper_;
};

#endif
