#include "lcd/Font5x7.h"

#include <gtest/gtest.h>

#include <vector>

namespace dotvane {
namespace {

std::vector<uint8_t> Columns(uint8_t code)
{
    const auto glyph = Glyph(code);
    return {glyph.begin(), glyph.end()};
}

TEST(Font5x7, GlyphsHaveTheirColumns)
{
    EXPECT_EQ(Columns('A'), (std::vector<uint8_t>{0x7E, 0x11, 0x11, 0x11, 0x7E}));
    EXPECT_EQ(Columns('g'), (std::vector<uint8_t>{0x08, 0x14, 0x54, 0x54, 0x3C}));
    EXPECT_EQ(Columns('!'), (std::vector<uint8_t>{0x00, 0x00, 0x5F, 0x00, 0x00}));
    EXPECT_EQ(Columns(127), (std::vector<uint8_t>{0x08, 0x1C, 0x2A, 0x08, 0x08}));
    EXPECT_EQ(Columns('0'), (std::vector<uint8_t>{0x3E, 0x51, 0x49, 0x45, 0x3E}));
    EXPECT_EQ(Columns(' '), (std::vector<uint8_t>{0, 0, 0, 0, 0}));
}

TEST(Font5x7, EighthRowIsAlwaysBlank)
{
    for (uint8_t byte : Font5x7) EXPECT_EQ(byte & 0x80, 0);
}

TEST(Font5x7, CodesWithoutGlyphShowABox)
{
    EXPECT_EQ(Columns(0x0A), (std::vector<uint8_t>{0x7F, 0x41, 0x41, 0x41, 0x7F}));
    EXPECT_EQ(Columns(0xE9), Columns(0x1F));
}

}  // namespace
}  // namespace dotvane
