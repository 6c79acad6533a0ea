#include "lcd/Font5x7.h"

#include "lcd/BaseLetter.h"

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
    const std::vector<uint8_t> box{0x7F, 0x41, 0x41, 0x41, 0x7F};
    for (int code = 0; code < 32; ++code) EXPECT_EQ(Columns(static_cast<uint8_t>(code)), box) << code;
    for (int code = 128; code < 160; ++code) EXPECT_EQ(Columns(static_cast<uint8_t>(code)), box) << code;
}

TEST(Font5x7, Latin1CharactersShowTheirBaseLetter)
{
    const std::vector<uint8_t> o{0x38, 0x44, 0x44, 0x44, 0x38};
    EXPECT_EQ(Columns(0xF6), o);  // ö
    EXPECT_EQ(Columns(0xF3), o);  // ó
    EXPECT_EQ(Columns(0xB0), o);  // °
    EXPECT_EQ(Columns(0xDF), (std::vector<uint8_t>{0x48, 0x54, 0x54, 0x54, 0x20}));  // ß as s
    EXPECT_EQ(Columns(0xC4), (std::vector<uint8_t>{0x7E, 0x11, 0x11, 0x11, 0x7E}));  // Ä as A
    EXPECT_EQ(Columns(0xAB), (std::vector<uint8_t>{0x00, 0x08, 0x14, 0x22, 0x41}));  // « as <
    EXPECT_EQ(Columns(0xA0), (std::vector<uint8_t>{0, 0, 0, 0, 0}));
    for (int code = 160; code < 256; ++code) {
        const std::vector<uint8_t> columns = Columns(static_cast<uint8_t>(code));
        EXPECT_EQ(columns, Columns(BaseLetter(static_cast<uint8_t>(code)))) << code;
        EXPECT_NE(columns, (std::vector<uint8_t>{0x7F, 0x41, 0x41, 0x41, 0x7F})) << code;
    }
}

}  // namespace
}  // namespace dotvane
