#include "config/Settings.h"

#include "config/IniFile.h"
#include "config/ScreenFile.h"
#include "config/SettingsFiles.h"
#include "platform/FileNames.h"
#include "tests/support/TempDir.h"
#include "tests/support/Utf16File.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "tests/support/HeldFifo.h"
#endif

namespace dotvane {
namespace {

// Reads the settings files of a folder of the test's own; the record and
// the tables go by the names the program gives them.
class SettingsTest : public ::testing::Test {
protected:
    void Load()
    {
        SettingsFiles files = ReadSettingsFiles(dir.Folder());
        MainSettings = std::move(files.MainSettings);
        ScreenTable = std::move(files.Screens.ScreenTable);
        FontTable = std::move(files.Screens.FontTable);
        problems.insert(problems.end(), files.Problems.begin(), files.Problems.end());
    }
    void WriteMain(std::string_view text) { dir.Write("DOTVANE.INI", text); }
    // A file of the program folder by the name that messages give it.
    std::string Named(const std::string& relative) const
    {
        return platform::ShownName(platform::NativePath(dir.Folder() + relative));
    }

    test::TempDir dir;
    TMainSettings MainSettings;
    ScreenEntries ScreenTable;
    FontEntries FontTable;
    // What the loads had to tell, in order.
    std::vector<std::string> problems;
};

TEST_F(SettingsTest, EveryDefaultWithoutAnyFile)
{
    Load();

    const TMainSettings& s = MainSettings;
    EXPECT_EQ(s.Port.Base, 888);
    EXPECT_EQ(s.Port.Device, "");
    EXPECT_FALSE(s.T6963C.CheckBusyFlag);
    EXPECT_EQ(s.T6963C.Wiring, 0);
    EXPECT_EQ(s.T6963C.Size, 1);
    EXPECT_EQ(s.KS0108.Delay, 0);
    EXPECT_EQ(s.LCD.Type, 3);
    EXPECT_EQ(s.LCD.TextColumns, 20);
    EXPECT_EQ(s.LCD.TextRows, 8);
    EXPECT_EQ(s.LCD.XPixels, 128);
    EXPECT_EQ(s.LCD.YPixels, 64);
    EXPECT_EQ(s.VLCD.BackColor, "clYellow");
    EXPECT_EQ(s.VLCD.TextColor, "clBlack");
    EXPECT_EQ(s.VLCD.BmpColor, "clBlack");
    EXPECT_EQ(s.VLCD.GraphicsColor, "clBlack");
    EXPECT_FALSE(s.NTPerfMon.Enable);
    EXPECT_EQ(s.Pop3.Update, 600000);
    EXPECT_FALSE(s.Pop3.Enable);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(s.Pop3.Host[i], "");
        EXPECT_EQ(s.Pop3.UserID[i], "");
        EXPECT_EQ(s.Pop3.Password[i], "");
    }
    EXPECT_FALSE(s.ExternalIP.Enable);
    EXPECT_EQ(s.ExternalIP.Update, 600000);
    EXPECT_EQ(s.ExternalIP.WebAddress, kDefaultWebAddress);
    EXPECT_EQ(s.ExternalIP.BeforeString, "Current IP Address: ");
    EXPECT_EQ(s.ExternalIP.AfterString, "</body>");
    EXPECT_FALSE(s.SetiAtHome.Enable);
    EXPECT_EQ(s.SetiAtHome.Interval, 60000);
    EXPECT_EQ(s.SetiAtHome.Statedir, "");
    EXPECT_EQ(s.SetiAtHome.Userinfodir, "");
    EXPECT_EQ(s.SetiAtHome.Outfiledir, "");
    EXPECT_FALSE(s.SkipScreen.Enable);
    EXPECT_EQ(s.SkipScreen.NoWinamp, -1);
    for (const std::string& day : s.WeekdayNames) EXPECT_EQ(day, "");
    EXPECT_EQ(s.Screens.ScreenFile, "screens\\default.ini");
    // Missing files are not told.
    EXPECT_TRUE(problems.empty());

