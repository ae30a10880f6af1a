#ifndef ZENDRIK_TOOLS_SIM_SIMCLOCK_H
#define ZENDRIK_TOOLS_SIM_SIMCLOCK_H

#include <QElapsedTimer>
#include <cstdint>
#include <limits>

// The simulator's virtual time. scale is real seconds per virtual second: 0.001 lets a 10 s
// sweep pass in 10 ms of real time, so tests of long sweeps stay fast.
class SimClock {
public:
    explicit SimClock(double scale = 1.0) : scale_(scale > 0 ? scale : 1.0) { timer_.start(); }
    double NowMs() const { return static_cast<double>(timer_.nsecsElapsed()) / 1e6 / scale_; }
    double Scale() const { return scale_; }
    // Real milliseconds until virtual time t (0 when past, a large value for "never").
    int64_t RealMsUntil(double virtualMs) const
    {
        if (virtualMs >= Never())
            return std::numeric_limits<int32_t>::max();
        const double d = (virtualMs - NowMs()) * scale_;
        return d <= 0 ? 0 : static_cast<int64_t>(d) + 1;
    }
    static constexpr double Never() { return 1e300; }

private:
    double scale_;
    QElapsedTimer timer_;
};

#endif
