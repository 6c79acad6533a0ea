#include "platform/linux/LocalClockLinux.h"

#include "platform/Latin1Text.h"

#include <langinfo.h>

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

std::string Format(const std::string& format, const LocalTime& time)
{
    const std::tm tm = ToTm(time);
    char buffer[128];
    const size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
    return Latin1FromCodeset(std::string_view(buffer, length), nl_langinfo(CODESET));
}

}  // namespace

LocalClockLinux::LocalClockLinux(std::string dateFormat, std::string timeFormat)
    : dateFormat_(std::move(dateFormat)), timeFormat_(std::move(timeFormat))
{
}

LocalTime LocalClockLinux::GetLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (localtime_r(&now, &tm) == nullptr) return {};
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_wday, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string LocalClockLinux::FormatShortDate(const LocalTime& time) { return Format(dateFormat_, time); }

std::string LocalClockLinux::FormatLongTime(const LocalTime& time) { return Format(timeFormat_, time); }

LocalClock& SystemLocalClock()
{
    static LocalClockLinux source;
    return source;
}

}  // namespace dotvane::platform
