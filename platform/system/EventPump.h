#ifndef ZENDRIK_PLATFORM_SYSTEM_EVENTPUMP_H
#define ZENDRIK_PLATFORM_SYSTEM_EVENTPUMP_H

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Every wait of the program goes through this interface. The program runs on one GUI thread, so
// a wait must keep handling window events; it blocks on a local event loop instead of spinning.
// Tests substitute VirtualEventPump, whose clock only moves when somebody waits.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Milliseconds since an arbitrary start; wraps modulo 2^32 like the tick counter it replaces.
    virtual uint32_t TickCount() const = 0;
    // Handles the events that are pending now, without blocking.
    virtual void ProcessEvents() = 0;
    // Blocks for at most maxMs while handling events as they arrive; returns early after Wake().
    virtual void WaitEvents(uint32_t maxMs) = 0;
    // Ends the WaitEvents that is running now (from a handler that runs inside it).
    virtual void Wake() = 0;
};

// The real pump over Qt's event loop.
class QtEventPump final : public EventPump {
public:
    QtEventPump();
    ~QtEventPump() override;
    uint32_t TickCount() const override;
    void ProcessEvents() override;
    void WaitEvents(uint32_t maxMs) override;
    void Wake() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A pump with a virtual clock. WaitEvents advances the clock (to the next scheduled action when
// that comes first) and runs the actions that fall due, so tests of long waits take no time.
class VirtualEventPump final : public EventPump {
public:
    explicit VirtualEventPump(uint32_t start = 0);
    uint32_t TickCount() const override { return now_; }
    void ProcessEvents() override;
    void WaitEvents(uint32_t maxMs) override;
    void Wake() override { woken_ = true; }

    // Runs action when the virtual clock reaches now + afterMs (during a wait or ProcessEvents).
    void Schedule(uint32_t afterMs, std::function<void()> action);
    uint64_t Waits() const { return waits_; }

private:
    void RunDue();
    struct Pending {
        uint32_t due;
        std::function<void()> action;
    };
    uint32_t now_;
    bool woken_ = false;
    uint64_t waits_ = 0;
    std::vector<Pending> pending_;
};

// Waits ms milliseconds while the GUI keeps working. The elapsed time is computed in unsigned
// 32-bit arithmetic so that a wrap of the tick counter neither ends nor extends the wait.
void WaitMs(EventPump& pump, uint32_t ms);

#endif
