#include "app/NoticeLog.h"

#include "platform/LocalClock.h"

#include <cstdio>
#include <ostream>

namespace dotvane {
namespace {

// The local date and time as ISO 8601 writes it, to the second.
std::string TimeStamp()
{
    const platform::LocalTime now = platform::LocalClockService::Current().GetLocalTime();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02dT%02d:%02d:%02d", now.Year, now.Month, now.Day, now.Hour,
                  now.Minute, now.Second);
    return stamp;
}

// Latin-1 as UTF-8, each line break a blank.
std::string OneUtf8Line(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n' || byte == '\r') {
            line += ' ';
        } else if (byte < 0x80) {
            line += c;
        } else {
            line += static_cast<char>(0xC0 | (byte >> 6));
            line += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return line;
}

}  // namespace

void NoticeLog::SetStatusText(const std::string& text)
{
    if (text == status_) return;
    status_ = text;
    Write(text);
}

void NoticeLog::AppendStatus(const std::string& text)
{
    // Held to the same length as the window's status line, so that a
    // message appended at every tick stops being written once it is full.
    if (status_.size() >= kAppendLimit) return;
    const std::string added = text.substr(0, kAppendLimit - status_.size());
    status_ += added;
    Write(added);
}

void NoticeLog::Write(std::string_view text)
{
    if (text.empty() || text == lastWritten_) return;
    lastWritten_ = text;
    out_ << TimeStamp() << ' ' << OneUtf8Line(text) << std::endl;
}

}  // namespace dotvane
