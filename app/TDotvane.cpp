#include "app/TDotvane.h"

#include "app/Edition.h"
#include "app/WebPages.h"
#include "config/SettingsFiles.h"
#include "lcd/DisplayFactory.h"
#include "platform/NamedSections.h"
#include "platform/RefreshTick.h"
#include "render/VirtualDisplayBuffer.h"
#include "vars/SensorMirror.h"
#include "vars/SetiStats.h"

#include <exception>

namespace dotvane {

TDotvane::TDotvane(WindowHost& host, std::string programFolder) : TDotvane(host, std::move(programFolder), nullptr) {}

TDotvane::TDotvane(WindowHost& host, std::string programFolder, Display& display)
    : TDotvane(host, std::move(programFolder), &display)
{
}

TDotvane::TDotvane(WindowHost& host, std::string programFolder, Display* display)
    : host_(host),
      programFolder_(std::move(programFolder)),
      PerfCounters(CreatePerfCounterSource(notices_)),
      variables_{state_.MainSettings, values_, PerfCounters.get(), &sensors_},
      selectedDisplay_(display ? nullptr
                               : std::make_unique<SelectedDisplay>(DLPortIO1, state_.MainSettings, notices_)),
      display_(display ? *display : *selectedDisplay_),
      renderer_({state_.MainSettings, state_.ScreenTable, state_.FontTable, state_.CurrentScreen, state_.WindowShown,
                 state_.LineText, state_.ShownText},
                display_, variables_, notices_),
      mailCheck_({state_.MainSettings.Pop3.Enable, state_.MainSettings.Pop3.Host, state_.MainSettings.Pop3.UserID,
                  state_.MainSettings.Pop3.Password},
                 values_.MailCount, Pop3Client, notices_),
      externalIpLookup_({state_.MainSettings.ExternalIP.Enable, state_.MainSettings.ExternalIP.Update,
                         state_.MainSettings.ExternalIP.WebAddress, state_.MainSettings.ExternalIP.BeforeString,
                         state_.MainSettings.ExternalIP.AfterString},
                        values_.ExternalAddress, HttpClient)
{
    state_.WindowShown = host_.HasWindow();
    updateTimer_ = MakeTimer(1000, &TDotvane::UpdateTimer1Timer, updateRunning_);
    changeScreenTimer_ = MakeTimer(5000, &TDotvane::changescreen_Timer1Timer, changeScreenRunning_);
    pop3Timer_ = MakeTimer(600000, &TDotvane::POP3_Timer1Timer, pop3Running_);
    setiTimer_ = MakeTimer(60000, &TDotvane::SetiTimer1Timer, setiRunning_);
    externalIpTimer_ = MakeTimer(600000, &TDotvane::ExternalIP_Timer1Timer, externalIpRunning_);
    host_.SetPauseTick(false);
    host_.SetEnabledOnlyTick(enabledOnly_);

    // A settings file that cannot be used is told and the program starts
    // with what was read, as on Reload.
    Command([this] { LoadSettings(); });
    const TMainSettings& settings = state_.MainSettings;
    host_.SetDisplaySize(VirtualDisplayWidth(settings), VirtualDisplayHeight(settings));
    setiTimer_->SetInterval(settings.SetiAtHome.Interval);
    externalIpTimer_->SetInterval(kFirstLookupDelay);
    StartPerfCounters(PerfCounters.get(), settings, programFolder_);
    if (const auto failure = display_.Open()) {
        notices_.ShowError(failure->Message);
        // Which device was tried and why it failed, for the user to mend.
        if (!failure->DeviceProblem.empty()) notices_.SetStatusText(failure->DeviceProblem);
    }
    ShowCurrentBitmap();
    renderer_.DrawIcons();
}

TDotvane::~TDotvane() = default;

void TDotvane::LoadSettings()
{
    SettingsFiles files = ReadSettingsFiles(programFolder_);
    state_.MainSettings = std::move(files.MainSettings);
    pop3Timer_->SetInterval(state_.MainSettings.Pop3.Update);
    values_.MailCount.fill(0);
    state_.SkippedScreen = -1;
    state_.ScreenTable = std::move(files.Screens.ScreenTable);
    state_.FontTable = std::move(files.Screens.FontTable);
    for (const std::string& problem : files.Problems) notices_.ShowMessage(problem);
}

bool TDotvane::CurrentScreenHasBitmap() const
{
    const int screen = state_.CurrentScreen;
    return screen >= 0 && screen < ScreenCount && !state_.ScreenTable[static_cast<size_t>(screen)].Bitmap.empty();
}

void TDotvane::ShowCurrentBitmap()
{
    const std::string& bitmap = state_.ScreenTable[static_cast<size_t>(state_.CurrentScreen)].Bitmap;
    if (!bitmap.empty()) renderer_.ShowScreenBitmap(bitmap);
}

std::unique_ptr<Timer> TDotvane::MakeTimer(int32_t interval, void (TDotvane::*handler)(), ReentrancyGuard& guard)
{
    std::unique_ptr<Timer> timer = host_.CreateTimer(interval);
    timer->SetHandler([this, handler, &guard] {
        const auto running = guard.Enter();
        if (running && !closed_) Command([this, handler] { (this->*handler)(); });
    });
    return timer;
}

void TDotvane::Command(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        notices_.ShowMessage(error.what());
    }
}

