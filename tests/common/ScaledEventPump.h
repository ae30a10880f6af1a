#ifndef ZENDRIK_TESTS_COMMON_SCALEDEVENTPUMP_H
#define ZENDRIK_TESTS_COMMON_SCALEDEVENTPUMP_H

#include "platform/system/EventPump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

// The real Qt event loop under a clock that runs `scale` times faster than the wall clock, for
// tests that drive the windows through whole runs: every wait of the program handles window
// events as it does in the program, but a wait of 3 s takes 3 ms. A wait shorter than one real
// millisecond handles the pending events and moves the clock on.
class ScaledEventPump final : public EventPump {
public:
    explicit ScaledEventPump(uint32_t scale) : scale_(scale) { clock_.start(); }

    uint32_t TickCount() const override
    {
        return static_cast<uint32_t>(static_cast<uint64_t>(clock_.nsecsElapsed()) * scale_ / 1000000u + skipped_);
    }
    void ProcessEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
    void WaitEvents(uint32_t maxMs) override
    {
        if (maxMs < scale_) {
            ProcessEvents();
            skipped_ += maxMs;
            return;
        }
        QEventLoop loop;
        QPointer<QEventLoop> outer = running_;
        running_ = &loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(maxMs / scale_));
        loop.exec(QEventLoop::AllEvents);
        running_ = outer;
    }
    void Wake() override
    {
        if (running_)
            running_->quit();
    }

private:
    uint32_t scale_;
    QElapsedTimer clock_;
    uint64_t skipped_ = 0;
    QPointer<QEventLoop> running_;
};

#endif
