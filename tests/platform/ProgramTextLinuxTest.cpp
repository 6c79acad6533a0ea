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

}  // namespace
}  // namespace dotvane::platform
