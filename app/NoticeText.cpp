#include "app/NoticeText.h"

#include "platform/LocalClock.h"

#include <cstdio>

namespace dotvane {

std::string CutNotice(std::string_view text)
{
    static constexpr std::string_view kCut = "...";
    if (text.size() <= kNoticeTextLimit) return std::string(text);
    std::string cut(text.substr(0, kNoticeTextLimit - kCut.size()));
    cut += kCut;
    return cut;
}

std::string TimeStamp()
{
    const platform::LocalTime now = platform::LocalClockService::Current().GetLocalTime();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02dT%02d:%02d:%02d", now.Year, now.Month, now.Day, now.Hour,
                  now.Minute, now.Second);
    return stamp;
}

}  // namespace dotvane
