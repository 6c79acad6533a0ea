#pragma once

#include <cstdint>

namespace dotvane {

// A rectangle of pixels: its top-left corner and its size. Empty when either
// side is 0 or less.
struct Rect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;

    constexpr bool IsEmpty() const { return Width <= 0 || Height <= 0; }
    // The first column and row past the rectangle.
    constexpr int32_t Right() const { return Left + Width; }
    constexpr int32_t Bottom() const { return Top + Height; }
    constexpr bool Contains(const Rect& other) const
    {
        return other.IsEmpty() || (!IsEmpty() && other.Left >= Left && other.Top >= Top &&
                                   other.Right() <= Right() && other.Bottom() <= Bottom());
    }
    constexpr bool operator==(const Rect&) const = default;
};

}  // namespace dotvane
