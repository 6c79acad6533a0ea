#pragma once

#include "platform/win32/Win32Api.h"
#include "base/Rect.h"

#include <cstdint>
#include <string>

namespace dotvane {

// The status line at the bottom of the main window: one line of program
// text in the system's status font on the window's face, drawn by the
// window itself so that it has exactly the height the layout gives it.
class StatusLine {
public:
    StatusLine();
    ~StatusLine();
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    // The height of the font's line, in pixels.
    int32_t TextHeight() const { return textHeight_; }
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    // A menu item's hint, shown in place of the text while it is not empty.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    // Draws the line into `strip` of the device context.
    void Paint(HDC dc, const Rect& strip, COLORREF face) const;

private:
    HFONT font_;
    int32_t textHeight_ = 0;
    std::string text_;
    std::string hint_;
};

}  // namespace dotvane