void TDotvane::WatchDisplayPort()
{
    const std::optional<LcdPortWatch::Change> change = portWatch_.Check(display_.Health());
    if (!change) return;
    notices_.SetStatusText(change->Text);
    if (!change->Answering) return;
    // What was sent while the device failed was lost, and the module may
    // have lost its set-up with it. The port is open already, so opening
    // the display again only sets the controller up and clears it; this
    // refresh then writes every row.
    display_.Open();
    renderer_.ForgetShownText();
    ShowCurrentBitmap();
}

void TDotvane::UpdateTimer1Timer()
{
    const platform::RefreshTick tick;
    WatchDisplayPort();
    sensors_.BeginTick();
    CollectPerfCounters(PerfCounters.get(), state_.MainSettings);
    renderer_.RefreshScreen();
}

void TDotvane::POP3_Timer1Timer() { mailCheck_.CheckMail(); }

void TDotvane::SetiTimer1Timer() { SetiTimerTick(state_.MainSettings, values_.SetiStats, notices_); }

void TDotvane::ExternalIP_Timer1Timer() { externalIpLookup_.ExternalIPTimerTick(*externalIpTimer_); }

void TDotvane::Reload1Click()
{
    notices_.Forget();
    Command([this] {
        platform::NamedSectionsService::Current().RediscoverSensors();
        LoadSettings();
        if (state_.CurrentScreen != state_.PreviousScreen) {
            display_.Clear(CurrentScreenHasBitmap());
            renderer_.ForgetShownText();
        }
        ShowCurrentBitmap();
        renderer_.DrawIcons();
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
    state_.WindowShown = true;
}

void TDotvane::HideWindow()
{
    host_.HideWindow();
    state_.WindowShown = false;
}

void TDotvane::PopUpMenu1_MinimizeClick() { HideWindow(); }

void TDotvane::TrayIconDoubleClick() { PopUpMenu1_ShowClick(); }

void TDotvane::FormClose()
{
    closed_ = true;
    updateTimer_->SetEnabled(false);
    changeScreenTimer_->SetEnabled(false);
    // A mail check or lookup waiting on the network gives up at once.
    HttpClient.Cancel();
    Command([this] { Pop3Client.Disconnect(); });
    StopPerfCounters(PerfCounters.get(), state_.MainSettings);
    display_.Blank();
    display_.Close();
    renderer_.FreeVirtualDisplay();
}

void TDotvane::ReleasePort() { DLPortIO1.CloseDriver(); }

}  // namespace dotvane
