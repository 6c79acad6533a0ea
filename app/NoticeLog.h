#pragma once

#include "base/Notices.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace dotvane {

// The notices of the program without a window: each message that would be
// a box, and each text the status line would show, becomes one line on a
// stream, after the local date and time ("2024-05-01T12:34:56 text").
// Nothing waits for anyone. The text is the program's Latin-1, written in
// UTF-8, with its line breaks turned into blanks so that it stays one line.
// So that a failure repeated at every tick is written once, a text equal
// to the line written last is not written again, a status text set again
// unchanged is not written, and appending to the status line writes only
// what was appended, until the line holds kAppendLimit bytes.
class NoticeLog : public Notices {
public:
    explicit NoticeLog(std::ostream& out) : out_(out) {}

    void ShowMessage(const std::string& text) override { Write(text); }
    void ShowError(const std::string& text) override { Write(text); }
    void SetStatusText(const std::string& text) override;
    std::string StatusText() const override { return status_; }
    void AppendStatus(const std::string& text) override;

private:
    void Write(std::string_view text);

    std::ostream& out_;
    std::string status_;
    std::string lastWritten_;
};

}  // namespace dotvane