    for (const ScreenEntry& screen : ScreenTable) {
        EXPECT_FALSE(screen.Enable);
        EXPECT_EQ(screen.Interval, 5000);
        EXPECT_EQ(screen.Update, 1000);
        EXPECT_EQ(screen.Bitmap, "");
        for (int j = 0; j < ElementsPerScreen; ++j) {
            EXPECT_EQ(screen.Icon[j], "");
            EXPECT_EQ(screen.Graphic[j], "");
            EXPECT_EQ(screen.Line[j], "");
        }
    }
    for (const FontEntry& font : FontTable) {
        EXPECT_EQ(font.Name, "");
        EXPECT_EQ(font.Size, 10);
        EXPECT_EQ(font.CutTop, 0);
        EXPECT_EQ(font.CutLeft, 0);
        EXPECT_FALSE(font.Invert);
    }
}

struct ColorCase {
    const char* key;
    const char* written;
    const char* stored;
};

class SettingsColorTest : public SettingsTest, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(SettingsColorTest, StoresIdentifierOrFallsBack)
{
    const ColorCase& c = GetParam();
    WriteMain(std::string("[VLCD]\n") + c.key + "=" + c.written + "\n");
    Load();
    const auto& v = MainSettings.VLCD;
    const std::string stored = std::string(c.key) == "BackColor"   ? v.BackColor
                               : std::string(c.key) == "TextColor" ? v.TextColor
                               : std::string(c.key) == "BmpColor"  ? v.BmpColor
                                                                   : v.GraphicsColor;
    EXPECT_EQ(stored, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Colors, SettingsColorTest,
    ::testing::Values(ColorCase{"BackColor", "clYellow", "clYellow"}, ColorCase{"BackColor", "Navy", "clNavy"},
                      ColorCase{"BackColor", "Nonsense", "clYellow"}, ColorCase{"BackColor", "BtnFace", "clBtnFace"},
                      ColorCase{"TextColor", "clRed", "clBlack"}, ColorCase{"TextColor", "White", "clWhite"},
                      ColorCase{"TextColor", "red", "clred"}, ColorCase{"BmpColor", "Lime", "clLime"},
                      ColorCase{"BmpColor", "$0000FF", "clBlack"}, ColorCase{"GraphicsColor", "Red", "clRed"},
                      ColorCase{"GraphicsColor", "", "clBlack"}));

TEST_F(SettingsTest, ReadsValuesWithTheirSyntax)
{
    WriteMain(
        "[Port]\nBase=0x278\nDevice= /dev/parport1 \n[T6963C]\nCheckBusyFlag=yes\nWiring=1\nSize=$4\n[KS0108]\nDelay=3\n"
        "[lcd]\ntype=0\nTextColumns=21\nTextRows=16\nXPixels=240\nYPixels=128\n"
        "[NTPerfMon]\nEnable=2\n[Pop3]\nUpdate=30000\nEnable=1\nHost3=mail.example.org\nUserID3=jo\n"
        "Password3=\"  secret \"\n[ExternalIP]\nEnable=1\nUpdate=1000\nWebAddress=http://a/\n"
        "BeforeString=\"ip: \"\nAfterString=\" end\"\n[Seti@Home]\nEnable=1\nInterval=5\n"
        "Statedir=C:\\seti\\state.sah\nUserinfodir=u\nOutfiledir=o\n[SkipScreen]\nEnable=1\nNoWinamp=2\n"
        "[Weekdays]\n0=Sun\n6=Saturday!\n[Screens]\nScreenFile=screens\\other.ini\n");
    Load();
    const TMainSettings& s = MainSettings;
    EXPECT_EQ(s.Port.Base, 632);
    EXPECT_EQ(s.Port.Device, "/dev/parport1");
    EXPECT_FALSE(s.T6963C.CheckBusyFlag);  // "yes" is no number
    EXPECT_EQ(s.T6963C.Wiring, 1);
    EXPECT_EQ(s.T6963C.Size, 4);
    EXPECT_EQ(s.KS0108.Delay, 3);
    EXPECT_EQ(s.LCD.Type, 0);
    EXPECT_EQ(s.LCD.TextColumns, 21);
    EXPECT_EQ(s.LCD.TextRows, 16);
    EXPECT_EQ(s.LCD.XPixels, 240);
    EXPECT_EQ(s.LCD.YPixels, 128);
    EXPECT_TRUE(s.NTPerfMon.Enable);
    EXPECT_EQ(s.Pop3.Update, 30000);
    EXPECT_TRUE(s.Pop3.Enable);
    EXPECT_EQ(s.Pop3.Host[3], "mail.example.org");
    EXPECT_EQ(s.Pop3.UserID[3], "jo");
    EXPECT_EQ(s.Pop3.Password[3], "  secret ");
    EXPECT_EQ(s.Pop3.Host[0], "");
    EXPECT_TRUE(s.ExternalIP.Enable);
    EXPECT_EQ(s.ExternalIP.BeforeString, "ip: ");
    EXPECT_EQ(s.ExternalIP.AfterString, " end");
    EXPECT_EQ(s.SetiAtHome.Statedir, "C:\\seti\\state.sah");
    EXPECT_EQ(s.SetiAtHome.Interval, 5);
    EXPECT_TRUE(s.SkipScreen.Enable);
    EXPECT_EQ(s.SkipScreen.NoWinamp, 2);
    EXPECT_EQ(s.WeekdayNames[0], "Sun");
    EXPECT_EQ(s.WeekdayNames[1], "");
    EXPECT_EQ(s.WeekdayNames[6], "Saturday!");
    EXPECT_EQ(s.Screens.ScreenFile, "screens\\other.ini");
}

struct LookupTextsCase {
    const char* file;
    const char* webAddress;
    const char* beforeString;
    const char* afterString;
};

TEST_F(SettingsTest, DefaultTextsOfTheLookupBelongToItsPage)
{
    const LookupTextsCase cases[] = {
        // Switched on and nothing else: the default page and its texts.
        {"[ExternalIP]\nEnable=1\n", "http://checkip.dyndns.org/", "Current IP Address: ", "</body>"},
        {"[ExternalIP]\nWebAddress=HTTP://CheckIP.DynDNS.org\n", "HTTP://CheckIP.DynDNS.org", "Current IP Address: ",
         "</body>"},
        // A page of the user's own keeps the text that settings for it rely on.
        {"[ExternalIP]\nWebAddress=http://example.net/ip\n", "http://example.net/ip", "Your ip is ", "</body>"},
        {"[ExternalIP]\nWebAddress=http://checkip.dyndns.org.example.net/\n", "http://checkip.dyndns.org.example.net/",
         "Your ip is ", "</body>"},
        // Texts that the file sets are its own, whatever the page.
        {"[ExternalIP]\nWebAddress=http://example.net/ip\nBeforeString=\"IP: \"\nAfterString=<\n",
         "http://example.net/ip", "IP: ", "<"},
        {"[ExternalIP]\nBeforeString=\"Your ip is \"\n", "http://checkip.dyndns.org/", "Your ip is ", "</body>"},
        {"[ExternalIP]\nWebAddress=\nBeforeString=\n", "", "", "</body>"},
    };
    for (const LookupTextsCase& c : cases) {
        WriteMain(c.file);
        Load();
        EXPECT_EQ(MainSettings.ExternalIP.WebAddress, c.webAddress) << c.file;
        EXPECT_EQ(MainSettings.ExternalIP.BeforeString, c.beforeString) << c.file;
        EXPECT_EQ(MainSettings.ExternalIP.AfterString, c.afterString) << c.file;
    }
}

TEST(IsDefaultWebAddress, MatchesTheDefaultPageOnly)
{
    EXPECT_TRUE(IsDefaultWebAddress("http://checkip.dyndns.org/"));
    EXPECT_TRUE(IsDefaultWebAddress("http://checkip.dyndns.org"));
    EXPECT_TRUE(IsDefaultWebAddress("HTTP://CHECKIP.DYNDNS.ORG/"));
    EXPECT_FALSE(IsDefaultWebAddress("http://checkip.dyndns.org//"));
    EXPECT_FALSE(IsDefaultWebAddress("http://checkip.dyndns.org/ip"));
    EXPECT_FALSE(IsDefaultWebAddress("https://checkip.dyndns.org/"));
    EXPECT_FALSE(IsDefaultWebAddress(""));
}

TEST_F(SettingsTest, TextGridIsClampedToWhatTheRefreshCanShow)
{
    WriteMain("[LCD]\nTextRows=40\nTextColumns=1\n");
    Load();
    EXPECT_EQ(MainSettings.LCD.TextRows, 16);
    EXPECT_EQ(MainSettings.LCD.TextColumns, 2);
    WriteMain("[LCD]\nTextRows=-3\nTextColumns=-9\n");
    Load();
    EXPECT_EQ(MainSettings.LCD.TextRows, 0);
    EXPECT_EQ(MainSettings.LCD.TextColumns, 2);
}

TEST_F(SettingsTest, KeyRemovedBetweenLoadsFallsBackToItsDefault)
{
    WriteMain("[LCD]\nXPixels=240\n[Pop3]\nUpdate=5000\n");
    dir.Write("screens/default.ini", "[Screen4]\nEnable=1\nLine0=x\n");
    Load();
    EXPECT_EQ(MainSettings.LCD.XPixels, 240);
    EXPECT_TRUE(ScreenTable[4].Enable);

    WriteMain("[LCD]\n");
    dir.Write("screens/default.ini", "[Screen4]\nLine0=x\n");
    Load();
    EXPECT_EQ(MainSettings.LCD.XPixels, 128);
    EXPECT_EQ(MainSettings.Pop3.Update, 600000);
    EXPECT_FALSE(ScreenTable[4].Enable);
}

TEST_F(SettingsTest, ReadsTheScreenFileThroughABackslashName)
{
    dir.Write("screens/default.ini",
              "[Font2]\nName=Sans\nCutTop=2\nCutLeft=1\nInvert=1\n"
              "[Screen3]\nEnable=1\nInterval=60000\nUpdate=250\nBitmap=images\\logo.bmp\n"
              "Line0=\"  $time$  \"\nLine12=twelve\nLine16=never\nIcon15=winampstatus(1,2)\n"
              "Graphic0=bar(0,56,8,100,memusage)\n[Screen 1]\nEnable=1\n[Screen21]\nEnable=1\n[Font5]\nSize=3\n");
    Load();
    const ScreenEntry& s3 = ScreenTable[3];
    EXPECT_TRUE(s3.Enable);
    EXPECT_EQ(s3.Interval, 60000);
    EXPECT_EQ(s3.Update, 250);
    EXPECT_EQ(s3.Bitmap, "images\\logo.bmp");
    EXPECT_EQ(s3.Line[0], "  $time$  ");
    EXPECT_EQ(s3.Line[12], "twelve");
    EXPECT_EQ(s3.Icon[15], "winampstatus(1,2)");
    EXPECT_EQ(s3.Graphic[0], "bar(0,56,8,100,memusage)");
    EXPECT_FALSE(ScreenTable[1].Enable);  // "Screen 1" is another section
    EXPECT_FALSE(ScreenTable[0].Enable);
    EXPECT_EQ(FontTable[2].Name, "Sans");
    EXPECT_EQ(FontTable[2].Size, 10);
    EXPECT_EQ(FontTable[2].CutTop, 2);
    EXPECT_EQ(FontTable[2].CutLeft, 1);
    EXPECT_TRUE(FontTable[2].Invert);
    EXPECT_EQ(FontTable[4].Size, 10);
}

TEST_F(SettingsTest, AbsoluteScreenFileIsStillTakenInsideTheProgramFolder)
{
    const std::filesystem::path elsewhere = dir.Write("elsewhere/screens.ini", "[Screen0]\nEnable=1\n");
    WriteMain("[Screens]\nScreenFile=" + elsewhere.string() + "\n");
    Load();
    EXPECT_FALSE(ScreenTable[0].Enable);

    dir.Write(dir.Path().relative_path().string() + "/elsewhere/screens.ini", "[Screen0]\nEnable=1\n");
    Load();
    EXPECT_TRUE(ScreenTable[0].Enable);
}

// "jörg" and "größe" as the file system and an editor writing UTF-8 spell
// them.
constexpr const char* kJoergUtf8 = "j\xC3\xB6rg";
constexpr const char* kGroesseUtf8 = "gr\xC3\xB6\xC3\x9F" "e";

TEST_F(SettingsTest, AUtf8SettingsFileNamesAScreenFileSpeltInUtf8)
{
    // The program in a folder named outside ASCII; its settings in UTF-8,
    // its screen file, named in another case, in Latin-1.
    const std::string folder = dir.Folder() + kJoergUtf8 + "/";
    dir.Write(std::string(kJoergUtf8) + "/DOTVANE.INI",
              "\xEF\xBB\xBF[Screens]\r\nScreenFile=screens\\Gr\xC3\xB6\xC3\x9F" "e.ini\r\n"
              "[Seti@Home]\r\nStatedir=C:\\Programme\\Seti\xC2\xB0\\state.sah\r\n");
    dir.Write(std::string(kJoergUtf8) + "/screens/" + kGroesseUtf8 + ".ini",
              "[Screen0]\r\nEnable=1\r\nLine0=Caf\xE9 $time$\r\nBitmap=images\\gr\xF6\xDF" "e.bmp\r\n");
    const SettingsFiles files = ReadSettingsFiles(folder);
    EXPECT_EQ(files.MainSettings.Screens.ScreenFile, "screens\\Gr\xF6\xDF" "e.ini");
    EXPECT_EQ(files.MainSettings.SetiAtHome.Statedir, "C:\\Programme\\Seti\xB0\\state.sah");
    EXPECT_TRUE(files.Screens.ScreenTable[0].Enable);
    EXPECT_EQ(files.Screens.ScreenTable[0].Line[0], "Caf\xE9 $time$");
    EXPECT_EQ(files.Screens.ScreenTable[0].Bitmap, "images\\gr\xF6\xDF" "e.bmp");
    EXPECT_TRUE(files.Problems.empty());
}

TEST_F(SettingsTest, AProblemNamesTheFileInProgramText)
{
    std::filesystem::create_directories(dir.Path() / kJoergUtf8 / "DOTVANE.INI");
    const SettingsFiles files = ReadSettingsFiles(dir.Folder() + kJoergUtf8 + "/");
    ASSERT_EQ(files.Problems.size(), 1u);
    EXPECT_EQ(files.Problems[0], "Could not read " + dir.Folder() + "j\xF6rg/DOTVANE.INI: it is not a regular file");
}

TEST_F(SettingsTest, SettingsAndScreenFilesInUtf16AreRead)
{
    WriteMain(test::Utf16File(u"[LCD]\r\nTextRows=4\r\n[Weekdays]\r\n1=Montag\r\n2=Mi\u00E9rcoles\r\n"
                              u"[Screens]\r\nScreenFile=screens\\unicode.ini\r\n",
                              false));
    dir.Write("screens/unicode.ini", test::Utf16File(u"[Screen0]\r\nEnable=1\r\nLine0=Caf\u00E9 $time$\r\n", true));
    Load();
    EXPECT_EQ(MainSettings.LCD.TextRows, 4);
    EXPECT_EQ(MainSettings.WeekdayNames[1], "Montag");
    EXPECT_EQ(MainSettings.WeekdayNames[2], "Mi\xE9rcoles");
    EXPECT_TRUE(ScreenTable[0].Enable);
    EXPECT_EQ(ScreenTable[0].Line[0], "Caf\xE9 $time$");
    EXPECT_TRUE(problems.empty());
}

TEST_F(SettingsTest, AnEmptyScreenFileNameMeansTheDefaultOne)
{
    dir.Write("screens/default.ini", "[Screen2]\nEnable=1\nLine0=default\n");
    for (const char* value : {"", "   ", "\"\""}) {
        WriteMain(std::string("[Screens]\nScreenFile=") + value + "\n");
        ScreenTable[2] = ScreenEntry{};
        Load();
        EXPECT_EQ(MainSettings.Screens.ScreenFile, "screens\\default.ini") << "value '" << value << "'";
        EXPECT_TRUE(ScreenTable[2].Enable);
        EXPECT_EQ(ScreenTable[2].Line[0], "default");
    }
    EXPECT_TRUE(problems.empty());
}

TEST_F(SettingsTest, AFolderAsSettingsFileIsToldOnceAndGivesDefaults)
{
    std::filesystem::create_directories(dir.Path() / "DOTVANE.INI");
    dir.Write("screens/default.ini", "[Screen1]\nEnable=1\n");
    MainSettings.LCD.Type = 0;
    ASSERT_NO_THROW(Load());
    EXPECT_EQ(MainSettings.LCD.Type, 3);
    EXPECT_TRUE(ScreenTable[1].Enable);  // the default screen file is read
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "Could not read " + Named("DOTVANE.INI") + ": it is not a regular file");

