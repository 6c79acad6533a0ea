#include "platform/ProgramText.h"

#include <gtest/gtest.h>

namespace dotvane::platform {
namespace {

TEST(ProgramTextLinux, IsLatin1ToAndFromUtf8)
{
    EXPECT_EQ(Utf8FromProgramText("Bj\xF6rk - J\xF3ga"), "Bj\xC3\xB6rk - J\xC3\xB3ga");
    EXPECT_EQ(Utf8FromProgramText("Mem 42%"), "Mem 42%");
    EXPECT_EQ(ProgramTextFromUtf8("Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga"), "Bj\xF6rk - J\xF3ga");
    EXPECT_EQ(ProgramTextFromUtf8(Utf8FromProgramText("\xA0\xFF\x80")), "\xA0\xFF\x80");
}

TEST(ProgramTextLinux, Utf16KeepsLatin1AndSpellsOtherCharactersAsUtf8TextDoes)
{
    EXPECT_EQ(ProgramTextFromUtf16(u"Caf\u00E9 \u0080\u00FF"), "Caf\xE9 \x80\xFF");
    // Cyrillic, a character of two surrogates, a lone high and a lone low one.
    EXPECT_EQ(ProgramTextFromUtf16(u"\u0416|\U0001F600|\xD800|\xDC00"), "?|?|?|?");
    EXPECT_EQ(ProgramTextFromUtf16(u"x\xD800"), "x?");
    // Spelt as the same text in a UTF-8 file is.
    EXPECT_EQ(ProgramTextFromUtf16(u"Erd\u0151s \u2013 \u201CHi\u201D"), "Erdos - \"Hi\"");
    EXPECT_EQ(ProgramTextFromUtf16(u""), "");
}

}  // namespace
}  // namespace dotvane::platform
