// The Windows window under Wine's null display driver: windows, menus,
// timers and message boxes exist there, but no notification area, so a
// stand-in takes the tray icon.
#include "app/win32/MainWindow.h"

#include "tests/support/RecordingDisplay.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

namespace dotvane {
namespace {

class FakeNotificationArea : public NotificationArea {
public:
    bool Add(HWND, UINT, HICON, const char*) override { return ++adds, available; }
    bool Remove(HWND) override { return ++removals, true; }
    bool available = true;
    int adds = 0, removals = 0;
};

// Handles the thread's messages until `done` holds; false when it did not
// within ten seconds. A WM_QUIT is noted, not obeyed.
bool PumpUntil(const std::function<bool()>& done, bool* quit = nullptr)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MSG message{};
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT && quit) *quit = true;
            ::DispatchMessageA(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::vector<std::string> MenuTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const bool ticked = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED;
        texts.push_back(std::string(text) + (ticked ? " (ticked)" : ""));
        if (const HMENU sub = ::GetSubMenu(menu, i)) {
            const std::vector<std::string> items = MenuTexts(sub);
            texts.insert(texts.end(), items.begin(), items.end());
        }
    }
    return texts;
}

bool Ticked(HMENU menu, UINT command) { return ::GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED; }

// Visible message boxes of this thread.
int OpenBoxes()
{
    int count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            char name[16] = "";
            ::GetClassNameA(window, name, sizeof name);
            *reinterpret_cast<int*>(found) += std::string(name) == "#32770" && ::IsWindowVisible(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

void CloseBoxes()
{
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM) {
            char name[16] = "";
            ::GetClassNameA(window, name, sizeof name);
            if (std::string(name) == "#32770") ::PostMessageA(window, WM_COMMAND, IDOK, 0);
            return TRUE;
        },
        0);
}

class MainWindowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        window.reset();
        // What a closed window posted for its loop.
        PumpUntil([] { return true; });
    }
    MainWindow& Open(std::string_view settings = "")
    {
        dir.Write("DOTVANE.INI", settings);
        dir.Write("screens/default.ini", "[Screen0]\nEnable=1\nLine0=hello\n[Screen1]\nEnable=1\nLine0=one\n");
        window = std::make_unique<MainWindow>(::GetModuleHandleA(nullptr), dir.Folder(), tray, display);
        window->Show();
        return *window;
    }
    RECT Client() const
    {
        RECT client{};
        ::GetClientRect(window->Handle(), &client);
        return client;
    }
    // The part of the window that waits to be repainted; empty for none.
    Rect ToRepaint() const
    {
        RECT part{};
        if (!::GetUpdateRect(window->Handle(), &part, FALSE)) return {};
        return {part.left, part.top, part.right - part.left, part.bottom - part.top};
    }

    test::TempDir dir;
    FakeNotificationArea tray;
    test::RecordingDisplay display;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, TheWindowHasItsCaptionPlaceAndClientArea)
{
    const std::pair<const char*, RECT> cases[] = {{"", {0, 0, 257, 149}},
                                                  {"[LCD]\nXPixels=240\nYPixels=128\n", {0, 0, 481, 277}}};
    for (const auto& [settings, client] : cases) {
        MainWindow& shown = Open(settings);
        EXPECT_EQ(Client().right, client.right) << settings;
        EXPECT_EQ(Client().bottom, client.bottom) << settings;
        EXPECT_EQ(shown.Layout().StatusLine.Height, 19);
        char caption[64] = "";
        ::GetWindowTextA(shown.Handle(), caption, sizeof caption);
        EXPECT_STREQ(caption, "Dotvane v. 0.3.2 pre13 NT");
        RECT place{};
        ::GetWindowRect(shown.Handle(), &place);
        EXPECT_EQ(place.left, 268);
        EXPECT_EQ(place.top, 120);
    }
}

TEST_F(MainWindowTest, ATinyDisplayKeepsTheMenuBarOnOneLine)
{
    MainWindow& shown = Open("[LCD]\nXPixels=1\nYPixels=1\n");
    EXPECT_EQ(Client().bottom, 23);
    RECT first{}, last{};
    ::GetMenuItemRect(shown.Handle(), shown.Menus().Bar(), 0, &first);
    ::GetMenuItemRect(shown.Handle(), shown.Menus().Bar(), 2, &last);
    EXPECT_GT(last.right, first.right);
    EXPECT_EQ(last.top, first.top);
}

