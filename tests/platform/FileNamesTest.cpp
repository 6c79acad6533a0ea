#include "platform/FileNames.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>


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

TEST(FileNames, ProgramFolderIsTheFolderOfThisExecutable)
{
    const std::string folder = ProgramFolder();
    ASSERT_TRUE(folder.ends_with('/'));
    EXPECT_TRUE(std::filesystem::exists(folder + "tests_platform"));
}

}  // namespace
}  // namespace dotvane::platform
