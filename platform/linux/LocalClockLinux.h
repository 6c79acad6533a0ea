#pragma once

#include "platform/LocalClock.h"

namespace dotvane::platform {

// The local time of the C library, formatted with the date ("%x") and time
// ("%X") formats of the process's LC_TIME locale, which the Qt application
// sets from the user's environment at start. The texts, which may hold the
// locale's names of days, months and times of day, are turned from the
// locale's character set into the program's Latin-1 characters.
class LocalClockLinux : public LocalClock {
public:
    // Other strftime formats stand in for "%x" and "%X" (tests).
    explicit LocalClockLinux(std::string dateFormat = "%x", std::string timeFormat = "%X");
    LocalTime GetLocalTime() override;
    std::string FormatShortDate(const LocalTime& time) override;
    std::string FormatLongTime(const LocalTime& time) override;

private:
    std::string dateFormat_;
    std::string timeFormat_;
};

}  // namespace dotvane::platform
