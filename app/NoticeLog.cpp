#include "app/NoticeLog.h"

#include "app/NoticeText.h"

#include <vector>

namespace dotvane {
namespace {

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

std::string DroppedNote(uint64_t dropped)
{
    return dropped == 1 ? "1 line was dropped: standard error could not take it"
                        : std::to_string(dropped) + " lines were dropped: standard error could not take them";
}

}  // namespace

NoticeLog::~NoticeLog()
{
    const std::string stamp = TimeStamp();
    for (const HeldBack& held : recent_.TakeUntold()) Emit(stamp, held);
    // The lines dropped since the last one that got through.
    if (dropped_ > 0 && !closed_) out_.Write(stamp + ' ' + DroppedNote(dropped_) + '\n');
}

void NoticeLog::SetStatusText(const std::string& text)
{
    if (text == status_) return;
    status_ = text;
    WriteLine(text);
}

void NoticeLog::AppendStatus(const std::string& text)
{
    // Held to the same length as the window's status line, so that a
    // message appended at every tick stops being written once it is full.
    if (status_.size() >= kAppendLimit) return;
    const std::string added = text.substr(0, kAppendLimit - status_.size());
    status_ += added;
    WriteLine(added);
}

void NoticeLog::WriteLine(std::string_view text)
{
    if (closed_ || text.empty()) return;
    const std::string cut = CutNotice(text);
    if (!recent_.MayGoOut(cut)) return;
    std::vector<HeldBack> forgotten;
    const HeldBack line = recent_.WentOut(cut, forgotten);
    const std::string stamp = TimeStamp();
    for (const HeldBack& held : forgotten) Emit(stamp, held);
    Emit(stamp, line);
}

void NoticeLog::Emit(const std::string& stamp, const HeldBack& line)
{
    if (closed_) return;
    std::string bytes;
    if (dropped_ > 0) bytes += stamp + ' ' + DroppedNote(dropped_) + '\n';
    bytes += stamp + ' ' + OneUtf8Line(WithHeldBackNote(line)) + '\n';
    switch (out_.Write(bytes)) {
    case platform::ErrorOutput::Written:
        dropped_ = 0;
        break;
    case platform::ErrorOutput::Dropped:
        ++dropped_;
        break;
    case platform::ErrorOutput::Closed:
        closed_ = true;
        break;
    }
}

}  // namespace dotvane
