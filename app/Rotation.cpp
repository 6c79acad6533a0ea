// Screen rotation and navigation: the rotation tick, Next, Previous, Pause,
// Enabled only, and ShowScreen, through which every screen change goes.
#include "app/TDotvane.h"
#include "platform/Player.h"

namespace dotvane {

void TDotvane::ShowScreen(int index, bool force)
{
    const ScreenEntry& screen = state_.ScreenTable[static_cast<size_t>(index)];
    changeScreenTimer_->SetInterval(screen.Interval);
    updateTimer_->SetInterval(screen.Update);
    if (force || index != state_.PreviousScreen) {
        display_.Clear(CurrentScreenHasBitmap());
        renderer_.ForgetShownText();
    }
    ShowCurrentBitmap();
    renderer_.RefreshScreen();
}

void TDotvane::changescreen_Timer1Timer()
{
    const TMainSettings& settings = state_.MainSettings;
    int& CurrentScreen = state_.CurrentScreen;
    if (settings.SkipScreen.Enable)
        state_.SkippedScreen = platform::PlayerService::Current().FindWindow() ? -1 : settings.SkipScreen.NoWinamp;
    state_.PreviousScreen = CurrentScreen;

    // One pass over all screens at most: when none is eligible the current
    // screen stays.
    bool found = false;
    for (int step = 0; step < ScreenCount && !found; ++step) {
        CurrentScreen = CurrentScreen >= ScreenCount - 1 ? 0 : CurrentScreen + 1;
        found = state_.ScreenTable[static_cast<size_t>(CurrentScreen)].Enable && CurrentScreen != state_.SkippedScreen;
    }
    if (!found) CurrentScreen = state_.PreviousScreen;
    ShowScreen(CurrentScreen, false);
}

void TDotvane::Next1Click()
{
    Command([this] {
        int& CurrentScreen = state_.CurrentScreen;
        if (CurrentScreen >= ScreenCount - 1) {
            notices_.SetStatusText("No more screens");
            return;
        }
        int next = CurrentScreen + 1;
        if (enabledOnly_) {
            while (next < ScreenCount && !state_.ScreenTable[static_cast<size_t>(next)].Enable) ++next;
            if (next >= ScreenCount) {
                notices_.SetStatusText("No more screens");
                return;
            }
        }
        CurrentScreen = next;
        ShowScreen(CurrentScreen, true);
        notices_.SetStatusText("Next - Screen: " + std::to_string(CurrentScreen));
    });
}

void TDotvane::Previous1Click()
{
    Command([this] {
        int& CurrentScreen = state_.CurrentScreen;
        if (CurrentScreen <= 0) {
            notices_.SetStatusText("First screen already");
            return;
        }
        int previous = CurrentScreen - 1;
        if (enabledOnly_) {
            while (previous >= 0 && !state_.ScreenTable[static_cast<size_t>(previous)].Enable) --previous;
            if (previous < 0) {
                notices_.SetStatusText("First screen already");
                return;
            }
        }
        CurrentScreen = previous;
        ShowScreen(CurrentScreen, true);
        notices_.SetStatusText("Previous - Screen: " + std::to_string(CurrentScreen));
    });
}

void TDotvane::Pause1Click()
{
    changeScreenTimer_->SetEnabled(!changeScreenTimer_->Enabled());
    host_.SetPauseTick(!changeScreenTimer_->Enabled());
}

void TDotvane::Enabledonly1Click()
{
    enabledOnly_ = !enabledOnly_;
    host_.SetEnabledOnlyTick(enabledOnly_);
}

}  // namespace dotvane
