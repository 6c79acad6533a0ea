#pragma once

#include "app/win32/TimerTable.h"
#include "base/Timer.h"

namespace dotvane {

// A Timer on SetTimer and KillTimer of a window, which receives its ticks as
// WM_TIMER messages, also inside a message box's loop. SetTimer restarts the
// count, so the count is only (re)started where Timer says.
class Win32Timer final : public Timer {
public:
    Win32Timer(TimerTable& table, int32_t interval);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    // The count elapsed: runs the handler.
    void Tick() { Elapsed(); }

protected:
    void Rearm() override;

private:
    TimerTable& table_;
    const UINT_PTR id_;
};

}  // namespace dotvane
