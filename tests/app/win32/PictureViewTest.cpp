// The picture area painted into a DIB section, read back pixel by pixel.
#include "app/win32/PictureView.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dotvane {
namespace {

constexpr RgbPixel kFace = 0xD4D0C8;
constexpr RgbPixel kUnpainted = 0x123456;

TEST(PictureViewTest, EachAskedPartShowsItsDoubledPixelsAndTheFaceAroundThem)
{
    // A 4 × 3 picture whose every pixel differs, in an 11 × 8 area: the
    // doubled picture, a spare column and two spare rows.
    RgbImage picture(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) picture.SetPixel(x, y, 0x100000 * (x + 1) + 0x1000 * (y + 1) + 0x55);
    const Rect cases[] = {{0, 0, 11, 8}, {3, 3, 2, 2}, {6, 4, 5, 4}, {2, 5, 1, 1}, {8, 0, 3, 8}, {0, 6, 11, 2}};
    for (const Rect& asked : cases) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, 11, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        RgbPixel* bits = nullptr;
        const HDC dc = ::CreateCompatibleDC(nullptr);
        const HBITMAP canvas = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        const HGDIOBJ old = ::SelectObject(dc, canvas);
        std::fill(bits, bits + 11 * 8, kUnpainted);
        PictureView view;
        view.SetArea({0, 0, 11, 8});
        view.Paint(dc, &picture, asked, RGB(0xD4, 0xD0, 0xC8));
        ::GdiFlush();
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 11; ++x) {
                const bool inside = x >= asked.Left && x < asked.Right() && y >= asked.Top && y < asked.Bottom();
                const RgbPixel shown = bits[y * 11 + x] & 0xFFFFFF;
                const RgbPixel expected = x < 8 && y < 6 ? picture.Pixel(x / 2, y / 2) : kFace;
                // Outside the part asked for, a pixel is left alone or is the
                // rest of a doubled pixel.
                EXPECT_TRUE(shown == expected || (!inside && shown == kUnpainted)) << x << "," << y;
            }
        }
        ::SelectObject(dc, old);
        ::DeleteObject(canvas);
        ::DeleteDC(dc);
    }
}

}  // namespace
}  // namespace dotvane
