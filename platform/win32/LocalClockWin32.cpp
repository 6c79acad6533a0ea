#include "platform/LocalClock.h"

#include "platform/win32/Win32Api.h"

namespace dotvane::platform {
namespace {

SYSTEMTIME ToSystemTime(const LocalTime& time)
{
    SYSTEMTIME system{};
    system.wYear = static_cast<WORD>(time.Year);
    system.wMonth = static_cast<WORD>(time.Month);
    system.wDayOfWeek = static_cast<WORD>(time.DayOfWeek);
    system.wDay = static_cast<WORD>(time.Day);
    system.wHour = static_cast<WORD>(time.Hour);
    system.wMinute = static_cast<WORD>(time.Minute);
    system.wSecond = static_cast<WORD>(time.Second);
    return system;
}

// The user's formats, in the system's ANSI code page; empty when the date
// or time cannot be formatted (a field out of its range).
class LocalClockWin32 : public LocalClock {
public:
    LocalTime GetLocalTime() override
    {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        return LocalTime{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, now.wHour, now.wMinute, now.wSecond};
    }

    std::string FormatShortDate(const LocalTime& time) override
    {
        const SYSTEMTIME system = ToSystemTime(time);
        char buffer[128];
        const int length = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &system, nullptr, buffer, sizeof buffer);
        return length > 0 ? std::string(buffer, static_cast<size_t>(length - 1)) : std::string();
    }

    std::string FormatLongTime(const LocalTime& time) override
    {
        const SYSTEMTIME system = ToSystemTime(time);
        char buffer[128];
        const int length = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &system, nullptr, buffer, sizeof buffer);
        return length > 0 ? std::string(buffer, static_cast<size_t>(length - 1)) : std::string();
    }
};

}  // namespace

LocalClock& SystemLocalClock()
{
    static LocalClockWin32 source;
    return source;
}

}  // namespace dotvane::platform
