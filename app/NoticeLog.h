#pragma once

#include "app/RecentTexts.h"
#include "base/Notices.h"
#include "platform/StandardError.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// The notices of the program without a window: each message that would be
// a box, and each text the status line would show, becomes one line on
// standard error, after the local date and time ("2024-05-01T12:34:56
// text"). Nothing waits for anyone. The text is the program's Latin-1,
// written in UTF-8, with its line breaks turned into blanks so that it
// stays one line, and cut to kNoticeTextLimit bytes.
//
// So that a failure repeated at every tick does not fill the log, a text
// written in the last ten minutes is held back, whatever was written in
// between, and the next line with it tells how often it was (RecentTexts);
// a status text set again unchanged is not offered at all, and appending to
// the status line writes only what was appended, until the line holds
// kAppendLimit bytes. When the log ends it tells the counts not told yet.
//
// Standard error never holds the program up: a line it cannot take at once
// is dropped and counted, and the next line that gets through is preceded
// by one that tells how many were dropped. Once it cannot take anything any
// more (its reader has gone), nothing more is written.
class NoticeLog : public Notices {
public:
    explicit NoticeLog(platform::StandardError& out) : out_(out) {}
    ~NoticeLog() override;
    NoticeLog(const NoticeLog&) = delete;
    NoticeLog& operator=(const NoticeLog&) = delete;

    void ShowMessage(const std::string& text) override { WriteLine(text); }
    void ShowError(const std::string& text) override { WriteLine(text); }
    void SetStatusText(const std::string& text) override;
    std::string StatusText() const override { return status_; }
    void AppendStatus(const std::string& text) override;

    // Writes a line that is neither a box nor the status line (Qt's own
    // messages), by the same rules.
    void WriteLine(std::string_view text);

private:
    // Writes the line (and the one about dropped lines before it) in one
    // piece, or counts it as dropped.
    void Emit(const std::string& stamp, const HeldBack& line);

    platform::StandardError& out_;
    std::string status_;
    RecentTexts recent_;
    uint64_t dropped_ = 0;
    bool closed_ = false;
};

}  // namespace dotvane
