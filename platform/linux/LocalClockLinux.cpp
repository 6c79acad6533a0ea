#include "platform/linux/LocalClockLinux.h"

#include <ctime>

namespace dotvane::platform {
namespace {

std::tm ToTm(const LocalTime& time)
{
    std::tm tm{};
    tm.tm_year = time.Year - 1900;
    tm.tm_mon = time.Month - 1;
    tm.tm_mday = time.Day;
    tm.tm_wday = time.DayOfWeek;
    tm.tm_hour = time.Hour;
    tm.tm_min = time.Minute;
    tm.tm_sec = time.Second;
    tm.tm_isdst = -1;
    return tm;
}

std::string Format(const char* format, const LocalTime& time)
{
    const std::tm tm = ToTm(time);
    char buffer[128];
    const size_t length = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, length);
}

}  // namespace

LocalTime LocalClockLinux::GetLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (localtime_r(&now, &tm) == nullptr) return {};
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_wday, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string LocalClockLinux::FormatShortDate(const LocalTime& time) { return Format("%x", time); }

std::string LocalClockLinux::FormatLongTime(const LocalTime& time) { return Format("%X", time); }

LocalClock& SystemLocalClock()
{
    static LocalClockLinux source;
    return source;
}

}  // namespace dotvane::platform
