// The Windows window under Wine's null display driver: windows, menus,
// timers and message boxes exist there, but no notification area, so a
// stand-in takes the tray icon.
#include "app/win32/MainWindow.h"

#include "tests/support/RecordingDisplay.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
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
// within ten seconds. A WM_QUIT is noted in `quit`, not obeyed.
bool PumpUntil(const std::function<bool()>& done, bool* quit = nullptr)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (MSG message{}; !done(); ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT && quit) *quit = true;
            ::DispatchMessageA(&message);
        }
    }
    return true;
}

// Each item of a menu and its submenus: its text, and whether it is ticked.
std::vector<std::string> MenuTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const bool ticked = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED;
        texts.push_back(text + std::string(ticked ? " (ticked)" : ""));
        const std::vector<std::string> items = MenuTexts(::GetSubMenu(menu, i));
        texts.insert(texts.end(), items.begin(), items.end());
    }
    return texts;
}

bool Ticked(HMENU menu, UINT command) { return ::GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED; }

// Counts the visible message boxes of a thread (the count and whether to
// answer them with OK come in `data`).
BOOL CALLBACK CountBox(HWND window, LPARAM data)
{
    auto& [count, close] = *reinterpret_cast<std::pair<int, bool>*>(data);
    char name[16] = "";
    ::GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770" || !::IsWindowVisible(window)) return TRUE;
    ++count;
    if (close) ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

int MessageBoxes(bool close = false, DWORD thread = ::GetCurrentThreadId())
{
    std::pair<int, bool> found{0, close};
    ::EnumThreadWindows(thread, CountBox, reinterpret_cast<LPARAM>(&found));
    return found.first;
}

class MainWindowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        window.reset();
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
    Rect Client() const
    {
        RECT client{};
        ::GetClientRect(window->Handle(), &client);
        return {0, 0, client.right, client.bottom};
    }
    // The part of the window that waits to be repainted; empty for none.
    Rect ToRepaint() const
    {
        RECT part{};
        if (!::GetUpdateRect(window->Handle(), &part, FALSE)) return {};
        return {part.left, part.top, part.right - part.left, part.bottom - part.top};
    }
    void Command(UINT id) { ::SendMessageA(window->Handle(), WM_COMMAND, id, 0); }

    test::TempDir dir;
    FakeNotificationArea tray;
    test::RecordingDisplay display;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, TheWindowHasItsCaptionPlaceAndClientArea)
{
    // A tiny display leaves the menu bar its width, on one line.
    const std::pair<const char*, Rect> cases[] = {{"", {0, 0, 257, 149}},
                                                  {"[LCD]\nXPixels=240\nYPixels=128\n", {0, 0, 481, 277}},
                                                  {"[LCD]\nXPixels=1\nYPixels=1\n", {0, 0, 0, 23}}};
    for (const auto& [settings, client] : cases) {
        MainWindow& shown = Open(settings);
        RECT place{}, first{}, last{};
        ::GetWindowRect(shown.Handle(), &place);
        ::GetMenuItemRect(shown.Handle(), shown.Menus().Bar(), 0, &first);
        ::GetMenuItemRect(shown.Handle(), shown.Menus().Bar(), 2, &last);
        EXPECT_EQ(Client().Height, client.Height) << settings;
        EXPECT_GE(Client().Width, std::max<LONG>(client.Width, last.right - first.left)) << settings;
        EXPECT_EQ(last.top, first.top) << settings;
        EXPECT_EQ(shown.Layout().StatusLine.Height, 19);
        EXPECT_EQ(place.left, 268);
        EXPECT_EQ(place.top, 120);
        char caption[64] = "";
        ::GetWindowTextA(shown.Handle(), caption, sizeof caption);
        EXPECT_STREQ(caption, "Dotvane v. 0.3.2 pre13 NT");
    }
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
    // A key pressed with or without Ctrl, as this thread's keyboard state says.
    const auto key = [&](WPARAM code, bool control) {
        BYTE keys[256]{};
        keys[VK_CONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(keys);
        MSG press{shown.Handle(), WM_KEYDOWN, code, 1, 0, {}};
        shown.Dispatch(press);
    };
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
        {[&] { Command(kPopupPause); }, "Previous - Screen: 0", 0, false, true},
        {[&] { Command(kEnabledOnly); }, "Previous - Screen: 0", 0, false, false},
        {[&] { Command(kPopupNext); }, "Next - Screen: 1", 1, false, false},
        {[&] { Command(kPopupPrevious); }, "Previous - Screen: 0", 0, false, false},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        EXPECT_EQ(shown.StatusText(), steps[i].status) << "step " << i;
        EXPECT_EQ(shown.Logic().State().CurrentScreen, steps[i].screen) << "step " << i;
        EXPECT_EQ(Ticked(shown.Menus().Bar(), kPause), steps[i].pause) << "step " << i;
        EXPECT_EQ(Ticked(shown.Menus().Popup(), kPopupPause), steps[i].pause) << "step " << i;
        EXPECT_EQ(Ticked(shown.Menus().Bar(), kEnabledOnly), steps[i].enabledOnly) << "step " << i;
    }
    // Ctrl+R reads the files again.
    dir.Write("screens/default.ini", "[Screen0]\nLine0=reloaded\n");
    key('R', true);
    EXPECT_EQ(shown.Logic().State().ScreenTable[0].Line[0], "reloaded");
    key('R', false);
}

