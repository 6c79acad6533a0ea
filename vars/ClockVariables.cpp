#include "vars/ClockVariables.h"

#include "platform/LocalClock.h"
#include "vars/Format.h"

namespace dotvane {

std::string WeekdayVariable(const std::array<std::string, 7>& WeekdayNames)
{
    const int day = platform::LocalClockService::Current().GetLocalTime().DayOfWeek;
    if (day < 0 || day >= static_cast<int>(WeekdayNames.size())) return PadRight({}, 11);
    return PadRight(WeekdayNames[day], 11);
}

std::string DateVariable()
{
    platform::LocalClock& clock = platform::LocalClockService::Current();
    return PadRight(clock.FormatShortDate(clock.GetLocalTime()), 10);
}

std::string TimeVariable()
{
    platform::LocalClock& clock = platform::LocalClockService::Current();
    return PadRight(clock.FormatLongTime(clock.GetLocalTime()), 8);
}

}  // namespace dotvane
