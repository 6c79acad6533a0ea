// The picture area painted into a DIB section, read back pixel by pixel.
#include "app/win32/PictureView.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

constexpr COLORREF kFace = RGB(212, 208, 200);
constexpr RgbPixel kFacePixel = 0xD4D0C8;
constexpr RgbPixel kUnpainted = 0x123456;

// A 32-bit top-down DIB section as the device context painted into.
class Canvas {
public:
    Canvas(int width, int height) : width_(width)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = ::CreateCompatibleDC(nullptr);
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = ::SelectObject(dc_, bitmap_);
        std::fill(bits_, bits_ + width * height, kUnpainted);
    }
    ~Canvas()
    {
        ::SelectObject(dc_, old_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    RgbPixel At(int x, int y) const
    {
        ::GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    RgbPixel* bits_ = nullptr;
};

// A 4 × 3 picture whose every pixel differs: 0xRRGGBB with R = x, G = y.
RgbImage Numbered()
{
    RgbImage picture(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) picture.SetPixel(x, y, 0x100000 * (x + 1) + 0x1000 * (y + 1) + 0x55);
    return picture;
}

TEST(PictureViewTest, EachAskedPartShowsItsDoubledPixelsAndTheFaceAroundThem)
{
    const RgbImage picture = Numbered();
    // The area is 11 × 8: the doubled picture (8 × 6), a spare column and
    // two spare rows.
    struct Case {
        Rect asked;
    };
    const Case cases[] = {{{0, 0, 11, 8}}, {{3, 3, 2, 2}}, {{6, 4, 5, 4}}, {{2, 5, 1, 1}}, {{8, 0, 3, 8}}};
    for (const Case& c : cases) {
        Canvas canvas(11, 8);
        PictureView view;
        view.SetArea({0, 0, 11, 8});
        view.Paint(canvas.Dc(), &picture, c.asked, kFace);
        for (int y = c.asked.Top; y < c.asked.Bottom(); ++y) {
            for (int x = c.asked.Left; x < c.asked.Right(); ++x) {
                const RgbPixel expected = x < 8 && y < 6 ? picture.Pixel(x / 2, y / 2) : kFacePixel;
                EXPECT_EQ(canvas.At(x, y), expected) << x << "," << y;
            }
        }
        // Nothing outside the asked part's doubled pixels is touched.
        EXPECT_EQ(canvas.At(10, 7) == kUnpainted, !(c.asked.Right() > 10 && c.asked.Bottom() > 7));
    }
}

TEST(PictureViewTest, APresentedChangeRepaintsItsDoubledRectangleOrAllOnANewSize)
{
    PictureView view;
    view.SetArea({0, 0, 257, 130});
    const RgbImage display(128, 64);
    EXPECT_EQ(view.Presented(display, {10, 5, 3, 2}), (Rect{0, 0, 257, 130}));
    EXPECT_EQ(view.Presented(display, {10, 5, 3, 2}), (Rect{20, 10, 6, 4}));
    EXPECT_EQ(view.Presented(RgbImage(200, 100), {0, 0, 1, 1}), (Rect{0, 0, 257, 130}));
    // A larger picture than the window is cut at the area's edge.
    EXPECT_EQ(view.Presented(RgbImage(200, 100), {120, 60, 80, 40}), (Rect{240, 120, 17, 10}));
}

TEST(PictureViewTest, BeforeAnyPictureTheAreaIsFace)
{
    Canvas canvas(11, 8);
    PictureView view;
    view.SetArea({0, 0, 11, 8});
    view.Paint(canvas.Dc(), nullptr, {0, 0, 11, 8}, kFace);
    EXPECT_EQ(canvas.At(0, 0), kFacePixel);
    EXPECT_EQ(canvas.At(10, 7), kFacePixel);
}

}  // namespace
}  // namespace dotvane
