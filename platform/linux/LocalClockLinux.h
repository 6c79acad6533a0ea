#pragma once

#include "platform/LocalClock.h"

namespace dotvane::platform {

// The local time of the C library, formatted with the date ("%x") and time
// ("%X") formats of the process's LC_TIME locale, which the Qt application
// sets from the user's environment at start.
class LocalClockLinux : public LocalClock {
public:
    LocalTime GetLocalTime() override;
    std::string FormatShortDate(const LocalTime& time) override;
    std::string FormatLongTime(const LocalTime& time) override;
};

}  // namespace dotvane::platform
