#include "lcd/BaseLetter.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace dotvane {
namespace {

bool IsUpperLatin1Letter(int code) { return code >= 0xC0 && code <= 0xDE && code != 0xD7; }
bool IsLowerLatin1Letter(int code) { return code >= 0xDF && code <= 0xFF && code != 0xF7; }

TEST(BaseLetter, LettersAndSignsHaveTheirStandIns)
{
    const std::vector<std::pair<uint8_t, char>> cases{
        {0xF6, 'o'}, {0xD6, 'O'}, {0xF3, 'o'}, {0xE9, 'e'}, {0xC9, 'E'}, {0xDF, 's'}, {0xE6, 'a'},
        {0xC6, 'A'}, {0xE7, 'c'}, {0xC7, 'C'}, {0xF1, 'n'}, {0xD1, 'N'}, {0xF8, 'o'}, {0xD8, 'O'},
        {0xE5, 'a'}, {0xFF, 'y'}, {0xFD, 'y'}, {0xDD, 'Y'}, {0xF0, 'd'}, {0xD0, 'D'}, {0xFE, 'p'},
        {0xDE, 'P'}, {0xEF, 'i'}, {0xCC, 'I'}, {0xFC, 'u'}, {0xDA, 'U'}, {0xB0, 'o'}, {0xAB, '<'},
        {0xBB, '>'}, {0xA0, ' '}, {0xA1, '!'}, {0xBF, '?'}, {0xD7, 'x'}, {0xF7, '/'}, {0xB1, '+'},
        {0xA9, 'C'}, {0xAE, 'R'}, {0xB5, 'u'}, {0xB2, '2'}, {0xB3, '3'}, {0xB9, '1'}, {0xA3, 'L'},
        {0xA5, 'Y'}, {0xA2, 'c'}, {0xAD, '-'}, {0xB7, '.'}, {0xB4, '\''}, {0xA8, '"'}, {0xBD, '%'},
    };
    for (const auto& [code, standIn] : cases) EXPECT_EQ(BaseLetter(code), standIn) << static_cast<int>(code);
}

TEST(BaseLetter, CodesBelow160StayAsTheyAre)
{
    for (int code = 0; code < 160; ++code) EXPECT_EQ(BaseLetter(static_cast<uint8_t>(code)), code) << code;
}

TEST(BaseLetter, EveryLatin1CharacterHasAPrintableAsciiStandIn)
{
    for (int code = 160; code <= 255; ++code) {
        const uint8_t standIn = BaseLetter(static_cast<uint8_t>(code));
        EXPECT_GE(standIn, 0x20) << code;
        EXPECT_LE(standIn, 0x7E) << code;
        if (IsUpperLatin1Letter(code)) {
            EXPECT_TRUE(standIn >= 'A' && standIn <= 'Z') << code;
            // The small letter has the same letter in small.
            EXPECT_EQ(BaseLetter(static_cast<uint8_t>(code + 0x20)), standIn + 0x20) << code;
        }
        if (IsLowerLatin1Letter(code)) {
            EXPECT_TRUE(standIn >= 'a' && standIn <= 'z') << code;
        }
        // Only the no-break space shows as a space.
        if (code != 0xA0) {
            EXPECT_NE(standIn, ' ') << code;
        }
    }
}

}  // namespace
}  // namespace dotvane
