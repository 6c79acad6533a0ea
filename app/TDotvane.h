#pragma once

#include "base/Timer.h"
#include "app/WindowHost.h"
#include "lcd/TDLPortIO.h"

#include <functional>
#include <memory>
#include <string>

namespace dotvane {

// The main window's logic: the start-up sequence, the menu and tray commands,
// the timers and their handlers, the screen rotation and the shutdown. The
// window it runs in is reached only through its WindowHost.
class TDotvane {
public:
    // Runs the start-up sequence; `programFolder` (with a trailing
    // separator) holds DOTVANE.INI and the screen file.
    TDotvane(WindowHost& host, std::string programFolder);
    ~TDotvane();
    TDotvane(const TDotvane&) = delete;
    TDotvane& operator=(const TDotvane&) = delete;

    // File menu.
    void Reload1Click();
    void Exit2Click();
    // Screen menu; the pop-up items Next, Previous and Pause do the same.
    void Next1Click();
    void Previous1Click();
    void Pause1Click();
    void Enabledonly1Click();
    // Help menu.
    void Helpweb1Click();
    void Website1Click();
    // Pop-up menu of the tray icon.
    void PopUpMenu1_ShowClick();
    void PopUpMenu1_MinimizeClick();
    void PopUpMenu1_ExitClick();
    // The application was minimised.
    void HideWindow();
    // The tray icon was double-clicked.
    void TrayIconDoubleClick();
    // The window is closing.
    void FormClose();

    // Makes screen `index` (already CurrentScreen) the shown one.
    void ShowScreen(int index, bool force);

    Timer& UpdateTimer1() { return *updateTimer_; }
    Timer& changescreen_Timer1() { return *changeScreenTimer_; }
    Timer& POP3_Timer1() { return *pop3Timer_; }
    Timer& SetiTimer1() { return *setiTimer_; }
    Timer& ExternalIP_Timer1() { return *externalIpTimer_; }
    bool PauseTicked() const { return !changeScreenTimer_->Enabled(); }
    bool EnabledOnlyTicked() const { return enabledOnly_; }

private:
    // Sends the current screen's bitmap, if it has one, to the display.
    void ShowCurrentBitmap();
    void UpdateTimer1Timer();
    void changescreen_Timer1Timer();
    void POP3_Timer1Timer();
    void SetiTimer1Timer();
    void ExternalIP_Timer1Timer();

    // Runs a command; an error that escapes it is shown with its text and
    // the program goes on.
    void Command(const std::function<void()>& command);
    // Binds a timer to its handler. A tick that arrives while the same
    // handler still runs (inside a message box it opened, or a network wait)
    // is dropped, so no handler is ever re-entered.
    std::unique_ptr<Timer> MakeTimer(int32_t interval, void (TDotvane::*handler)(), bool& busy);

    WindowHost& host_;
    const std::string programFolder_;
    bool enabledOnly_ = true;
    bool updateBusy_ = false, changeScreenBusy_ = false, pop3Busy_ = false, setiBusy_ = false,
         externalIpBusy_ = false;
    // The printer-port component the display drivers talk through; closing
    // it with the window unloads the port driver.
    TDLPortIO DLPortIO1;
    std::unique_ptr<Timer> updateTimer_;
    std::unique_ptr<Timer> changeScreenTimer_;
    std::unique_ptr<Timer> pop3Timer_;
    std::unique_ptr<Timer> setiTimer_;
    std::unique_ptr<Timer> externalIpTimer_;
};

}  // namespace dotvane
