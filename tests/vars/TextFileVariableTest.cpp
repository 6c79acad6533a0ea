#include "vars/ExpandLine.h"

#include "tests/support/TempDir.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace dotvane