TEST_F(MainWindowTest, TheTimersRunTheLogicsHandlersAndTheWaitsPumpKeepsTheQuit)
{
    MainWindow& shown = Open();
    TDotvane& logic = shown.Logic();
    logic.UpdateTimer1().SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return !logic.Render().PresentedPicture().IsNull(); }));
    logic.changescreen_Timer1().SetInterval(30);
    EXPECT_TRUE(PumpUntil([&] { return logic.State().CurrentScreen == 1; }));
    // A network wait handles what waits, and leaves a quit for the loop.
    ::PostMessageA(shown.Handle(), WM_COMMAND, kPrevious, 0);
    ::PostQuitMessage(3);
    shown.ProcessMessages();
    EXPECT_EQ(logic.State().CurrentScreen, 0);
    MSG quit{};
    ASSERT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
}

TEST_F(MainWindowTest, TheSameTextNeverOpensASecondBox)
{
    MainWindow& shown = Open();
    std::vector<int> open;
    // Inside the box a timer asks for the same text again, then another
    // text; on its next tick it answers every box.
    const std::unique_ptr<Timer> timer = shown.CreateTimer(50);
    timer->SetHandler([&] {
        if (!open.empty()) return open.push_back(MessageBoxes(true));
        shown.ShowMessage("same text");
        open.push_back(MessageBoxes());
        shown.ShowError("other text");
    });
    shown.ShowMessage("same text");
    timer->SetEnabled(false);
    ASSERT_GE(open.size(), 2u);
    EXPECT_EQ(open[0], 1);
    EXPECT_EQ(open[1], 2);
    EXPECT_EQ(MessageBoxes(), 0);
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
    // A picture of another size (after a reload) repaints the whole area.
    ::UpdateWindow(shown.Handle());
    logic.Render().VlcdBitmap.image = RgbImage(100, 50);
    logic.Render().PresentVirtualDisplay();
    EXPECT_EQ(ToRepaint(), (Rect{0, 0, 257, 130}));
    // A new status text repaints the status line alone; the same one nothing.
    for (const Rect& expected : {Rect{0, 130, 257, 19}, Rect{}}) {
        ::UpdateWindow(shown.Handle());
        shown.SetStatusText("Caf\xE9");
        EXPECT_EQ(ToRepaint(), expected);
    }
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
        MainWindow& shown = Open();
        display.calls.clear();
        tray.removals = 0;
        bool quit = false;
        close(shown.Handle());
        close(shown.Handle());
        EXPECT_TRUE(PumpUntil([&] { return quit; }, &quit)) << name;
        EXPECT_FALSE(::IsWindow(shown.Handle())) << name;
        EXPECT_EQ(display.Count("Blank"), 1) << name;
        EXPECT_FALSE(shown.Logic().UpdateTimer1().Enabled()) << name;
        EXPECT_EQ(tray.removals, 1) << name;
    }
    // A session's end that was called off changes nothing.
    MainWindow& shown = Open();
    display.calls.clear();
    ::SendMessageA(shown.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(::IsWindow(shown.Handle()));
    EXPECT_EQ(display.Count("Blank"), 0);
}

