#pragma once

#include "app/DisplayUntilClosed.h"
#include "app/DotvaneState.h"
#include "app/LcdPortWatch.h"
#include "app/NoticeFilter.h"
#include "app/WindowHost.h"
#include "base/ReentrancyGuard.h"
#include "base/Timer.h"
#include "lcd/Display.h"
#include "lcd/TDLPortIO.h"
#include "render/Renderer.h"
#include "vars/ExpandLine.h"
#include "vars/LiveValues.h"
#include "vars/PerfCounterSource.h"
#include "vars/net/CheckMail.h"
#include "vars/net/ExternalIPLookup.h"
#include "vars/net/HttpClient.h"
#include "vars/net/Pop3Client.h"

#include <functional>
#include <memory>
#include <string>

namespace dotvane {

// The main window's logic: the start-up sequence, the menu and tray commands,
// the timers and their handlers, the screen rotation and the shutdown. It
// owns the program's state and every part that works on it, and lends them
// what they need by reference. The window it runs in is reached only through
// its WindowHost.
class TDotvane {
public:
    // Runs the start-up sequence; `programFolder` (with a trailing
    // separator) holds DOTVANE.INI and the screen file. The display is the
    // one LCD/Type selects, on the printer port.
    TDotvane(WindowHost& host, std::string programFolder);
    // The same, drawing on `display` instead (tests record what it gets).
    TDotvane(WindowHost& host, std::string programFolder, Display& display);
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
    // The session of the system ends, and the program with it, perhaps
    // before the window is destroyed: unloads the port library and removes
    // a driver service that the program installed, as destroying the window
    // does.
    void ReleasePort();

    // Makes screen `index` (already CurrentScreen) the shown one.
    void ShowScreen(int index, bool force);

    // The timers' handlers.
    void UpdateTimer1Timer();
    void changescreen_Timer1Timer();
    void POP3_Timer1Timer();
    void SetiTimer1Timer();
    void ExternalIP_Timer1Timer();

    Timer& UpdateTimer1() { return *updateTimer_; }
    Timer& changescreen_Timer1() { return *changeScreenTimer_; }
    Timer& POP3_Timer1() { return *pop3Timer_; }
    Timer& SetiTimer1() { return *setiTimer_; }
    Timer& ExternalIP_Timer1() { return *externalIpTimer_; }
    bool PauseTicked() const { return !changeScreenTimer_->Enabled(); }
    bool EnabledOnlyTicked() const { return enabledOnly_; }

    DotvaneState& State() { return state_; }
    LiveValues& Values() { return values_; }
    Renderer& Render() { return renderer_; }

private:
    TDotvane(WindowHost& host, std::string programFolder, Display* display);

    // Reads the settings files into the state; the mail timer takes the new
    // Pop3/Update, the mail counts go back to 0 and no screen is skipped. A
    // file that is no regular file or too large is told in a message box,
    // once per load, and reads as an empty one.
    void LoadSettings();
    // Whether the current screen lays a bitmap under its text.
    bool CurrentScreenHasBitmap() const;
    // Sends the current screen's bitmap, if it has one, to the display.
    void ShowCurrentBitmap();
    // Tells once when the display's port device stops answering and once
    // when it answers again; the display is then set up and drawn anew.
    void WatchDisplayPort();

    // Runs a command; an error that escapes it is shown with its text and
    // the program goes on.
    void Command(const std::function<void()>& command);
    // Binds a timer to its handler. A tick that arrives while the same
    // handler still runs (inside a message box it opened, or a network wait)
    // is dropped, so no handler is ever re-entered.
    std::unique_ptr<Timer> MakeTimer(int32_t interval, void (TDotvane::*handler)(), ReentrancyGuard& guard);

    WindowHost& host_;
    // What the logic tells, cut and held back by the flood rule on its way
    // to the host; every part below that tells anything gets this.
    NoticeFilter notices_{host_, host_.HasWindow()};
    const std::string programFolder_;
    bool enabledOnly_ = true;
    // Set by FormClose: no timer handler runs any more.
    bool closed_ = false;
    ReentrancyGuard updateRunning_, changeScreenRunning_, pop3Running_, setiRunning_, externalIpRunning_;
    DotvaneState state_;
    LiveValues values_;
    // The NT build's counter source; none in the plain build.
    const std::unique_ptr<PerfCounterSource> PerfCounters;
    SensorRefresh sensors_{values_.SensorMirror};
    const VariableContext variables_;
    // The printer-port component the display drivers talk through; closing
    // it with the window unloads the port driver.
    TDLPortIO DLPortIO1;
    // The display LCD/Type selects, unless one was given.
    const std::unique_ptr<Display> selectedDisplay_;
    // The display, closed for good once FormClose has blanked it.
    DisplayUntilClosed display_;
    LcdPortWatch portWatch_;
    Renderer renderer_;
    // The mail and web clients; their network waits pump the window's events.
    TPop3Client Pop3Client{host_};
    THttpClient HttpClient{host_};
    MailCheck mailCheck_;
    ExternalIPLookup externalIpLookup_;
    std::unique_ptr<Timer> updateTimer_;
    std::unique_ptr<Timer> changeScreenTimer_;
    std::unique_ptr<Timer> pop3Timer_;
    std::unique_ptr<Timer> setiTimer_;
    std::unique_ptr<Timer> externalIpTimer_;
};

}  // namespace dotvane
