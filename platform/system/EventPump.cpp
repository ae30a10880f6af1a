#include "platform/system/EventPump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>

struct QtEventPump::Impl {
    QElapsedTimer clock;
    QPointer<QEventLoop> running; // the loop of the WaitEvents in progress, if any
};

QtEventPump::QtEventPump() : impl_(std::make_unique<Impl>())
{
    impl_->clock.start();
}

QtEventPump::~QtEventPump() = default;

uint32_t QtEventPump::TickCount() const
{
    return static_cast<uint32_t>(impl_->clock.elapsed());
}

void QtEventPump::ProcessEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::WaitEvents(uint32_t maxMs)
{
    if (maxMs == 0) {
        ProcessEvents();
        return;
    }
    // A local loop blocks in the platform's event wait and wakes for window events, timers or
    // the time-out; nested waits each have their own loop.
    QEventLoop loop;
    QPointer<QEventLoop> outer = impl_->running;
    impl_->running = &loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(std::min<uint32_t>(maxMs, 0x7fffffff)));
    loop.exec(QEventLoop::AllEvents);
    impl_->running = outer;
}

void QtEventPump::Wake()
{
    if (impl_->running)
        impl_->running->quit();
}

VirtualEventPump::VirtualEventPump(uint32_t start) : now_(start) {}

void VirtualEventPump::Schedule(uint32_t afterMs, std::function<void()> action)
{
    pending_.push_back({now_ + afterMs, std::move(action)});
}

void VirtualEventPump::RunDue()
{
    // Actions may schedule further actions, so take the due ones out before running them.
    for (;;) {
        auto it = std::find_if(pending_.begin(), pending_.end(),
                               [this](const Pending& p) { return static_cast<int32_t>(now_ - p.due) >= 0; });
        if (it == pending_.end())
            return;
        auto action = std::move(it->action);
        pending_.erase(it);
        action();
    }
}

void VirtualEventPump::ProcessEvents()
{
    RunDue();
}

void VirtualEventPump::WaitEvents(uint32_t maxMs)
{
    ++waits_;
    woken_ = false;
    uint32_t step = maxMs;
    for (const Pending& p : pending_) {
        const uint32_t until = p.due - now_;
        if (static_cast<int32_t>(until) >= 0 && until < step)
            step = until;
    }
    now_ += step;
    RunDue();
}

void WaitMs(EventPump& pump, uint32_t ms)
{
    const uint32_t start = pump.TickCount();
    for (;;) {
        const uint32_t elapsed = pump.TickCount() - start;
        if (elapsed >= ms)
            return;
        pump.WaitEvents(ms - elapsed);
    }
}
