#pragma once

#include <array>
#include <string>

namespace dotvane {

// "weekday": today's name from the Weekdays settings, left-aligned width 11.
std::string WeekdayVariable(const std::array<std::string, 7>& WeekdayNames);
// "date": today in the user's short date format, left-aligned width 10.
std::string DateVariable();
// "time": now in the user's time format, left-aligned width 8.
std::string TimeVariable();

}  // namespace dotvane
