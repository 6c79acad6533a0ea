#include "config/IniFile.h"

#include "tests/support/TempDir.h"
#include "tests/support/Utf16File.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include "tests/support/HeldFifo.h"
#endif

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
    EXPECT_EQ(present.ReadStatus(), platform::FileStatus::Ok);
    EXPECT_EQ(missing.ReadStatus(), platform::FileStatus::Missing);
}

struct EncodingCase {
    const char* what;
    std::string file;
    std::string expected;  // the value of [Screen1] Line0
};

// A file is read as UTF-8 when all of it is UTF-8, and as Latin-1 otherwise;
// the values come out as Latin-1 either way.
TEST(IniFile, FilesAreReadAsUtf8OrAsLatin1)
{
    const EncodingCase cases[] = {
        {"utf-8", "[Screen1]\nLine0=Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga\n", "Bj\xF6rk - J\xF3ga"},
        {"utf-8 with a byte order mark", "\xEF\xBB\xBF[Screen1]\r\nLine0=\xC3\x9F\xC2\xB0\r\n", "\xDF\xB0"},
        {"outside latin-1", "[Screen1]\nLine0=\xE2\x80\x9CHi\xE2\x80\x9D \xD0\x96\n", "\"Hi\" ?"},
        {"latin-1 from windows", "[Screen1]\r\nLine0=Bj\xF6rk \x96 J\xF3ga\r\n", "Bj\xF6rk \x96 J\xF3ga"},
        // One byte that is no UTF-8 keeps the whole file as its bytes.
        {"mixed", "[Screen1]\nLine0=K\xE4se\nLine1=\xC3\xA9\n", "K\xE4se"},
        {"ascii", "[Screen1]\nLine0=$mem$%\n", "$mem$%"},
    };
    test::TempDir dir;
    for (const EncodingCase& c : cases) {
        const IniFile ini = IniFile::FromFile(dir.Write("screen.ini", c.file));
        EXPECT_EQ(ini.GetString("Screen1", "Line0", "missing"), c.expected) << c.what;
        EXPECT_EQ(ini.ErrorLine(), 0) << c.what;
    }
    const IniFile mixed = IniFile::FromFile(dir.Write("mixed.ini", cases[4].file));
    EXPECT_EQ(mixed.GetString("Screen1", "Line1", ""), "\xC3\xA9");
    // Text given as a string is the program's text already.
    EXPECT_EQ(IniFile::FromString("[a]\nb=\xC3\xA9\n").GetString("a", "b", ""), "\xC3\xA9");
}

// Notepad's "Unicode" files read exactly as the same text saved in the code
// page, whose "?" stands for each character it lacks.
TEST(IniFile, Utf16FilesReadAsAnAnsiFileWithTheSameText)
{
    const std::u16string text = u"[Screen1]\r\nLine0=Bj\u00F6rk J\u00F3ga\r\nLine1=\" \u00DF\u00B0 \"\nLine2=\u0416 \u03B1\r\n";
    test::TempDir dir;
    const IniFile ansi =
        IniFile::FromFile(dir.Write("ansi.ini", "[Screen1]\r\nLine0=Bj\xF6rk J\xF3ga\r\nLine1=\" \xDF\xB0 \"\nLine2=? ?\r\n"));
    for (const bool bigEndian : {false, true}) {
        const IniFile ini = IniFile::FromFile(dir.Write("unicode.ini", test::Utf16File(text, bigEndian)));
        for (const char* key : {"Line0", "Line1", "Line2"})
            EXPECT_EQ(ini.GetString("Screen1", key, "missing"), ansi.GetString("Screen1", key, "")) << key;
        EXPECT_EQ(ini.ErrorLine(), 0);
    }
    EXPECT_EQ(ansi.GetString("Screen1", "Line1", ""), " \xDF\xB0 ");
    // Half a character at the end is one the text lacks.
    const IniFile odd = IniFile::FromFile(dir.Write("odd.ini", test::Utf16File(u"[a]\r\nb=c", false) + "d"));
    EXPECT_EQ(odd.GetString("a", "b", ""), "c?");
}

