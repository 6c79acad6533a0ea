#pragma once

#include "base/Colors.h"

#include <QRgb>

namespace dotvane {

// Between the program's colour values (red in the low byte) and Qt's pixels.
inline QRgb ToQRgb(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

inline TColor ToTColor(QRgb pixel) { return RGBColor(qRed(pixel), qGreen(pixel), qBlue(pixel)); }

// The colour of a colour identifier from the settings.
inline QRgb IdentToQRgb(std::string_view ident) { return ToQRgb(StringToColor(ident)); }

}  // namespace dotvane
