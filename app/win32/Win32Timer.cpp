#include "app/win32/Win32Timer.h"

namespace dotvane {

Win32Timer::Win32Timer(TimerTable& table, int32_t interval) : Timer(interval), table_(table), id_(table.Add(*this))
{
    Rearm();
}

Win32Timer::~Win32Timer()
{
    ::KillTimer(table_.Window(), id_);
    table_.Remove(id_);
}

void Win32Timer::Rearm()
{
    ::KillTimer(table_.Window(), id_);
    if (Running()) ::SetTimer(table_.Window(), id_, static_cast<UINT>(Interval()), nullptr);
}

}  // namespace dotvane
