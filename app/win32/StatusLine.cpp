#include "app/win32/StatusLine.h"

namespace dotvane {
namespace {

// The text starts this far from the left edge.
constexpr LONG kIndent = 4;

HFONT StatusFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return ::CreateFontIndirectA(&metrics.lfStatusFont);
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

int32_t LineHeight(HFONT font)
{
    const HDC screen = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(screen, font);
    TEXTMETRICA metrics{};
    const bool measured = ::GetTextMetricsA(screen, &metrics) != FALSE;
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    return measured ? metrics.tmHeight : 0;
}

}  // namespace

StatusLine::StatusLine() : font_(StatusFont()), textHeight_(LineHeight(font_)) {}

StatusLine::~StatusLine() { ::DeleteObject(font_); }

void StatusLine::Paint(HDC dc, const Rect& strip, COLORREF face) const
{
    RECT area{strip.Left, strip.Top, strip.Right(), strip.Bottom()};
    const HBRUSH brush = ::CreateSolidBrush(face);
    ::FillRect(dc, &area, brush);
    ::DeleteObject(brush);
    area.left += kIndent;
    const HGDIOBJ old = ::SelectObject(dc, font_);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    const std::string& shown = hint_.empty() ? text_ : hint_;
    ::DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &area,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
}

}  // namespace dotvane
