#include "base/Timer.h"

#include <algorithm>

namespace dotvane {

void Timer::SetInterval(int32_t milliseconds)
{
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    Rearm();
}

void Timer::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Rearm();
}

void Timer::Elapsed()
{
    if (Running() && handler_) handler_();
}

void ManualTimer::Rearm()
{
    counted_ = 0;
    ++restarts_;
}

void ManualTimer::Advance(int64_t milliseconds)
{
    while (Running() && milliseconds > 0) {
        const int64_t step = std::min<int64_t>(milliseconds, Interval() - counted_);
        counted_ += step;
        milliseconds -= step;
        if (counted_ >= Interval()) {
            counted_ = 0;
            Elapsed();
        }
    }
}

bool ManualTimer::Fire()
{
    if (!Running()) return false;
    counted_ = 0;
    Elapsed();
    return true;
}

}  // namespace dotvane
