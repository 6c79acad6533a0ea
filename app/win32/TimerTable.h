#pragma once

#include "platform/win32/Win32Api.h"

#include <map>

namespace dotvane {

class Win32Timer;

// The timers that run on one window's WM_TIMER messages, by their ids. Ids
// are never used twice, so a tick of a timer that is gone, still waiting in
// the queue, finds nothing to run.
class TimerTable {
public:
    explicit TimerTable(HWND window) : window_(window) {}
    TimerTable(const TimerTable&) = delete;
    TimerTable& operator=(const TimerTable&) = delete;

    HWND Window() const { return window_; }
    // Gives a timer its id.
    UINT_PTR Add(Win32Timer& timer);
    void Remove(UINT_PTR id) { timers_.erase(id); }
    // Runs the timer a WM_TIMER message names; false when there is none.
    bool Fire(UINT_PTR id);

private:
    HWND window_;
    UINT_PTR nextId_ = 1;
    std::map<UINT_PTR, Win32Timer*> timers_;
};

}  // namespace dotvane
