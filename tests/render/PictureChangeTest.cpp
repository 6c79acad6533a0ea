#include "render/PictureChange.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dotvane {
namespace {

QImage Yellow(int width = 128, int height = 64, QImage::Format format = QImage::Format_RGB32)
{
    QImage picture(width, height, format);
    picture.fill(qRgb(255, 255, 0));
    return picture;
}

struct Case {
    std::string name;
    // Changes a copy of the yellow 128 × 64 picture.
    std::function<QImage(QImage)> change;
    QRect expected;
};

TEST(PictureChangeTest, FindsTheRectangleThatChanged)
{
    const std::vector<Case> cases = {
        {"the same picture", [](QImage p) { return p; }, QRect()},
        {"one pixel",
         [](QImage p) {
             p.setPixel(5, 7, qRgb(0, 0, 0));
             return p;
         },
         QRect(5, 7, 1, 1)},
        {"the first and the last pixel",
         [](QImage p) {
             p.setPixel(0, 0, qRgb(0, 0, 0));
             p.setPixel(127, 63, qRgb(0, 0, 0));
             return p;
         },
         QRect(0, 0, 128, 64)},
        {"pixels on rows far apart, the lower one further left",
         [](QImage p) {
             p.setPixel(90, 3, qRgb(0, 0, 0));
             p.setPixel(91, 3, qRgb(0, 0, 0));
             p.setPixel(20, 40, qRgb(0, 0, 1));
             return p;
         },
         QRect(QPoint(20, 3), QPoint(91, 40))},
        {"a text row", [](QImage p) {
             for (int x = 0; x < 113; ++x) p.setPixel(x, 16 + x % 7, qRgb(0, 0, 0));
             return p;
         },
         QRect(QPoint(0, 16), QPoint(112, 22))},
        {"a larger picture", [](QImage) { return Yellow(240, 128); }, QRect(0, 0, 240, 128)},
        {"a smaller picture", [](QImage) { return Yellow(40, 16); }, QRect(0, 0, 40, 16)},
        {"another format of the same colours",
         [](QImage) { return Yellow(128, 64, QImage::Format_ARGB32); }, QRect(0, 0, 128, 64)},
    };
    const QImage before = Yellow();
    for (const Case& c : cases) EXPECT_EQ(ChangedArea(before, c.change(before.copy())), c.expected) << c.name;
}

TEST(PictureChangeTest, EverythingIsNewAfterNoPicture)
{
    EXPECT_EQ(ChangedArea(QImage(), Yellow()), QRect(0, 0, 128, 64));
    EXPECT_TRUE(ChangedArea(QImage(), QImage()).isEmpty());
}

TEST(PictureChangeTest, PicturesOfFewerBitsAreTakenAsChangedWhole)
{
    const QImage mono = Yellow(16, 8, QImage::Format_Mono);
    EXPECT_EQ(ChangedArea(mono, mono), QRect(0, 0, 16, 8));
}

}  // namespace
}  // namespace dotvane
