#include "app/TDotvane.h"

#include "app/ScreenFile.h"
#include "app/ScreenState.h"
#include "app/Settings.h"
#include "app/WebPages.h"
#include "lcd/DisplayDriver.h"
#include "lcd/PortDriver.h"
#include "platform/NamedSections.h"
#include "platform/RefreshTick.h"
#include "render/Icons.h"
#include "render/RefreshCycle.h"
#include "render/ScreenBitmap.h"
#include "render/VirtualDisplay.h"
#include "vars/PerfCounterSource.h"
#include "vars/SensorMirror.h"
#include "vars/SetiStats.h"
#include "vars/net/CheckMail.h"
#include "vars/net/ExternalIPLookup.h"
#include "vars/net/HttpClient.h"
#include "vars/net/Pop3Client.h"

#include <exception>

namespace dotvane {

TDotvane::TDotvane(WindowHost& host, std::string programFolder)
    : host_(host), programFolder_(std::move(programFolder))
{
    updateTimer_ = MakeTimer(1000, &TDotvane::UpdateTimer1Timer, updateBusy_);
    changeScreenTimer_ = MakeTimer(5000, &TDotvane::changescreen_Timer1Timer, changeScreenBusy_);
    pop3Timer_ = MakeTimer(600000, &TDotvane::POP3_Timer1Timer, pop3Busy_);
    setiTimer_ = MakeTimer(60000, &TDotvane::SetiTimer1Timer, setiBusy_);
    externalIpTimer_ = MakeTimer(600000, &TDotvane::ExternalIP_Timer1Timer, externalIpBusy_);
    InstallPortIO(&DLPortIO1);
    host_.SetPauseTick(false);
    host_.SetEnabledOnlyTick(enabledOnly_);

    // A settings file that cannot be used is told and the program starts
    // with what was read, as on Reload.
    Command([this] { LoadSettings(programFolder_, *pop3Timer_); });
    host_.SetClientSize(VirtualDisplayWidth() * 2 + 1, VirtualDisplayHeight() * 2 + 21);
    setiTimer_->SetInterval(MainSettings.SetiAtHome.Interval);
    externalIpTimer_->SetInterval(kFirstLookupDelay);
    StartPerfCounters(programFolder_);
    DisplayDriver::Open();
    ShowCurrentBitmap();
    DrawIcons();
}

void TDotvane::ShowCurrentBitmap()
{
    const std::string& bitmap = ScreenTable[CurrentScreen].Bitmap;
    if (!bitmap.empty()) ShowScreenBitmap(bitmap);
}

TDotvane::~TDotvane() { InstallPortIO(nullptr); }

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

void TDotvane::UpdateTimer1Timer()
{
    const platform::RefreshTick tick;
    RefreshSensors();
    CollectPerfCounters();
    RefreshScreen();
}

void TDotvane::POP3_Timer1Timer() { CheckMail(); }

void TDotvane::SetiTimer1Timer() { SetiTimerTick(); }

void TDotvane::ExternalIP_Timer1Timer() { ExternalIPTimerTick(*externalIpTimer_); }

void TDotvane::Reload1Click()
{
    Command([this] {
        platform::CurrentNamedSections().RediscoverSensors();
        LoadSettings(programFolder_, *pop3Timer_);
        if (CurrentScreen != PreviousScreen) {
            DisplayDriver::Clear();
            ForgetShownText();
        }
        ShowCurrentBitmap();
        DrawIcons();
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
    // A mail check or lookup waiting on the network gives up at once.
    HttpClient.Cancel();
    Command([] { Pop3Client.Disconnect(); });
    StopPerfCounters();
    DisplayDriver::Blank();
    FreeVirtualDisplay();
}

}  // namespace dotvane
