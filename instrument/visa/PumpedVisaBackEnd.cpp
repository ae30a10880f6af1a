#include "instrument/visa/PumpedVisaBackEnd.h"

#include "platform/system/EventPump.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One call for the helper thread. Shared between the waiting caller and the helper, so that a
// call whose wait ended early still has its buffers when it ends.
struct PumpedVisaBackEnd::Call {
    std::function<ViStatus(Call&)> work;
    std::vector<ViByte> bytes; // what a write sends, what a read got
    ViUInt32 count = 0;
    ViSession session = 0;
    ViStatus status = visa::VI_SUCCESS;
    bool done = false; // under the helper's lock
};

// The thread the calls run on, one at a time. It is started by the first call that needs it.
class PumpedVisaBackEnd::Helper {
public:
    ~Helper()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    // Whether call has ended; with none, whether no call is under way.
    bool Ended(const Call* call)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return call ? call->done : !busy_;
    }

    // Only while no call is under way.
    void Start(std::shared_ptr<Call> call)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_ = std::move(call);
            busy_ = true;
        }
        if (!thread_.joinable())
            thread_ = std::thread([this] { Loop(); });
        wake_.notify_one();
    }

    // As Ended, waiting at most ms for it.
    bool WaitEnded(const Call* call, uint32_t ms)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return idle_.wait_for(lock, std::chrono::milliseconds(ms), [this, call] { return call ? call->done : !busy_; });
    }

    void WaitIdle()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return !busy_; });
    }

private:
    void Loop()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return quit_ || pending_; });
            if (!pending_)
                return;
            const std::shared_ptr<Call> call = std::move(pending_);
            lock.unlock();
            call->status = call->work(*call);
            lock.lock();
            call->done = true;
            busy_ = false;
            idle_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::shared_ptr<Call> pending_;
    bool busy_ = false;
    bool quit_ = false;
    std::thread thread_;
};

PumpedVisaBackEnd::PumpedVisaBackEnd(std::unique_ptr<VisaBackEnd> inner, const VisaWaitHooks& hooks)
    : inner_(std::move(inner)), hooks_(hooks), helper_(std::make_unique<Helper>())
{
}

PumpedVisaBackEnd::~PumpedVisaBackEnd() { helper_.reset(); }

// Waits until call has ended (with none: until no call is under way). The caller's thread blocks
// on that for a slice at a time and handles the window's events between slices, so that a
// repaint, Pause or Stop is served within a slice whatever the instrument does; the end of the
// call ends the block at once.
PumpedVisaBackEnd::WaitEnd PumpedVisaBackEnd::Wait(const Call* call, std::optional<Clock::time_point> late,
                                                   std::optional<Clock::time_point> stopFrom)
{
    for (;;) {
        if (helper_->WaitEnded(call, visa::kPumpSliceMs))
            return WaitEnd::Done;
        hooks_.Pump->ProcessEvents();
        if (helper_->Ended(call))
            return WaitEnd::Done;
        const Clock::time_point now = Clock::now();
        if (stopFrom && now >= *stopFrom && hooks_.Cancelled && hooks_.Cancelled())
            return WaitEnd::Stopped;
        if (late && now >= *late)
            return WaitEnd::Late;
    }
}

// Waits for a call that is still under way (one whose wait ended early). False when Stop ended
// the wait (stoppable calls only): the instrument has not answered the last call yet, and after
// Stop nothing more is asked of it.
bool PumpedVisaBackEnd::Settle(bool stoppable)
{
    if (helper_->Ended(nullptr))
        return true;
    if (!hooks_.Pump) {
        helper_->WaitIdle();
        return true;
    }
    return Wait(nullptr, std::nullopt, stoppable ? std::optional(Clock::now()) : std::nullopt) == WaitEnd::Done;
}

// stoppableOn: the session whose time-out bounds the wait, for a call that Stop or silence may
// end early; none for the calls that are waited for until they end (open, close). *ended tells
// whether the call has ended: only then may its results be read.
ViStatus PumpedVisaBackEnd::Run(const std::shared_ptr<Call>& call, std::optional<ViSession> stoppableOn, bool* ended)
{
    *ended = false;
    if (!Settle(stoppableOn.has_value()))
        return visa::VI_ERROR_ABORT;
    *ended = true;
    if (!hooks_.Pump)
        return call->work(*call);
    std::optional<Clock::time_point> late;
    std::optional<Clock::time_point> stopFrom;
    const Clock::time_point start = Clock::now();
    if (stoppableOn) {
        ViUInt32 timeoutMs = visa::kDefaultTimeoutMs;
        inner_->viGetAttribute(*stoppableOn, visa::VI_ATTR_TMO_VALUE, &timeoutMs);
        if (timeoutMs != visa::VI_TMO_INFINITE)
            late = start + std::chrono::milliseconds(int64_t{timeoutMs} + visa::kLateAnswerMs);
        stopFrom = start + std::chrono::milliseconds(visa::kStoppedCallMs);
    }
    helper_->Start(call);
    const WaitEnd end = Wait(call.get(), late, stopFrom);
    *ended = end == WaitEnd::Done;
    if (end == WaitEnd::Done)
        return call->status;
    return end == WaitEnd::Stopped ? visa::VI_ERROR_ABORT : visa::VI_ERROR_TMO;
}

