#pragma once

#include "app/TDotvane.h"
#include "app/WindowHost.h"
#include "app/win32/NotificationArea.h"
#include "app/win32/PictureView.h"
#include "app/win32/StatusLine.h"
#include "app/win32/TimerTable.h"
#include "platform/win32/Win32Api.h"
#include "app/win32/WindowLayout.h"
#include "app/win32/WindowMenus.h"

#include <memory>
#include <set>
#include <string>

namespace dotvane {

class Display;

// The Windows window: menu bar with its shortcuts, tray icon and its pop-up
// menu, the virtual display at twice its size and the status line. It hosts
// TDotvane, which holds the program's logic, and hands each message to one
// handler. Program text goes to the ANSI calls as it is.
class MainWindow : public WindowHost {
public:
    // The message the tray icon's mouse events arrive as.
    static constexpr UINT kTrayMessage = WM_APP + 1;

    // Makes the window (hidden until Show) and starts the program in
    // `programFolder` (with a trailing separator). The icon comes from the
    // resources of `instance`; `tray` is the notification area.
    MainWindow(HINSTANCE instance, std::string programFolder, NotificationArea& tray);
    // The same, drawing on `display` instead of the one LCD/Type selects.
    MainWindow(HINSTANCE instance, std::string programFolder, NotificationArea& tray, Display& display);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }
    TDotvane& Logic() { return *logic_; }
    const WindowMenus& Menus() const { return menus_; }
    const WindowLayout& Layout() const { return layout_; }
    const StatusLine& Status() const { return status_; }
    bool HasTrayIcon() const { return trayShown_; }

    // Shows the window as the program starts.
    void Show();
    // Runs the message loop until the window is gone; gives the exit status.
    int Run();
    // Hands one message of the queue on: the window's shortcuts first.
    void Dispatch(MSG& message);

    // WindowHost
    void ShowMessage(const std::string& text) override { ShowBox(text, false); }
    void ShowError(const std::string& text) override { ShowBox(text, true); }
    void SetStatusText(const std::string& text) override;
    std::string StatusText() const override { return status_.Text(); }
    void OpenUrl(const std::string& address) override;
    // Handles the messages that wait, then returns. A WM_QUIT it takes is
    // posted again, so that the message loop still ends.
    void ProcessMessages() override;
    std::unique_ptr<Timer> CreateTimer(int32_t interval) override;
    bool HasWindow() const override { return true; }
    void SetDisplaySize(int32_t width, int32_t height) override;
    void ShowWindow() override;
    void HideWindow() override;
    void CloseWindow() override;
    void SetPauseTick(bool ticked) override { menus_.SetPauseTick(ticked); }
    void SetEnabledOnlyTick(bool ticked) override { menus_.SetEnabledOnlyTick(ticked); }

private:
    MainWindow(HINSTANCE instance, std::string programFolder, NotificationArea& tray, Display* display);

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnCommand(UINT command);
    void OnTimer(UINT_PTR id);
    void OnTray(UINT mouseMessage);
    void OnSize(WPARAM kind);
    void OnClose();
    void OnEndSession(bool ending);
    void OnTaskbarCreated();
    void OnMenuSelect(UINT item, UINT flags);

    // Runs FormClose the first time only and takes the tray icon away.
    void Shut();
    // A request to close while the logic is still being made (from inside
    // a start-up message box) closes the boxes and is carried out once the
    // logic exists.
    void CloseDuringStart();
    void ShowBox(const std::string& text, bool error);
    void ShowTrayMenu();
    // Sizes the window so that its client area has the layout's size,
    // however high the menu bar turns out.
    void FitClient();
    int32_t MenuBarWidth() const;

    const HINSTANCE instance_;
    NotificationArea& tray_;
    WindowMenus menus_;
    StatusLine status_;
    PictureView view_;
    WindowLayout layout_;
    const UINT taskbarCreated_;
    bool trayShown_ = false;
    bool minimized_ = false;
    bool closed_ = false;
    bool closeDuringStart_ = false;
    // Texts of the message boxes open right now; the same text never opens
    // a second box on top of the first.
    std::set<std::string> openMessages_;
    const HWND window_;
    TimerTable timers_{window_};
    std::unique_ptr<TDotvane> logic_;
};

}  // namespace dotvane
