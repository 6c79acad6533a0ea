#include "vars/ExpandLine.h"
#include "vars/TextFileVariable.h"

#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "tests/support/HeldFifo.h"
#endif

namespace dotvane {
namespace {

class TextFileVariableTest : public test::VariablesTest {
protected:
    void SetUp() override
    {
        file_ = dir_.Write("Notes/Lines.txt", "first\nsecond line\r\n\nfourth $x$").string();
    }
    std::string Line(const std::string& argument) { return ExpandVariable("textfile(" + argument + ")"); }

    test::TempDir dir_;
    std::string file_;
};

TEST_F(TextFileVariableTest, GivesLineNOfTheFile)
{
    EXPECT_EQ(Line(file_ + ",1"), "first");
    EXPECT_EQ(Line(file_ + ",2"), "second line");  // CR LF line end dropped
    EXPECT_EQ(Line(file_ + ",3"), "");
    EXPECT_EQ(Line(file_ + ",4"), "fourth $x$");   // last line without line end
    EXPECT_EQ(Line(file_ + ", +2 lines"), "second line");
    // The file is read again on every expansion.
    dir_.Write("Notes/Lines.txt", "changed\n");
    EXPECT_EQ(Line(file_ + ",1"), "changed");
}

TEST_F(TextFileVariableTest, EmptyForNoLineOrNoFile)
{
    EXPECT_EQ(Line(file_ + ",0"), "");
    EXPECT_EQ(Line(file_ + ",-3"), "");
    EXPECT_EQ(Line(file_ + ",x"), "");
    EXPECT_EQ(Line(file_ + ",5"), "");
    EXPECT_EQ(Line(file_ + ",2147483647"), "");
    EXPECT_EQ(Line(dir_.Folder() + "missing.txt,1"), "");
    EXPECT_EQ(Line(dir_.Folder() + ",1").size(), 0u);  // a folder is no text file
}

TEST_F(TextFileVariableTest, ANameHoldingANulNamesNoFile)
{
    using namespace std::string_literals;
    // The system would open the file named by the part before the NUL.
    EXPECT_EQ(ExpandLine("[$textfile(" + file_ + "\0.txt,1)$]"s), "[]");
    EXPECT_EQ(ExpandLine("[$textfile(" + file_ + "\0,1)$]"s), "[]");
    EXPECT_EQ(ExpandLine("[$textfile(" + file_ + ",1)$]"), "[first]");
}

TEST_F(TextFileVariableTest, ErrorForAMalformedArgument)
{
    EXPECT_EQ(Line(",2"), "error");                 // no file part
    EXPECT_EQ(Line(file_), "error");                // no comma
    EXPECT_EQ(ExpandVariable("textfile()"), "error");
    EXPECT_EQ(ExpandVariable("textfile"), "error");
    // Without "(" the file part starts at the beginning of the name.
    EXPECT_EQ(ExpandVariable("textfile,1"), "");
}

TEST_F(TextFileVariableTest, ArgumentEdges)
{
    // Without ")" the number runs to the end of the name.
    EXPECT_EQ(ExpandVariable("textfile(" + file_ + ",2"), "second line");
    // The file part ends at the first comma.
    EXPECT_EQ(Line(file_ + ",1,3"), "first");
    // Windows-style names: backslashes and any letter case.
    std::string windows = dir_.Folder() + "NOTES\\lines.TXT";
    EXPECT_EQ(Line(windows + ",1"), "first");
}

TEST_F(TextFileVariableTest, RelativeNamesResolveAgainstTheCurrentFolder)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_.Path());
    EXPECT_EQ(ExpandLine("[$textfile(notes\\lines.txt,2)$]"), "[second line]");
    std::filesystem::current_path(previous);
}

TEST_F(TextFileVariableTest, ALineLongerThanTheLimitIsNotShown)
{
    const std::string longest(kTextFileLineLimit, 'a');
    const std::string file = dir_.Write("long.txt", "x\n" + longest + "\r\n" + longest + "b\nlast\n").string();
    EXPECT_EQ(Line(file + ",1"), "x");
    EXPECT_EQ(Line(file + ",2"), longest);
    EXPECT_EQ(Line(file + ",3"), "");
    // A line beyond the limit cannot be passed over either.
    EXPECT_EQ(Line(file + ",4"), "");

    // Nor can one that never ends.
    const std::string endless = dir_.Write("endless.txt", std::string(3 * kTextFileLineLimit, 'z')).string();
    EXPECT_EQ(Line(endless + ",1"), "");
    const std::string last = dir_.Write("last.txt", "a\n" + longest).string();
    EXPECT_EQ(Line(last + ",2"), longest);
}

