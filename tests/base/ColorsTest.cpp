#include "base/Colors.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

TEST(Colors, StandardNamesHaveTheWindowsLayout)
{
    EXPECT_EQ(IdentToColor("clBlack"), 0u);
    EXPECT_EQ(IdentToColor("clRed"), 0x0000FFu);
    EXPECT_EQ(IdentToColor("clYellow"), 0x00FFFFu);
    EXPECT_EQ(IdentToColor("clNavy"), 0x800000u);
    EXPECT_EQ(IdentToColor("CLWHITE"), 0xFFFFFFu);
    EXPECT_FALSE(IdentToColor("Yellow"));
    EXPECT_FALSE(IdentToColor("clclYellow"));
    EXPECT_FALSE(IdentToColor(""));
}

TEST(Colors, SystemColorsResolveToTheClassicScheme)
{
    ASSERT_TRUE(IdentToColor("clBtnFace"));
    EXPECT_EQ(*IdentToColor("clBtnFace"), clBtnFace);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(212, 208, 200));
    EXPECT_EQ(ColorToRGB(StringToColor("clWindowText")), clBlack);
    EXPECT_EQ(ColorToRGB(StringToColor("clRed")), RGBColor(255, 0, 0));
    EXPECT_EQ(StringToColor("not a colour"), clBlack);
}

}  // namespace
}  // namespace dotvane