ViStatus PumpedVisaBackEnd::viOpen(ViSession rm, const char* resource, ViUInt32 accessMode, ViUInt32 openTimeout,
                                   ViSession* session)
{
    if (session)
        *session = 0;
    auto call = std::make_shared<Call>();
    const std::string name = resource ? resource : "";
    const bool named = resource != nullptr;
    call->work = [this, rm, name, named, accessMode, openTimeout](Call& c) {
        return inner_->viOpen(rm, named ? name.c_str() : nullptr, accessMode, openTimeout, &c.session);
    };
    bool ended = false;
    const ViStatus st = Run(call, std::nullopt, &ended);
    if (session && ended)
        *session = call->session;
    return st;
}

ViStatus PumpedVisaBackEnd::viClose(ViObject object)
{
    auto call = std::make_shared<Call>();
    call->work = [this, object](Call&) { return inner_->viClose(object); };
    bool ended = false;
    return Run(call, std::nullopt, &ended);
}

ViStatus PumpedVisaBackEnd::viWrite(ViSession session, const ViByte* buffer, ViUInt32 count, ViUInt32* written)
{
    if (written)
        *written = 0;
    auto call = std::make_shared<Call>();
    if (buffer)
        call->bytes.assign(buffer, buffer + count);
    const bool none = buffer == nullptr;
    call->work = [this, session, none, count](Call& c) {
        return inner_->viWrite(session, none ? nullptr : c.bytes.data(), count, &c.count);
    };
    bool ended = false;
    const ViStatus st = Run(call, session, &ended);
    if (written && ended)
        *written = call->count;
    return st;
}

ViStatus PumpedVisaBackEnd::viRead(ViSession session, ViByte* buffer, ViUInt32 count, ViUInt32* read)
{
    if (read)
        *read = 0;
    auto call = std::make_shared<Call>();
    const bool none = buffer == nullptr;
    call->bytes.resize(none ? 0 : count);
    call->work = [this, session, none, count](Call& c) {
        return inner_->viRead(session, none ? nullptr : c.bytes.data(), count, &c.count);
    };
    bool ended = false;
    const ViStatus st = Run(call, session, &ended);
    if (!ended)
        return st;
    const ViUInt32 got = std::min<ViUInt32>(call->count, count);
    if (buffer && got > 0)
        std::memcpy(buffer, call->bytes.data(), got);
    if (read)
        *read = got;
    return st;
}

ViStatus PumpedVisaBackEnd::viClear(ViSession session)
{
    auto call = std::make_shared<Call>();
    call->work = [this, session](Call&) { return inner_->viClear(session); };
    bool ended = false;
    return Run(call, session, &ended);
}

ViStatus PumpedVisaBackEnd::viOpenDefaultRM(ViSession* rm)
{
    if (!Settle(true))
        return visa::VI_ERROR_ABORT;
    return inner_->viOpenDefaultRM(rm);
}

ViStatus PumpedVisaBackEnd::viFindRsrc(ViSession rm, const char* expression, ViFindList* list, ViUInt32* count,
                                       char* description)
{
    if (!Settle(true))
        return visa::VI_ERROR_ABORT;
    return inner_->viFindRsrc(rm, expression, list, count, description);
}

ViStatus PumpedVisaBackEnd::viFindNext(ViFindList list, char* description)
{
    if (!Settle(true))
        return visa::VI_ERROR_ABORT;
    return inner_->viFindNext(list, description);
}

ViStatus PumpedVisaBackEnd::viFlush(ViSession session, ViUInt16 mask)
{
    if (!Settle(true))
        return visa::VI_ERROR_ABORT;
    return inner_->viFlush(session, mask);
}

ViStatus PumpedVisaBackEnd::viGetAttribute(ViObject object, ViAttr attribute, void* value)
{
    if (!Settle(true))
        return visa::VI_ERROR_ABORT;
    return inner_->viGetAttribute(object, attribute, value);
}

ViStatus PumpedVisaBackEnd::viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value)
{
    if (!Settle(true))
        return visa::VI_ERROR_ABORT;
    return inner_->viSetAttribute(object, attribute, value);
}
