#pragma once

#include <cstdint>
#include <functional>

namespace dotvane {

// A periodic timer with the semantics the program relies on:
// - setting the period it already has leaves the running count alone;
//   another period restarts the count; a period of 0 stops it;
// - the enabled flag is separate from the period: a disabled timer keeps its
//   period and starts a fresh count when enabled again.
// Implementations only start and stop the underlying clock; tests use
// ManualTimer and fire it by hand.
class Timer {
public:
    using Handler = std::function<void()>;

    virtual ~Timer() = default;

    void SetInterval(int32_t milliseconds);
    int32_t Interval() const { return interval_; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    void SetHandler(Handler handler) { handler_ = std::move(handler); }

    // Whether the clock is counting: enabled with a period above 0.
    bool Running() const { return enabled_ && interval_ > 0; }

protected:
    explicit Timer(int32_t interval) : interval_(interval) {}
    // Stop the clock and, when Running(), start a fresh count of Interval().
    virtual void Rearm() = 0;
    // Called by the implementation when the count elapses.
    void Elapsed();

private:
    int32_t interval_;
    bool enabled_ = true;
    Handler handler_;
};

// A timer driven by hand: Advance() passes simulated time and runs the handler
// each time a full period has elapsed; Fire() runs it at once if it would run.
class ManualTimer : public Timer {
public:
    explicit ManualTimer(int32_t interval = 1000) : Timer(interval) {}

    void Advance(int64_t milliseconds);
    // Runs the handler as an elapsed count would; nothing when not running.
    bool Fire();
    // Milliseconds counted since the last (re)start.
    int64_t Counted() const { return counted_; }
    int Restarts() const { return restarts_; }

protected:
    void Rearm() override;

private:
    int64_t counted_ = 0;
    int restarts_ = 0;
};

}  // namespace dotvane
