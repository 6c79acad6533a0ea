#include "base/Colors.h"

#include "base/AsciiText.h"

#include <array>

namespace dotvane {
namespace {

struct ColorName {
    std::string_view name;
    TColor value;
};

constexpr TColor SystemColor(uint8_t index) { return 0xFF000000u | index; }

constexpr std::array kColorNames{
    ColorName{"clBlack", 0x000000},
    ColorName{"clMaroon", 0x000080},
    ColorName{"clGreen", 0x008000},
    ColorName{"clOlive", 0x008080},
    ColorName{"clNavy", 0x800000},
    ColorName{"clPurple", 0x800080},
    ColorName{"clTeal", 0x808000},
    ColorName{"clGray", 0x808080},
    ColorName{"clSilver", 0xC0C0C0},
    ColorName{"clRed", 0x0000FF},
    ColorName{"clLime", 0x00FF00},
    ColorName{"clYellow", 0x00FFFF},
    ColorName{"clBlue", 0xFF0000},
    ColorName{"clFuchsia", 0xFF00FF},
    ColorName{"clAqua", 0xFFFF00},
    ColorName{"clLtGray", 0xC0C0C0},
    ColorName{"clDkGray", 0x808080},
    ColorName{"clWhite", 0xFFFFFF},
    ColorName{"clMoneyGreen", 0xC0DCC0},
    ColorName{"clSkyBlue", 0xF0CAA6},
    ColorName{"clCream", 0xF0FBFF},
    ColorName{"clMedGray", 0xA4A0A0},
    ColorName{"clNone", 0x1FFFFFFF},
    ColorName{"clDefault", 0x20000000},
    ColorName{"clScrollBar", SystemColor(0)},
    ColorName{"clBackground", SystemColor(1)},
    ColorName{"clActiveCaption", SystemColor(2)},
    ColorName{"clInactiveCaption", SystemColor(3)},
    ColorName{"clMenu", SystemColor(4)},
    ColorName{"clWindow", SystemColor(5)},
    ColorName{"clWindowFrame", SystemColor(6)},
    ColorName{"clMenuText", SystemColor(7)},
    ColorName{"clWindowText", SystemColor(8)},
    ColorName{"clCaptionText", SystemColor(9)},
    ColorName{"clActiveBorder", SystemColor(10)},
    ColorName{"clInactiveBorder", SystemColor(11)},
    ColorName{"clAppWorkSpace", SystemColor(12)},
    ColorName{"clHighlight", SystemColor(13)},
    ColorName{"clHighlightText", SystemColor(14)},
    ColorName{"clBtnFace", SystemColor(15)},
    ColorName{"clBtnShadow", SystemColor(16)},
    ColorName{"clGrayText", SystemColor(17)},
    ColorName{"clBtnText", SystemColor(18)},
    ColorName{"clInactiveCaptionText", SystemColor(19)},
    ColorName{"clBtnHighlight", SystemColor(20)},
    ColorName{"cl3DDkShadow", SystemColor(21)},
    ColorName{"cl3DLight", SystemColor(22)},
    ColorName{"clInfoText", SystemColor(23)},
    ColorName{"clInfoBk", SystemColor(24)},
    ColorName{"clHotLight", SystemColor(26)},
    ColorName{"clGradientActiveCaption", SystemColor(27)},
    ColorName{"clGradientInactiveCaption", SystemColor(28)},
    ColorName{"clMenuHighlight", SystemColor(29)},
    ColorName{"clMenuBar", SystemColor(30)},
};

// The classic Windows scheme, indexed like the system colours above.
constexpr std::array<TColor, 31> kClassicScheme{
    RGBColor(212, 208, 200),  // scroll bar
    RGBColor(58, 110, 165),   // desktop
    RGBColor(10, 36, 106),    // active caption
    RGBColor(128, 128, 128),  // inactive caption
    RGBColor(212, 208, 200),  // menu
    RGBColor(255, 255, 255),  // window
    RGBColor(0, 0, 0),        // window frame
    RGBColor(0, 0, 0),        // menu text
    RGBColor(0, 0, 0),        // window text
    RGBColor(255, 255, 255),  // caption text
    RGBColor(212, 208, 200),  // active border
    RGBColor(212, 208, 200),  // inactive border
    RGBColor(128, 128, 128),  // application work space
    RGBColor(10, 36, 106),    // highlight
    RGBColor(255, 255, 255),  // highlight text
    RGBColor(212, 208, 200),  // button face
    RGBColor(128, 128, 128),  // button shadow
    RGBColor(128, 128, 128),  // grey text
    RGBColor(0, 0, 0),        // button text
    RGBColor(212, 208, 200),  // inactive caption text
    RGBColor(255, 255, 255),  // button highlight
    RGBColor(64, 64, 64),     // 3D dark shadow
    RGBColor(212, 208, 200),  // 3D light
    RGBColor(0, 0, 0),        // tooltip text
    RGBColor(255, 255, 225),  // tooltip background
    RGBColor(181, 181, 181),  // (unused index)
    RGBColor(0, 0, 128),      // hot-tracked item
    RGBColor(166, 202, 240),  // active caption gradient
    RGBColor(192, 192, 192),  // inactive caption gradient
    RGBColor(10, 36, 106),    // menu highlight
    RGBColor(212, 208, 200),  // menu bar
};

}  // namespace

std::optional<TColor> IdentToColor(std::string_view ident)
{
    for (const ColorName& c : kColorNames)
        if (EqualsIgnoreCase(c.name, ident)) return c.value;
    return std::nullopt;
}

TColor StringToColor(std::string_view ident) { return IdentToColor(ident).value_or(clBlack); }

TColor ColorToRGB(TColor color)
{
    if ((color & 0xFF000000u) == 0xFF000000u) {
        const uint32_t index = color & 0xFF;
        return index < kClassicScheme.size() ? kClassicScheme[index] : clBlack;
    }
    return color & 0xFFFFFF;
}

}  // namespace dotvane
