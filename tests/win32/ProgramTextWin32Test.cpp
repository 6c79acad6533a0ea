// Program text on Windows is the ANSI code page: checked against what the
// system's own conversions answer, and exactly for Windows-1252.
#include "platform/FileNames.h"
#include "platform/ProgramText.h"

#include "platform/win32/Win32Api.h"

#include <gtest/gtest.h>

#include <string>

namespace dotvane::platform {
namespace {

// The text in UTF-16 as the system reads the ANSI code page.
std::wstring Wide(const std::string& ansi)
{
    std::wstring wide(ansi.size(), L'\0');
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                                             static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length > 0 ? length : 0));
    return wide;
}

TEST(ProgramTextWin32, IsTheAnsiCodePageToAndFromUtf8)
{
    EXPECT_EQ(Utf8FromProgramText("Mem 42%"), "Mem 42%");
    EXPECT_EQ(ProgramTextFromUtf8("Mem 42%"), "Mem 42%");
    EXPECT_EQ(Utf8FromProgramText(""), "");
    const std::string text = "Caf\xE9 25\xB0";
    EXPECT_EQ(ProgramTextFromUtf8(Utf8FromProgramText(text)), text);
    if (::GetACP() == 1252) {
        EXPECT_EQ(Utf8FromProgramText(text), "Caf\xC3\xA9 25\xC2\xB0");
        // The code page has the dash and the quotes of its own.
        EXPECT_EQ(Utf8FromProgramText("\x96 \x93" "a\x94"), "\xE2\x80\x93 \xE2\x80\x9C" "a\xE2\x80\x9D");
        EXPECT_EQ(ProgramTextFromUtf8("Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga"), "Bj\xF6rk \x96 J\xF3ga");
    }
}

TEST(ProgramTextWin32, ShownNamesAreInTheAnsiCodePage)
{
    const std::string name = "C:\\data\\caf\xE9.txt";
    EXPECT_EQ(NativePath(name).native(), Wide(name));
    EXPECT_EQ(ShownName(NativePath(name)), name);
    EXPECT_EQ(ShownName(std::filesystem::path()), "");
}

}  // namespace
}  // namespace dotvane::platform
