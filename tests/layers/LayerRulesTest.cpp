#include "tests/layers/LayerRules.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace dotvane::test {
namespace {

struct PathCase {
    const char* path;
    std::optional<Layer> layer;
};

class LayerOfTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(LayerOfTest, FolderGivesTheLayer)
{
    EXPECT_EQ(LayerOf(GetParam().path), GetParam().layer) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LayerOfTest,
    ::testing::Values(PathCase{"base/Timer.h", Layer::Base}, PathCase{"platform/linux/SysFiles.cpp", Layer::Platform},
                      PathCase{"platform/linux/dlportio/EntryPoints.h", Layer::Platform},
                      PathCase{"config/IniFile.cpp", Layer::Config}, PathCase{"lcd/Display.h", Layer::Lcd},
                      PathCase{"lcd/emulator/PanelPort.h", Layer::Emulator},
                      PathCase{"lcd/emulator/simport/SimulatedDlPortIO.cpp", Layer::Emulator},
                      PathCase{"vars/ExpandLine.h", Layer::Vars}, PathCase{"vars/perf/NtCounterSource.h", Layer::Vars},
                      PathCase{"vars/net/LineSocket.h", Layer::Net}, PathCase{"render/Renderer.h", Layer::Render},
                      PathCase{"app/TDotvane.h", Layer::App}, PathCase{"app/qt/MainWindow.h", Layer::Shell},
                      PathCase{"app/win32/MainWindow.cpp", Layer::Shell},
                      PathCase{"tests/support/TempDir.h", std::nullopt},
                      PathCase{"fuzz/IniFileFuzz.cpp", std::nullopt}, PathCase{"lcdx/Thing.h", std::nullopt},
                      PathCase{"variables/Thing.h", std::nullopt}));

TEST(LayerRulesTest, EachLayerUsesOnlyTheLayersBelowItThatItNeeds)
{
    using enum Layer;
    struct Rule {
        Layer from, to;
        bool allowed;
    };
    const std::vector<Rule> rules{
        {Base, Base, true},         {Base, Platform, false},  {Platform, Base, true},    {Platform, Config, false},
        {Platform, Lcd, false},     {Config, Platform, true}, {Config, Vars, false},     {Lcd, Config, true},
        {Lcd, Vars, false},         {Lcd, Render, false},     {Lcd, App, false},         {Lcd, Emulator, false},
        {Emulator, Lcd, true},      {Vars, Config, true},     {Vars, Net, false},        {Vars, Lcd, false},
        {Vars, App, false},         {Net, Platform, true},    {Net, Config, false},      {Net, Vars, false},
        {Render, Vars, true},       {Render, Lcd, true},      {Render, Net, false},      {Render, App, false},
        {Render, Emulator, false},  {App, Net, true},         {App, Render, true},       {App, Emulator, false},
        {App, Shell, false},        {Shell, App, true},       {Shell, Render, true},     {Render, Shell, false},
    };
    for (const Rule& rule : rules)
        EXPECT_EQ(MayInclude(rule.from, rule.to), rule.allowed)
            << static_cast<int>(rule.from) << " -> " << static_cast<int>(rule.to);
}

TEST(LayerRulesTest, ToolkitsStayInTheirShellsAndTheirSeams)
{
    for (const char* path : {"app/qt/MainWindow.cpp", "platform/qt/QtTextRasterizer.cpp",
                             "platform/linux/mpris/MprisPlayer.cpp"})
        EXPECT_TRUE(MayIncludeQt(path)) << path;
    for (const char* path : {"render/Renderer.h", "app/TDotvane.cpp", "app/win32/MainWindow.cpp",
                             "platform/linux/PlayerLinux.cpp", "vars/ExpandLine.cpp"})
        EXPECT_FALSE(MayIncludeQt(path)) << path;
    for (const char* path : {"platform/win32/PlayerWin32.cpp", "app/win32/MainWindow.cpp"})
        EXPECT_TRUE(MayIncludeWindows(path)) << path;
    for (const char* path : {"app/TDotvane.cpp", "app/qt/MainWindow.cpp", "render/Renderer.cpp", "lcd/TDLPortIO.cpp"})
        EXPECT_FALSE(MayIncludeWindows(path)) << path;
    for (const char* header : {"Windows.h", "wincodec.h", "winver.h", "wrl/client.h", "ddk/wdm.h", "iphlpapi.h"})
        EXPECT_TRUE(IsWindowsHeader(header)) << header;
    for (const char* header : {"windows", "unistd.h", "sys/io.h", "string"}) EXPECT_FALSE(IsWindowsHeader(header)) << header;
    for (const char* header : {"QImage", "QtCore/QString", "qglobal.h"}) EXPECT_TRUE(IsQtHeader(header)) << header;
    for (const char* header : {"queue", "xcb/xcb.h"}) EXPECT_FALSE(IsQtHeader(header)) << header;
}

TEST(LayerRulesTest, IncludesThatClimbAreFoundWithTheirLines)
{
    TempDir tree;
    tree.Write("lcd/Driver.cpp", "#include \"lcd/Driver.h\"\n\n#include \"app/TDotvane.h\"\n  #  include \"render/Renderer.h\"\n");
    tree.Write("lcd/emulator/Panel.cpp", "#include \"lcd/Font5x7.h\"\n#include <QImage>\n");
    tree.Write("vars/net/Client.cpp", "#include \"config/Settings.h\"\n#include \"platform/Sockets.h\"\n");
    tree.Write("vars/Family.cpp", "#include \"vars/net/Client.h\"\n#include \"tests/support/TempDir.h\"\n");
    tree.Write("render/Picture.cpp", "#include <QImage>\n#include \"vars/ExpandLine.h\"\n// #include is text here\n");
    tree.Write("app/Logic.cpp", "#include <windows.h>\n#include \"app/qt/MainWindow.h\"\n");
    tree.Write("app/win32/Window.cpp", "#include <windows.h>\n#include \"app/TDotvane.h\"\n");
    tree.Write("base/notes.txt", "#include \"app/TDotvane.h\"\n");
    std::vector<std::string> found;
    for (const Violation& v : FindViolations(tree.Path()))
        found.push_back(v.file + ":" + std::to_string(v.line) + " " + v.included);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"app/Logic.cpp:1 windows.h", "app/Logic.cpp:2 app/qt/MainWindow.h",
                                               "lcd/Driver.cpp:3 app/TDotvane.h", "lcd/Driver.cpp:4 render/Renderer.h",
                                               "lcd/emulator/Panel.cpp:2 QImage", "render/Picture.cpp:1 QImage",
                                               "vars/Family.cpp:1 vars/net/Client.h",
                                               "vars/Family.cpp:2 tests/support/TempDir.h",
                                               "vars/net/Client.cpp:1 config/Settings.h"}));
}

// The rule itself: no file of the program includes a header of a layer
// above its own.
TEST(LayerRulesTest, TheSourceTreeKeepsTheLayers)
{
    const std::vector<Violation> violations = FindViolations(DOTVANE_SOURCE_DIR);
    for (const Violation& v : violations) ADD_FAILURE() << v.file << ":" << v.line << " includes " << v.included;
    EXPECT_TRUE(violations.empty());
}

}  // namespace
}  // namespace dotvane::test
