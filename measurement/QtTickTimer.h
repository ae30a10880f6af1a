#ifndef ZENDRIK_MEASUREMENT_QTTICKTIMER_H
#define ZENDRIK_MEASUREMENT_QTTICKTIMER_H

#include "measurement/RunHost.h"

#include <QTimer>

// The correction-curve timer over a Qt timer; it ticks whenever the GUI thread handles events,
// also inside the waits of a run.
class QtTickTimer final : public TickTimer {
public:
    QtTickTimer();
    void Start(uint32_t intervalMs) override;
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

#endif
