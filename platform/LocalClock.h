#pragma once

#include "base/ServicePoint.h"

#include <string>

namespace dotvane::platform {

// A local date and time in the fields of GetLocalTime's SYSTEMTIME.
struct LocalTime {
    int Year = 1970;
    int Month = 1;      // 1 … 12
    int DayOfWeek = 4;  // 0 Sunday … 6 Saturday
    int Day = 1;        // 1 … 31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

// The local clock and the user's formats for dates and times
// (GetLocalTime, GetDateFormatA with the short date, GetTimeFormatA).
class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual LocalTime GetLocalTime() = 0;
    // The date in the user's short date format.
    virtual std::string FormatShortDate(const LocalTime& time) = 0;
    // The time with hours, minutes and seconds in the user's time format.
    virtual std::string FormatLongTime(const LocalTime& time) = 0;
};

// The system's implementation, created on first use.
LocalClock& SystemLocalClock();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using LocalClockService = ServicePoint<LocalClock, SystemLocalClock>;

}  // namespace dotvane::platform
