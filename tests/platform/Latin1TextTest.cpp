#include "platform/Latin1Text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace dotvane::platform {
namespace {

struct TextCase {
    const char* what;
    std::string input;
    std::string expected;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.what; }

std::string NameOf(const ::testing::TestParamInfo<TextCase>& info)
{
    std::string name;
    for (const char c : std::string(info.param.what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

// Text from a Linux source, decoded as UTF-8.
class Latin1FromUtf8Test : public ::testing::TestWithParam<TextCase> {};

TEST_P(Latin1FromUtf8Test, Converts)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(Latin1FromUtf8(c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    WellFormed, Latin1FromUtf8Test,
    ::testing::Values(
        TextCase{"empty", "", ""},
        TextCase{"ascii unchanged", "Artist - Song (1999) $x$", "Artist - Song (1999) $x$"},
        TextCase{"controls and nul unchanged", std::string("a\tb\0c\r\n", 7), std::string("a\tb\0c\r\n", 7)},
        TextCase{"two byte latin1 letters", "Bj\xC3\xB6rk J\xC3\xB3ga", "Bj\xF6rk J\xF3ga"},
        TextCase{"latin1 edges", "\xC2\x80\xC2\xA0\xC2\xBF\xC3\x80\xC3\xBF", "\x80\xA0\xBF\xC0\xFF"},
        TextCase{"the issue's title", "Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga", "Bj\xF6rk - J\xF3ga"},
        TextCase{"dashes", "a\xE2\x80\x90" "b\xE2\x80\x92" "c\xE2\x80\x94" "d\xE2\x88\x92" "e", "a-b-c-d-e"},
        TextCase{"typographic quotes",
                 "\xE2\x80\x9C" "Hi\xE2\x80\x9D \xE2\x80\x9E" "da\xE2\x80\x9C \xE2\x80\x98" "a\xE2\x80\x99" "s",
                 "\"Hi\" \"da\" 'a's"},
        TextCase{"ellipsis and dot leaders", "Wait\xE2\x80\xA6 \xE2\x80\xA4\xE2\x80\xA5", "Wait... ..."},
        TextCase{"angle quotes outside latin1", "\xE2\x80\xB9x\xE2\x80\xBA", "<x>"},
        TextCase{"angle quotes inside latin1 stay", "\xC2\xAB" "x\xC2\xBB", "\xAB" "x\xBB"},
        TextCase{"hungarian and polish letters", "\xC5\x91\xC5\xB1\xC5\x90 \xC5\x81\xC3\xB3" "d\xC5\xBA",
                 "ouO L\xF3" "dz"},
        TextCase{"czech letters", "\xC5\xA0koda \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD",
                 "Skoda zlutouck\xFD"},
        TextCase{"ligature letters spelled out", "\xC5\x92uvre \xC5\x93uf \xC4\xB2" "s", "OEuvre oeuf IJs"},
        TextCase{"romanian comma below", "\xC8\x98" "coal\xC4\x83 \xC8\x9B" "ar\xC4\x83", "Scoala tara"},
        TextCase{"vietnamese", "Vi\xE1\xBB\x87t Nam \xC4\x91\xE1\xBA\xB9p", "Viet Nam dep"},
        TextCase{"pinyin tones", "n\xC7\x9A" " l\xC7\x9C", "nu lu"},
        TextCase{"digraphs", "\xC7\x84\xC7\x85\xC7\x86 \xC7\x89", "DZDzdz lj"},
        TextCase{"capital sharp s", "STRA\xE1\xBA\x9E" "E", "STRASSE"},
        TextCase{"symbols", "5\xE2\x82\xAC Dotvane\xE2\x84\xA2 \xE2\x84\x96" "1 \xE2\x80\xA2 x",
                 "5EUR DotvaneTM No1 * x"},
        TextCase{"f ligatures", "\xEF\xAC\x81nal \xEF\xAC\x82ow o\xEF\xAC\x83" "ce", "final flow office"},
        TextCase{"spaces", "a\xE2\x80\x82" "b\xE2\x80\xAF" "c\xE3\x80\x80" "d", "a b c d"},
        TextCase{"invisible marks vanish", "\xEF\xBB\xBF" "a\xE2\x80\x8B" "b\xE2\x80\x8F" "c\xE2\x81\xA0" "d",
                 "abcd"},
        TextCase{"full width ascii", "\xEF\xBC\xA1\xEF\xBC\xA2\xEF\xBC\x91\xEF\xBC\x81\xEF\xBD\x9E", "AB1!~"},
        TextCase{"combining accents compose", "Bjo\xCC\x88rk Jo\xCC\x81ga c\xCC\xA7" "a An\xCC\x83o",
                 "Bj\xF6rk J\xF3ga \xE7" "a A\xF1o"},
        TextCase{"combining accents without a latin1 letter drop", "o\xCC\x8B z\xCC\x8C q\xCC\x81",
                 "o z q"},
        TextCase{"combining accent at the start drops", "\xCC\x81" "a", "a"},
        TextCase{"greek and cyrillic", "\xCE\xB1\xCE\xB2 \xD0\x96\xD0\xB8", "?? ??"},
        TextCase{"cjk", "\xE6\x97\xA5\xE6\x9C\xAC", "??"},
        TextCase{"emoji", "ok \xF0\x9F\x8E\xB5!", "ok ?!"},
        TextCase{"emoji with a variation selector", "\xE2\x9D\xA4\xEF\xB8\x8F", "?"},
        TextCase{"replacement character", "\xEF\xBF\xBD", "?"},
        TextCase{"highest code point", "\xF4\x8F\xBF\xBF", "?"},
        TextCase{"shortest three and four byte forms", "\xE0\xA0\x80\xF0\x90\x80\x80", "??"}),
    NameOf);

INSTANTIATE_TEST_SUITE_P(
    Malformed, Latin1FromUtf8Test,
    ::testing::Values(
        TextCase{"stray continuation bytes", "a\x80\xBF" "b", "a??b"},
        TextCase{"overlong two byte slash", "\xC0\xAF", "??"},
        TextCase{"overlong two byte letter", "\xC1\x81", "??"},
        TextCase{"overlong three byte", "\xE0\x80\xAF", "???"},
        TextCase{"overlong four byte", "\xF0\x80\x80\xAF", "????"},
        TextCase{"surrogate", "\xED\xA0\x80x", "???x"},
        TextCase{"surrogate pair in cesu", "\xED\xA0\xBD\xED\xB2\xA9", "??????"},
        TextCase{"beyond the last code point", "\xF4\x90\x80\x80", "????"},
        TextCase{"bytes above f4", "\xF5\x80\x80\x80 \xF8 \xFE\xFF", "???? ? ??"},
        TextCase{"truncated two byte", "ab\xC3", "ab?"},
        TextCase{"truncated three byte", "\xE2\x80 z", "? z"},
        TextCase{"truncated four byte", "\xF0\x9F\x8E", "?"},
        TextCase{"truncated by a new lead", "\xE2\x80\xC3\xA9", "?\xE9"},
        TextCase{"truncated by ascii", "\xF0\x9F" "A", "?A"},
        TextCase{"latin1 bytes as text", "Bj\xF6rk", "Bj?rk"},
        TextCase{"windows dash byte", "a \x96 b", "a ? b"}),
    NameOf);

// A file's bytes: converted only when the whole file is valid UTF-8.
class Latin1FromFileBytesTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(Latin1FromFileBytesTest, Converts)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(Latin1FromFileBytes(c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Latin1FromFileBytesTest,
    ::testing::Values(
        TextCase{"ascii", "[LCD]\r\nType=0\r\n", "[LCD]\r\nType=0\r\n"},
        TextCase{"utf8 file", "Line0=Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga\n", "Line0=Bj\xF6rk - J\xF3ga\n"},
        TextCase{"utf8 file with a byte order mark", "\xEF\xBB\xBF[A]\nx=\xC3\xA9\n", "[A]\nx=\xE9\n"},
        TextCase{"latin1 file", "Line0=Bj\xF6rk\n", "Line0=Bj\xF6rk\n"},
        TextCase{"windows file with typographic bytes", "\x93" "Hi\x94 \x96 5\x80", "\x93" "Hi\x94 \x96 5\x80"},
        // One byte that is not UTF-8 keeps the whole file as it is, even
        // the parts that would be valid UTF-8 on their own.
        TextCase{"mixed file stays bytes", "caf\xC3\xA9 und K\xE4se", "caf\xC3\xA9 und K\xE4se"},
        TextCase{"latin1 that looks like utf8 is taken as utf8", "\xC3\xA9", "\xE9"}),
    NameOf);

TEST(IsValidUtf8, AcceptsOnlyWellFormedText)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xC3\xA9\xE2\x80\x93\xF0\x9F\x8E\xB5\xF4\x8F\xBF\xBF"));
    EXPECT_FALSE(IsValidUtf8("Bj\xF6rk"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
    EXPECT_FALSE(IsValidUtf8("ok\xE2\x80"));
}

// Program text handed to a place that speaks UTF-8.
class Utf8FromLatin1Test : public ::testing::TestWithParam<TextCase> {};

TEST_P(Utf8FromLatin1Test, Converts)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(Utf8FromLatin1(c.input), c.expected);
    EXPECT_EQ(Latin1FromUtf8(c.expected), c.input);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Utf8FromLatin1Test,
    ::testing::Values(TextCase{"empty", "", ""}, TextCase{"ascii", "images/play.bmp", "images/play.bmp"},
                      TextCase{"letters", "gr\xF6\xDF" "e.bmp", "gr\xC3\xB6\xC3\x9F" "e.bmp"},
                      TextCase{"first and last of latin1", "\xA0\xFF", "\xC2\xA0\xC3\xBF"},
                      TextCase{"the windows bytes of c1", "\x80\x9F", "\xC2\x80\xC2\x9F"},
                      TextCase{"nul and delete", std::string("a\0\x7F", 3), std::string("a\0\x7F", 3)}),
    NameOf);

struct CodesetCase {
    const char* codeset;
    std::string input;
    std::string expected;
};

TEST(Latin1FromCodeset, ConvertsByTheLocalesCharacterSet)
{
    const CodesetCase cases[] = {
        {"UTF-8", "M\xC3\xA4rz \xE2\x80\x93 \xD0\xBC", "M\xE4rz - ?"},
        {"utf8", "M\xC3\xA4rz", "M\xE4rz"},
        {"ISO-8859-1", "M\xE4rz", "M\xE4rz"},
        {"iso8859-1", "M\xE4rz", "M\xE4rz"},
        {"ANSI_X3.4-1968", "07:05:09 PM", "07:05:09 PM"},
        {"KOI8-R", "\xED\xC1\xD2\xD4 1", "???? 1"},
        {"EUC-JP", "3\xB7\xEE", "3??"},
    };
    for (const CodesetCase& c : cases) EXPECT_EQ(Latin1FromCodeset(c.input, c.codeset), c.expected) << c.codeset;
}

}  // namespace
}  // namespace dotvane::platform
