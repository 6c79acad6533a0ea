#pragma once

#include <cstddef>
#include <string>

namespace dotvane {

// What the program tells its user: modal messages and the one-line status
// text. The window provides it; code below the window receives it as a
// constructor argument instead of reaching for the window.
class Notices {
public:
    virtual ~Notices() = default;

    // A modal box with the text and an OK button. A text that is already
    // open is not shown a second time on top of it.
    virtual void ShowMessage(const std::string& text) = 0;
    // The same as an error-type box.
    virtual void ShowError(const std::string& text) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual std::string StatusText() const = 0;

    // The longest status line that appending builds, in bytes: far more
    // than the window shows, and a bound on a line that a message appended
    // at every tick would otherwise grow without end.
    static constexpr size_t kAppendLimit = 1024;

    // Appends to the status line with no separator; what would take the
    // line past kAppendLimit bytes is left off.
    virtual void AppendStatus(const std::string& text)
    {
        std::string line = StatusText();
        if (line.size() >= kAppendLimit || text.empty()) return;
        line.append(text, 0, kAppendLimit - line.size());
        SetStatusText(line);
    }
};

}  // namespace dotvane