    // Every load tells it again.
    Load();
    EXPECT_EQ(problems.size(), 2u);
}

TEST_F(SettingsTest, AFolderAsScreenFileIsToldOnceAndGivesAnEmptyTable)
{
    dir.Write("screens/default.ini", "[Screen1]\nEnable=1\n");
    Load();
    ASSERT_TRUE(ScreenTable[1].Enable);

    WriteMain("[LCD]\nXPixels=240\n[Screens]\nScreenFile=screens\n");
    ASSERT_NO_THROW(Load());
    EXPECT_EQ(MainSettings.LCD.XPixels, 240);
    EXPECT_FALSE(ScreenTable[1].Enable);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "Could not read " + Named("screens") + ": it is not a regular file");
}

TEST_F(SettingsTest, ASettingsFileOverTheLimitIsToldWithTheLimit)
{
    const std::string text = "[LCD]\nType=0\n";
    WriteMain(text + std::string(kIniFileLimit, ';'));
    dir.Write("screens/default.ini", "[Screen0]\nEnable=1\n" + std::string(kIniFileLimit, '#'));
    Load();
    EXPECT_EQ(MainSettings.LCD.Type, 3);
    EXPECT_FALSE(ScreenTable[0].Enable);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "Could not read " + Named("DOTVANE.INI") +
                                    ": it is larger than 4194304 bytes");
    EXPECT_EQ(problems[1], "Could not read " + Named("screens\\default.ini") +
                                    ": it is larger than 4194304 bytes");
}

#ifndef _WIN32
TEST_F(SettingsTest, AFifoAsSettingsFileIsToldAtOnce)
{
    test::HeldFifo fifo(dir.Path() / "DOTVANE.INI", "[LCD]\nType=0\n");
    const auto [prompt, type] = test::ReadWhileHeld(fifo, [&] {
        Load();
        return MainSettings.LCD.Type;
    });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(type, 3);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "Could not read " + Named("DOTVANE.INI") + ": it is not a regular file");
}

TEST_F(SettingsTest, AnEndlessDeviceAsScreenFileIsToldAtOnce)
{
    std::filesystem::create_symlink("/dev/zero", dir.Path() / "endless.ini");
    WriteMain("[Screens]\nScreenFile=endless.ini\n");
    Load();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "Could not read " + Named("endless.ini") + ": it is not a regular file");
}
#endif

}  // namespace
}  // namespace dotvane
