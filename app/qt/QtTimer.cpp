#include "app/qt/QtTimer.h"

namespace dotvane {

QtTimer::QtTimer(int32_t interval) : Timer(interval)
{
    timer_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Elapsed(); });
    Rearm();
}

void QtTimer::Rearm()
{
    timer_.stop();
    if (Running()) timer_.start(Interval());
}

}  // namespace dotvane
