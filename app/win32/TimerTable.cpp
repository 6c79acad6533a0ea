#include "app/win32/TimerTable.h"

#include "app/win32/Win32Timer.h"

namespace dotvane {

UINT_PTR TimerTable::Add(Win32Timer& timer)
{
    const UINT_PTR id = nextId_++;
    timers_[id] = &timer;
    return id;
}

bool TimerTable::Fire(UINT_PTR id)
{
    const auto found = timers_.find(id);
    if (found == timers_.end()) return false;
    found->second->Tick();
    return true;
}

}  // namespace dotvane
