#include "app/TDotvane.h"

#include "app/ScreenFile.h"
#include "app/ScreenState.h"
#include "app/Settings.h"
#include "app/WebPages.h"
#include "lcd/DisplayDriver.h"
#include "render/RefreshCycle.h"
#include "render/VirtualDisplay.h"

#include <exception>

namespace dotvane {

TDotvane::TDotvane(WindowHost& host, std::string programFolder)
    : host_(host), programFolder_(std::move(programFolder))
{
    updateTimer_ = MakeTimer(1000, &TDotvane::UpdateTimer1Timer, updateBusy_);
    changeScreenTimer_ = MakeTimer(5000, &TDotvane::changescreen_Timer1Timer, changeScreenBusy_);
    pop3Timer_ = host_.CreateTimer(600000);
    setiTimer_ = host_.CreateTimer(60000);
    externalIpTimer_ = host_.CreateTimer(600000);
    host_.SetPauseTick(false);
    host_.SetEnabledOnlyTick(enabledOnly_);

    LoadSettings(programFolder_, *pop3Timer_);
    host_.SetClientSize(MainSettings.LCD.XPixels * 2 + 1, MainSettings.LCD.YPixels * 2 + 21);
    setiTimer_->SetInterval(MainSettings.SetiAtHome.Interval);
    // The first external address lookup comes ten seconds after start.
    externalIpTimer_->SetInterval(10000);
    DisplayDriver::Open();
}

TDotvane::~TDotvane() = default;

std::unique_ptr<Timer> TDotvane::MakeTimer(int32_t interval, void (TDotvane::*handler)(), bool& busy)
{
    std::unique_ptr<Timer> timer = host_.CreateTimer(interval);
    timer->SetHandler([this, handler, &busy] {
        if (busy) return;
        busy = true;
        Command([this, handler] { (this->*handler)(); });
        busy = false;
    });
    return timer;
}

void TDotvane::Command(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        host_.ShowMessage(error.what());
    }
}

void TDotvane::UpdateTimer1Timer() { RefreshScreen(); }

void TDotvane::Reload1Click()
{
    Command([this] {
        LoadSettings(programFolder_, *pop3Timer_);
        if (CurrentScreen != PreviousScreen) {
            DisplayDriver::Clear();
            ForgetShownText();
        }
    });
}

void TDotvane::Exit2Click() { host_.CloseWindow(); }

void TDotvane::PopUpMenu1_ExitClick() { host_.CloseWindow(); }

void TDotvane::Helpweb1Click()
{
    Command([this] { host_.OpenUrl(kHelpPage); });
}

void TDotvane::Website1Click()
{
    Command([this] { host_.OpenUrl(kHomePage); });
}

void TDotvane::PopUpMenu1_ShowClick()
{
    host_.ShowWindow();
    WindowShown = true;
}

void TDotvane::HideWindow()
{
    host_.HideWindow();
    WindowShown = false;
}

void TDotvane::PopUpMenu1_MinimizeClick() { HideWindow(); }

void TDotvane::TrayIconDoubleClick() { PopUpMenu1_ShowClick(); }

void TDotvane::FormClose()
{
    updateTimer_->SetEnabled(false);
    changeScreenTimer_->SetEnabled(false);
    DisplayDriver::Blank();
    FreeVirtualDisplay();
}

}  // namespace dotvane
