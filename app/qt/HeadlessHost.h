#pragma once

#include "app/NoticeLog.h"
#include "app/TDotvane.h"
#include "app/WindowHost.h"

#include <memory>
#include <string>

namespace dotvane {

class Display;

// The host of the program without a window: no window, tray icon or
// virtual display, and no display server needed. It hosts TDotvane as the
// Qt window does; its timers run on the Qt event loop, its messages and
// status-line texts go to the notice log, and closing it runs FormClose and
// ends the event loop. The window's size, showing and hiding and the menu
// ticks have nothing to act on.
class HeadlessHost : public WindowHost {
public:
    // Starts the program in `programFolder` (with a trailing separator),
    // writing its notices to `log`.
    HeadlessHost(NoticeLog& log, std::string programFolder);
    // The same, drawing on `display` instead of the one LCD/Type selects.
    HeadlessHost(NoticeLog& log, std::string programFolder, Display& display);
    ~HeadlessHost() override;

    TDotvane& Logic() { return *logic_; }

    // WindowHost
    void ShowMessage(const std::string& text) override { log_.ShowMessage(text); }
    void ShowError(const std::string& text) override { log_.ShowError(text); }
    void SetStatusText(const std::string& text) override { log_.SetStatusText(text); }
    std::string StatusText() const override { return log_.StatusText(); }
    void AppendStatus(const std::string& text) override { log_.AppendStatus(text); }
    // No menu offers the web pages.
    void OpenUrl(const std::string&) override {}
    void ProcessMessages() override;
    std::unique_ptr<Timer> CreateTimer(int32_t interval) override;
    bool HasWindow() const override { return false; }
    void SetDisplaySize(int32_t, int32_t) override {}
    void ShowWindow() override {}
    void HideWindow() override {}
    // Runs FormClose, the first time only, and ends the event loop.
    void CloseWindow() override;
    void SetPauseTick(bool) override {}
    void SetEnabledOnlyTick(bool) override {}

private:
    NoticeLog& log_;
    bool closed_ = false;
    std::unique_ptr<TDotvane> logic_;
};

}  // namespace dotvane
