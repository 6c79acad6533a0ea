#include "platform/FileNames.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace dotvane::platform {
namespace {

TEST(FileNames, BackslashIsASeparatorAndCaseIsMatchedWhenNeeded)
{
    test::TempDir dir;
    dir.Write("screens/Default.INI", "x");
    const std::string root = dir.Folder();
    EXPECT_EQ(NativePath(root + "screens\\Default.INI"), dir.Path() / "screens/Default.INI");
    EXPECT_EQ(NativePath(root + "SCREENS\\default.ini"), dir.Path() / "screens/Default.INI");
    EXPECT_EQ(NativePath(root + "screens\\missing.ini"), std::filesystem::path(root + "screens/missing.ini"));
}

TEST(FileNames, ANameHoldingANulNamesNoFile)
{
    test::TempDir dir;
    dir.Write("hostname", "x");
    // Read up to the NUL, the name would open the file before it.
    EXPECT_TRUE(NativePath(dir.Folder() + "hostname" + std::string(1, '\0') + ".txt").empty());
    EXPECT_TRUE(NativePath(std::string("/\0x", 3)).empty());
}

TEST(FileNames, RelativeNamesStayRelativeToTheCurrentFolder)
{
    test::TempDir dir;
    dir.Write("images/play.bmp", "x");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(NativePath("images\\Play.bmp"), std::filesystem::path("images/play.bmp"));
    EXPECT_TRUE(std::filesystem::exists(NativePath("IMAGES\\PLAY.BMP")));
    std::filesystem::current_path(previous);
}

// "größe", "jörg", "käse", "日本" and "中国" as the file system spells them.
constexpr const char* kGroesseUtf8 = "gr\xC3\xB6\xC3\x9F" "e";
constexpr const char* kJoergUtf8 = "j\xC3\xB6rg";
constexpr const char* kKaeseUtf8 = "k\xC3\xA4se";
constexpr const char* kNihonUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC";
constexpr const char* kChugokuUtf8 = "\xE4\xB8\xAD\xE5\x9B\xBD";

TEST(FileNames, Latin1NamesOpenTheFilesTheFileSystemSpellsInUtf8)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.Write(std::string("images/") + kGroesseUtf8 + ".bmp", "x");
    const std::string root = dir.Folder();
    EXPECT_EQ(NativePath(root + "images\\gr\xF6\xDF" "e.bmp"), file);
    // In another case, the accented capitals too.
    EXPECT_EQ(NativePath(root + "IMAGES\\GR\xD6\xDF" "E.BMP"), file);
    // A missing file is named as the file system would spell it.
    EXPECT_EQ(NativePath(root + "images\\k\xE4se.bmp"), dir.Path() / "images" / (std::string(kKaeseUtf8) + ".bmp"));
}

TEST(FileNames, NamesWrittenInLatin1OnTheDiskStillOpen)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.Write("caf\xE9.txt", "x");
    EXPECT_EQ(NativePath(dir.Folder() + "caf\xE9.txt"), file);
    EXPECT_EQ(NativePath(dir.Folder() + "CAF\xC9.TXT"), file);
}

TEST(FileNames, TheSystemsFolderMayLeadANameFromTheSettings)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.Write(std::string(kJoergUtf8) + "/" + kKaeseUtf8 + ".ini", "x");
    const std::string folder = dir.Folder() + kJoergUtf8 + "/";
    EXPECT_EQ(NativePath(folder + "k\xE4se.ini"), file);
    EXPECT_EQ(NativePath(folder + "K\xC4SE.INI"), file);
    EXPECT_EQ(NativePath(folder + "missing.ini"), dir.Path() / kJoergUtf8 / "missing.ini");
}

TEST(FileNames, ANameOutsideLatin1IsFoundWhenItIsTheOnlyOneThatFits)
{
    test::TempDir dir;
    // The settings' UTF-8 "日本.txt" reads as "??.txt".
    const std::filesystem::path file = dir.Write(std::string(kNihonUtf8) + ".txt", "x");
    EXPECT_EQ(NativePath(dir.Folder() + "??.txt"), file);
    dir.Write(std::string(kChugokuUtf8) + ".txt", "y");
    EXPECT_FALSE(std::filesystem::exists(NativePath(dir.Folder() + "??.txt")));
}

TEST(FileNames, NoEntryIsTakenWhenSeveralFitInAnotherCase)
{
    test::TempDir dir;
    dir.Write("Play.bmp", "x");
    dir.Write("PLAY.BMP", "y");
    EXPECT_EQ(NativePath(dir.Folder() + "play.bmp"), dir.Path() / "play.bmp");
    EXPECT_EQ(NativePath(dir.Folder() + "PLAY.BMP"), dir.Path() / "PLAY.BMP");
}

TEST(FileNames, ShownNamesAreProgramText)
{
    EXPECT_EQ(ShownName(std::filesystem::path(std::string("/home/") + kJoergUtf8 + "/DOTVANE.INI")),
              "/home/j\xF6rg/DOTVANE.INI");
    EXPECT_EQ(ShownName(std::filesystem::path("/data/caf\xE9.txt")), "/data/caf\xE9.txt");
}

TEST(FileNames, ProgramFolderIsTheFolderOfThisExecutable)
{
    const std::string folder = ProgramFolder();
    ASSERT_TRUE(folder.ends_with('/'));
    EXPECT_TRUE(std::filesystem::exists(folder + "tests_platform"));
}

}  // namespace
}  // namespace dotvane::platform
