#include "measurement/QtTickTimer.h"

QtTickTimer::QtTickTimer()
{
    timer_.setObjectName(QStringLiteral("Timer2"));
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (OnTick)
            OnTick();
    });
}

void QtTickTimer::Start(uint32_t intervalMs)
{
    timer_.setInterval(static_cast<int>(intervalMs));
    timer_.start();
}
