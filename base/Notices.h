#pragma once

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

    // Appends to the status line with no separator.
    virtual void AppendStatus(const std::string& text) { SetStatusText(StatusText() + text); }
};

}  // namespace dotvane