TEST_F(TextFileVariableTest, LinesBeyondTheCountLimitAreNotShown)
{
    std::string text;
    for (int i = 1; i <= kTextFileLineCount + 1; ++i) text += std::to_string(i) + "\n";
    const std::string file = dir_.Write("many.txt", text).string();
    EXPECT_EQ(Line(file + ",1"), "1");
    EXPECT_EQ(Line(file + "," + std::to_string(kTextFileLineCount)), std::to_string(kTextFileLineCount));
    EXPECT_EQ(Line(file + "," + std::to_string(kTextFileLineCount + 1)), "");
}

TEST_F(TextFileVariableTest, OnlyTheFirstBytesOfTheFileAreRead)
{
    // 300 lines of 4000 bytes: the first 262 lie within the first megabyte.
    const std::string body(3999, 'q');
    std::string text;
    for (int i = 0; i < 300; ++i) text += std::to_string(i % 10) + body + "\n";
    const std::string file = dir_.Write("big.txt", text).string();
    const size_t within = kTextFileReadLimit / 4001;
    EXPECT_EQ(Line(file + "," + std::to_string(within)), std::to_string((within - 1) % 10) + body);
    EXPECT_EQ(Line(file + "," + std::to_string(within + 1)), "");
    EXPECT_EQ(Line(file + ",300"), "");
}

TEST_F(TextFileVariableTest, EachLineIsReadAsUtf8OrAsLatin1)
{
    // A UTF-8 line after the byte-order mark, a Latin-1 line appended by
    // another program, a UTF-8 line outside Latin-1, a lone lead byte.
    const std::string file = dir_.Write("mixed.txt", "\xEF\xBB\xBF" "Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga\r\n"
                                                     "K\xE4se\r\n\xE2\x80\x9CHi\xE2\x80\x9D \xCE\xA9\r\n\xC3\r\n")
                                 .string();
    EXPECT_EQ(Line(file + ",1"), "Bj\xF6rk - J\xF3ga");
    EXPECT_EQ(Line(file + ",2"), "K\xE4se");
    EXPECT_EQ(Line(file + ",3"), "\"Hi\" ?");
    EXPECT_EQ(Line(file + ",4"), "\xC3");
}

TEST_F(TextFileVariableTest, ALineIsWholeWhereTheReadEndsInsideACharacter)
{
    // The bytes read for line 1 end in the middle of an ö of line 2.
    std::string text = "Bj\xC3\xB6rk\n";
    for (int i = 0; i < 3000; ++i) text += "\xC3\xB6";
    ASSERT_EQ((kTextFileLineLimit + 2 - 7) % 2, 1u);
    const std::string file = dir_.Write("long.txt", text).string();
    EXPECT_EQ(Line(file + ",1"), "Bj\xF6rk");
}

TEST_F(TextFileVariableTest, AFileNamedInUtf8OpensByItsLatin1Name)
{
    dir_.Write("Notes/gr\xC3\xB6\xC3\x9F" "e.txt", "first\n");
    EXPECT_EQ(Line(dir_.Folder() + "notes\\Gr\xF6\xDF" "e.txt,1"), "first");
}

TEST_F(TextFileVariableTest, AFolderOrDeviceIsNotRead)
{
    EXPECT_EQ(Line(dir_.Path().string() + ",1"), "");
#ifndef _WIN32
    EXPECT_EQ(Line("/dev/null,1"), "");
    EXPECT_EQ(Line("/dev/zero,1"), "");
#endif
}

#ifndef _WIN32
TEST_F(TextFileVariableTest, AFifoIsNotWaitedFor)
{
    test::HeldFifo fifo(dir_.Path() / "fifo.txt", "waiting line\n");
    const auto [prompt, value] = test::ReadWhileHeld(fifo, [&] { return Line(fifo.Name() + ",1"); });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(value, "");
}
#endif

}  // namespace
}  // namespace dotvane