TEST_F(MainWindowTest, ClosingWhileAStartUpBoxIsOpenEndsTheProgramOnceItIsMade)
{
    dir.Write("folder/x", "");
    const DWORD thread = ::GetCurrentThreadId();
    for (const UINT message : {UINT{WM_CLOSE}, UINT{WM_ENDSESSION}}) {
        // The box (the screen file is a folder) is open while the window is
        // still hidden and its logic not made yet.
        bool asked = false;
        std::thread asker([&] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (MessageBoxes(false, thread) == 0 && std::chrono::steady_clock::now() < deadline) ::Sleep(10);
            const HWND hidden = ::FindWindowA("DotvaneWindow", nullptr);
            asked = hidden != nullptr && ::PostMessageA(hidden, message, TRUE, 0);
        });
        MainWindow& shown = Open("[Screens]\nScreenFile=folder\n");
        asker.join();
        ASSERT_TRUE(asked) << message;
        EXPECT_FALSE(::IsWindowVisible(shown.Handle())) << message;
        bool quit = false;
        EXPECT_TRUE(PumpUntil([&] { return quit; }, &quit)) << message;
        EXPECT_FALSE(::IsWindow(shown.Handle())) << message;
        EXPECT_EQ(display.Count("Blank"), 1) << message;
        EXPECT_EQ(MessageBoxes(), 0) << message;
        window.reset();
        display.calls.clear();
    }
}

TEST_F(MainWindowTest, ThePopUpMenusExitShowsItsHintOnTheStatusLine)
{
    MainWindow& shown = Open();
    shown.SetStatusText("Checking Pop3 account");
    const std::pair<WPARAM, const char*> selections[] = {
        {MAKEWPARAM(kPopupExit, MF_MOUSESELECT), "Exit Dotvane"},
        {MAKEWPARAM(kPopupNext, MF_MOUSESELECT), ""},
        {MAKEWPARAM(kPopupExit, MF_HILITE), "Exit Dotvane"},
        {MAKEWPARAM(0, 0xFFFF), ""},
    };
    for (const auto& [selection, hint] : selections) {
        ::SendMessageA(shown.Handle(), WM_MENUSELECT, selection, reinterpret_cast<LPARAM>(shown.Menus().Popup()));
        EXPECT_EQ(shown.Status().Hint(), hint);
        EXPECT_EQ(shown.StatusText(), "Checking Pop3 account");
    }
}

TEST_F(MainWindowTest, MinimisingHidesIntoTheTrayOrOnlyMinimisesWithoutOne)
{
    for (const bool available : {true, false}) {
        tray.available = available;
        MainWindow& shown = Open();
        EXPECT_EQ(shown.HasTrayIcon(), available);
        // Minimised by the system, and by the pop-up menu's Minimize; back by
        // a double click on the icon, or by restoring the window.
        for (const bool bySystem : {true, false}) {
            if (bySystem)
                ::ShowWindow(shown.Handle(), SW_MINIMIZE);
            else
                Command(kPopupMinimize);
            EXPECT_FALSE(shown.Logic().State().WindowShown);
            EXPECT_EQ(::IsWindowVisible(shown.Handle()) == FALSE, available);
            EXPECT_TRUE(available || ::IsIconic(shown.Handle()));
            if (available)
                ::SendMessageA(shown.Handle(), MainWindow::kTrayMessage, 1, WM_LBUTTONDBLCLK);
            else
                ::ShowWindow(shown.Handle(), SW_RESTORE);
            EXPECT_TRUE(shown.Logic().State().WindowShown);
            EXPECT_TRUE(::IsWindowVisible(shown.Handle()) && !::IsIconic(shown.Handle()));
        }
    }
    // Explorer started again: the icon is added anew; where that fails, a
    // hidden window comes back.
    tray.available = true;
    MainWindow& shown = Open();
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    tray.adds = 0;
    ::SendMessageA(shown.Handle(), taskbarCreated, 0, 0);
    EXPECT_EQ(tray.adds, 1);
    Command(kPopupMinimize);
    tray.available = false;
    ::SendMessageA(shown.Handle(), taskbarCreated, 0, 0);
    EXPECT_FALSE(shown.HasTrayIcon());
    EXPECT_TRUE(::IsWindowVisible(shown.Handle()) && shown.Logic().State().WindowShown);
}

}  // namespace
}  // namespace dotvane