TEST_F(MainWindowTest, MenusHaveTheirCaptionsShortcutsAndTicks)
{
    MainWindow& shown = Open();
    EXPECT_EQ(MenuTexts(shown.Menus().Bar()),
              (std::vector<std::string>{"File", "Reload\tCtrl+R", "Exit", "Screen", "Next\tCtrl+X",
                                        "Previous\tCtrl+Z", "Pause\tCtrl+P", "Enabled only (ticked)", "Help",
                                        "Help (web)", "Dotvane Home Page"}));
    EXPECT_EQ(MenuTexts(shown.Menus().Popup()),
              (std::vector<std::string>{"Next", "Previous", "Pause", "Show", "Minimize", "Exit"}));
}

TEST_F(MainWindowTest, ShortcutsAndMenuItemsReachTheLogic)
{
    MainWindow& shown = Open();
    TDotvane& logic = shown.Logic();
    // Ctrl held down, as the keyboard state of this thread says.
    BYTE keys[256]{};
    keys[VK_CONTROL] = 0x80;
    const auto key = [&](WPARAM code, bool control) {
        keys[VK_CONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(keys);
        MSG press{shown.Handle(), WM_KEYDOWN, code, 1, 0, {}};
        shown.Dispatch(press);
    };
    const auto command = [&](UINT id) { ::SendMessageA(shown.Handle(), WM_COMMAND, id, 0); };
    struct Step {
        std::function<void()> act;
        std::string status;
        int screen;
        bool pause, enabledOnly;
    };
    const Step steps[] = {
        {[&] { key('X', false); }, "", 0, false, true},
        {[&] { key('X', true); }, "Next - Screen: 1", 1, false, true},
        {[&] { key('Z', true); }, "Previous - Screen: 0", 0, false, true},
        {[&] { key('P', true); }, "Previous - Screen: 0", 0, true, true},
        {[&] { command(kPopupPause); }, "Previous - Screen: 0", 0, false, true},
        {[&] { command(kEnabledOnly); }, "Previous - Screen: 0", 0, false, false},
        {[&] { command(kPopupNext); }, "Next - Screen: 1", 1, false, false},
        {[&] { command(kPrevious); }, "Previous - Screen: 0", 0, false, false},
    };
    int number = 0;
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(shown.StatusText(), step.status) << "step " << number;
        EXPECT_EQ(logic.State().CurrentScreen, step.screen) << "step " << number;
        EXPECT_EQ(Ticked(shown.Menus().Bar(), kPause), step.pause) << "step " << number;
        EXPECT_EQ(Ticked(shown.Menus().Popup(), kPopupPause), step.pause) << "step " << number;
        EXPECT_EQ(Ticked(shown.Menus().Bar(), kEnabledOnly), step.enabledOnly) << "step " << number;
        ++number;
    }
    // Ctrl+R reads the files again.
    dir.Write("screens/default.ini", "[Screen0]\nLine0=reloaded\n");
    key('R', true);
    EXPECT_EQ(logic.State().ScreenTable[0].Line[0], "reloaded");
    key('R', false);
}

TEST_F(MainWindowTest, TheTimersRunTheLogicsHandlers)
{
    MainWindow& shown = Open();
    TDotvane& logic = shown.Logic();
    logic.UpdateTimer1().SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return !logic.Render().PresentedPicture().IsNull(); }));
    logic.changescreen_Timer1().SetInterval(30);
    EXPECT_TRUE(PumpUntil([&] { return logic.State().CurrentScreen == 1; }));
}

TEST_F(MainWindowTest, TheNetworkWaitsPumpHandlesWhatWaitsAndKeepsTheQuit)
{
    MainWindow& shown = Open();
    ::PostMessageA(shown.Handle(), WM_COMMAND, kNext, 0);
    ::PostQuitMessage(3);
    shown.ProcessMessages();
    EXPECT_EQ(shown.Logic().State().CurrentScreen, 1);
    MSG quit{};
    ASSERT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
}

TEST_F(MainWindowTest, TheSameTextNeverOpensASecondBox)
{
    MainWindow& shown = Open();
    std::vector<int> open;
    int ticks = 0;
    // Inside the box, a timer asks for the same text again, then another
    // text, and closes every box on the next tick.
    const std::unique_ptr<Timer> timer = shown.CreateTimer(50);
    timer->SetHandler([&] {
        if (++ticks == 1) {
            shown.ShowMessage("same text");
            open.push_back(OpenBoxes());
            shown.ShowError("other text");
        } else {
            open.push_back(OpenBoxes());
            CloseBoxes();
        }
    });
    shown.ShowMessage("same text");
    timer->SetEnabled(false);
    ASSERT_GE(open.size(), 2u);
    EXPECT_EQ(open[0], 1);
    EXPECT_EQ(open[1], 2);
    EXPECT_EQ(OpenBoxes(), 0);
}