TEST(IniFile, AFolderIsAnEmptyFileAndNothingThrows)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "DOTVANE.INI");
    const IniFile ini = IniFile::FromFile(dir.Path() / "DOTVANE.INI");
    EXPECT_EQ(ini.ErrorLine(), -1);
    EXPECT_EQ(ini.ReadStatus(), platform::FileStatus::NotRegular);
    EXPECT_TRUE(ini.Sections().empty());
}

TEST(IniFile, AFileOverTheLimitIsNotRead)
{
    test::TempDir dir;
    std::string text = "[LCD]\nType=0\n";
    std::string exact = text + std::string(kIniFileLimit - text.size(), ';');
    const IniFile atLimit = IniFile::FromFile(dir.Write("exact.ini", exact));
    EXPECT_EQ(atLimit.ReadStatus(), platform::FileStatus::Ok);
    EXPECT_EQ(atLimit.GetInteger("LCD", "Type", 3), 0);

    const IniFile over = IniFile::FromFile(dir.Write("over.ini", exact + "\n"));
    EXPECT_EQ(over.ReadStatus(), platform::FileStatus::TooLarge);
    EXPECT_EQ(over.ErrorLine(), -1);
    EXPECT_EQ(over.GetInteger("LCD", "Type", 3), 3);
    EXPECT_TRUE(over.Sections().empty());
}

#ifndef _WIN32
TEST(IniFile, AFifoIsRefusedAtOnce)
{
    test::TempDir dir;
    test::HeldFifo fifo(dir.Path() / "DOTVANE.INI", "[LCD]\nType=0\n");
    const auto [prompt, ini] = test::ReadWhileHeld(fifo, [&] { return IniFile::FromFile(fifo.Path()); });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(ini.ReadStatus(), platform::FileStatus::NotRegular);
    EXPECT_EQ(ini.GetInteger("LCD", "Type", 3), 3);
}
#endif

TEST(IniFile, ManySectionsAndKeysKeepEveryRule)
{
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        text += "[Screen" + n + "]\nLine0=a" + n + "\nline0=b\nLINE1=c" + n + "\n";
    }
    text += "[screen7]\nLine0=again\nLine2=new\n";
    const IniFile ini = IniFile::FromString(text);
    EXPECT_EQ(ini.Sections().size(), 2000u);
    EXPECT_EQ(ini.Sections()[1999], "Screen1999");
    EXPECT_EQ(ini.GetString("SCREEN1234", "line0", ""), "a1234");
    EXPECT_EQ(ini.GetString("screen1234", "Line1", ""), "c1234");
    EXPECT_EQ(ini.GetString("Screen7", "line0", ""), "a7");  // the first one wins
    EXPECT_EQ(ini.GetString("Screen7", "line2", ""), "new");
    EXPECT_EQ(ini.LineOf("Screen7", "Line2"), 8003);
    EXPECT_EQ(ini.LineOf("Screen0", "Line1"), 4);
    EXPECT_FALSE(ini.HasKey("Screen2000", "Line0"));
}

TEST(IniFile, ParsingTimeGrowsWithTheSizeAlone)
{
    // 100,000 sections of a few keys each: a reader that looks sections or
    // keys up one by one takes minutes here, several even without the
    // sanitizers; a linear one a fraction of a second, and some seconds
    // under the sanitizers on a loaded machine.
    std::string text;
    for (int i = 0; i < 100000; ++i) {
        const std::string n = std::to_string(i);
        text += "[S" + n + "]\nA=" + n + "\nB=2\n[s" + n + "]\nC=3\n";
    }
    const auto start = std::chrono::steady_clock::now();
    const IniFile ini = IniFile::FromString(text);
    const auto taken = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(ini.Sections().size(), 100000u);
    EXPECT_EQ(ini.GetInteger("s99999", "a", 0), 99999);
    EXPECT_EQ(ini.GetInteger("S99999", "c", 0), 3);
    EXPECT_LT(taken, std::chrono::seconds(60));
}

}  // namespace
}  // namespace dotvane
