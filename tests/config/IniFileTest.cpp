#include "config/IniFile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

struct IntegerCase {
    const char* value;
    int32_t expected;
};

class IniIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerTest, ReadsOrFallsBack)
{
    const IntegerCase& c = GetParam();
    const IniFile ini = IniFile::FromString(std::string("[s]\nk=") + c.value + "\n");
    EXPECT_EQ(ini.GetInteger("s", "k", -77), c.expected) << "value '" << c.value << "'";
}

INSTANTIATE_TEST_SUITE_P(Values, IniIntegerTest,
                         ::testing::Values(IntegerCase{"888", 888}, IntegerCase{"0x278", 632}, IntegerCase{"$278", 632},
                                           IntegerCase{"0X278", 632}, IntegerCase{"-1", -1}, IntegerCase{"+5", 5},
                                           IntegerCase{"  42  ", 42}, IntegerCase{"\"7\"", 7},
                                           IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"2147483647", 2147483647},
                                           IntegerCase{"-2147483648", INT32_MIN}, IntegerCase{"2147483648", -77},
                                           IntegerCase{"$100000000", -77}, IntegerCase{"yes", -77},
                                           IntegerCase{"12abc", -77}, IntegerCase{"", -77}, IntegerCase{"$", -77},
                                           IntegerCase{"0x", -77}, IntegerCase{"1.5", -77}, IntegerCase{"- 3", -77}));

TEST(IniFile, BoolIsAnInteger)
{
    const IniFile ini = IniFile::FromString("[s]\nyes=yes\ntwo=2\nzero=0\nneg=-1\n");
    EXPECT_FALSE(ini.GetBool("s", "yes", false));
    EXPECT_TRUE(ini.GetBool("s", "yes", true));
    EXPECT_TRUE(ini.GetBool("s", "two", false));
    EXPECT_FALSE(ini.GetBool("s", "zero", true));
    EXPECT_TRUE(ini.GetBool("s", "neg", false));
}

TEST(IniFile, NamesMatchWithoutRegardToCase)
{
    const IniFile ini = IniFile::FromString("[LCD]\nTextRows=4\n");
    EXPECT_EQ(ini.GetInteger("lcd", "TEXTROWS", 8), 4);
    EXPECT_EQ(ini.GetInteger("Lcd", "textrows", 8), 4);
}

TEST(IniFile, TrimsUnquotedValuesAndKeepsQuotedBlanks)
{
    const IniFile ini = IniFile::FromString("[s]\n  a  =  some text \t\nb=\"  padded \"\nc=\"\"\nd=\"half\ne= x \" y\n");
    EXPECT_EQ(ini.GetString("s", "a", "?"), "some text");
    EXPECT_EQ(ini.GetString("s", "b", "?"), "  padded ");
    EXPECT_EQ(ini.GetString("s", "c", "?"), "");
    EXPECT_EQ(ini.GetString("s", "d", "?"), "\"half");
    EXPECT_EQ(ini.GetString("s", "e", "?"), "x \" y");
}

TEST(IniFile, MissingSectionOrKeyGivesTheDefault)
{
    const IniFile ini = IniFile::FromString("[s]\nk=1\n");
    EXPECT_EQ(ini.GetString("other", "k", "def"), "def");
    EXPECT_EQ(ini.GetString("s", "other", "def"), "def");
    EXPECT_EQ(ini.GetInteger("s", "other", 9), 9);
}

TEST(IniFile, FirstDuplicateKeyWins)
{
    const IniFile ini = IniFile::FromString("[s]\nk=first\nK=second\n[t]\n[S]\nk=third\nnew=4\n");
    EXPECT_EQ(ini.GetString("s", "k", ""), "first");
    EXPECT_EQ(ini.GetInteger("s", "new", 0), 4);
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"s", "t"}));
}

TEST(IniFile, CommentsBomLineEndsAndKeysBeforeSections)
{
    const IniFile ini = IniFile::FromString("\xEF\xBB\xBForphan=1\r\n; comment=1\r\n  # also=1\r\n[s]\r\nk=v ; not a comment\r\n");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"s"}));
    EXPECT_EQ(ini.GetString("s", "k", ""), "v ; not a comment");
    EXPECT_FALSE(ini.HasKey("s", "comment"));
    EXPECT_FALSE(ini.HasKey("", "orphan"));
    EXPECT_EQ(ini.ErrorLine(), 0);
}

TEST(IniFile, SectionNamesKeepFileOrderAndIgnoreTextAfterTheBracket)
{
    const IniFile ini = IniFile::FromString("[pdh_cpu] trailing\nname=a\n[ pdh_mem ]\nname=b\n[Screen 1]\n");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"pdh_cpu", "pdh_mem", "Screen 1"}));
    EXPECT_EQ(ini.GetString("pdh_mem", "name", ""), "b");
    EXPECT_FALSE(ini.HasSection("Screen1"));
}

TEST(IniFile, ReportsTheFirstMalformedLineAndGoesOn)
{
    const IniFile ini = IniFile::FromString("[s]\na=1\nno equals sign\n=x\n[broken\nb=2\n[t]\nc=3\n");
    EXPECT_EQ(ini.ErrorLine(), 3);
    EXPECT_EQ(ini.LineOf("s", "a"), 2);
    EXPECT_FALSE(ini.HasKey("s", "b"));  // below a broken header
    EXPECT_EQ(ini.GetInteger("t", "c", 0), 3);
    EXPECT_EQ(ini.LineOf("t", "c"), 8);
}

TEST(IniFile, VeryLongLinesAreRead)
{
    const std::string value(200000, 'x');
    const IniFile ini = IniFile::FromString("[s]\nk=" + value + "\n");
    EXPECT_EQ(ini.GetString("s", "k", ""), value);
}

TEST(IniFile, ReadsRealsWithAPoint)
{
    const IniFile ini = IniFile::FromString("[s]\na=0.5\nb=-1e3\nc=1,5\nd=abc\n");
    EXPECT_DOUBLE_EQ(ini.GetReal("s", "a", 1.0), 0.5);
    EXPECT_DOUBLE_EQ(ini.GetReal("s", "b", 1.0), -1000.0);
    EXPECT_DOUBLE_EQ(ini.GetReal("s", "c", 1.0), 1.0);
    EXPECT_DOUBLE_EQ(ini.GetReal("s", "d", 1.0), 1.0);
}

TEST(IniFile, MissingFileIsEmptyAndFlagged)
{
    test::TempDir dir;
    const IniFile missing = IniFile::FromFile(dir.Path() / "nothing.ini");
    EXPECT_EQ(missing.ErrorLine(), -1);
    EXPECT_TRUE(missing.Sections().empty());

    const IniFile present = IniFile::FromFile(dir.Write("x.ini", "[a]\nb=c\n"));
    EXPECT_EQ(present.GetString("a", "b", ""), "c");
}

}  // namespace
}  // namespace dotvane