TEST_F(MainWindowTest, AnUnchangingScreenRepaintsNothingAndAChangeOnlyItsPixels)
{
    MainWindow& shown = Open();
    TDotvane& logic = shown.Logic();
    logic.UpdateTimer1Timer();
    EXPECT_EQ(ToRepaint(), (Rect{0, 0, 257, 130}));
    ::UpdateWindow(shown.Handle());
    logic.UpdateTimer1Timer();
    logic.UpdateTimer1Timer();
    EXPECT_TRUE(ToRepaint().IsEmpty());
    logic.Render().VlcdBitmap.image.SetPixel(100, 40, 0x0000FF);
    logic.Render().PresentVirtualDisplay();
    EXPECT_EQ(ToRepaint(), (Rect{200, 80, 2, 2}));
    // A new status text repaints the status line alone; the same one nothing.
    ::UpdateWindow(shown.Handle());
    shown.SetStatusText("Caf\xE9");
    EXPECT_EQ(ToRepaint(), (Rect{0, 130, 257, 19}));
    ::UpdateWindow(shown.Handle());
    shown.SetStatusText("Caf\xE9");
    EXPECT_TRUE(ToRepaint().IsEmpty());
    EXPECT_EQ(shown.StatusText(), "Caf\xE9");
}

TEST_F(MainWindowTest, EveryWayOfClosingRunsFormCloseOnce)
{
    const std::pair<const char*, std::function<void(HWND)>> ways[] = {
        {"File > Exit", [](HWND w) { ::SendMessageA(w, WM_COMMAND, kExit, 0); }},
        {"pop-up Exit", [](HWND w) { ::SendMessageA(w, WM_COMMAND, kPopupExit, 0); }},
        {"closing", [](HWND w) { ::SendMessageA(w, WM_CLOSE, 0, 0); }},
        {"the session's end", [](HWND w) { ::SendMessageA(w, WM_ENDSESSION, TRUE, 0); }},
    };
    for (const auto& [name, close] : ways) {
        display.calls.clear();
        MainWindow& shown = Open();
        const HWND handle = shown.Handle();
        bool quit = false;
        close(handle);
        close(handle);
        EXPECT_TRUE(PumpUntil([&] { return quit; }, &quit)) << name;
        EXPECT_FALSE(::IsWindow(handle)) << name;
        EXPECT_EQ(display.Count("Blank"), 1) << name;
        EXPECT_FALSE(shown.Logic().UpdateTimer1().Enabled()) << name;
        EXPECT_EQ(tray.removals, 1) << name;
        tray.removals = 0;
    }
    // A session end that was called off leaves the program running.
    MainWindow& shown = Open();
    display.calls.clear();
    ::SendMessageA(shown.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(::IsWindow(shown.Handle()));
    EXPECT_EQ(display.Count("Blank"), 0);
}

TEST_F(MainWindowTest, MinimisingHidesIntoTheTrayOrOnlyMinimisesWithoutOne)
{
    for (const bool available : {true, false}) {
        tray.available = available;
        MainWindow& shown = Open();
        EXPECT_EQ(shown.HasTrayIcon(), available);
        TDotvane& logic = shown.Logic();
        // Minimised by the system, and by the pop-up menu's Minimize.
        for (const std::function<void()>& minimise : std::initializer_list<std::function<void()>>{
                 [&] { ::ShowWindow(shown.Handle(), SW_MINIMIZE); },
                 [&] { ::SendMessageA(shown.Handle(), WM_COMMAND, kPopupMinimize, 0); }}) {
            minimise();
            EXPECT_FALSE(logic.State().WindowShown) << available;
            EXPECT_EQ(::IsWindowVisible(shown.Handle()) == FALSE, available) << available;
            EXPECT_TRUE(available || ::IsIconic(shown.Handle()));
            // Back by a double click on the icon, or by restoring the window.
            if (available)
                ::SendMessageA(shown.Handle(), MainWindow::kTrayMessage, 1, WM_LBUTTONDBLCLK);
            else
                ::ShowWindow(shown.Handle(), SW_RESTORE);
            EXPECT_TRUE(logic.State().WindowShown) << available;
            EXPECT_TRUE(::IsWindowVisible(shown.Handle()) && !::IsIconic(shown.Handle())) << available;
        }
    }
}

TEST_F(MainWindowTest, ARestartedTaskbarGetsTheIconAgain)
{
    MainWindow& shown = Open();
    EXPECT_EQ(tray.adds, 1);
    ::SendMessageA(shown.Handle(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(tray.adds, 2);
    EXPECT_TRUE(shown.HasTrayIcon());
    // Hidden, and no icon could be made this time: the window comes back.
    shown.Logic().PopUpMenu1_MinimizeClick();
    tray.available = false;
    ::SendMessageA(shown.Handle(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_FALSE(shown.HasTrayIcon());
    EXPECT_TRUE(::IsWindowVisible(shown.Handle()));
    EXPECT_TRUE(shown.Logic().State().WindowShown);
}

}  // namespace
}  // namespace dotvane
