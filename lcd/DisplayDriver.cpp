#include "lcd/DisplayDriver.h"

#include "app/ScreenFile.h"
#include "app/ScreenState.h"
#include "app/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/PortDriver.h"
#include "lcd/T6963CDriver.h"

#include <algorithm>

namespace dotvane::DisplayDriver {
namespace {

Sink* redirected = nullptr;

constexpr int32_t kT6963C = 0;
constexpr int32_t kKS0108 = 1;

int32_t LcdType() { return MainSettings.LCD.Type; }

// Whether the screen about to be shown lays a bitmap under its text, which
// lives in the T6963C's graphic layer and must survive a Clear.
bool CurrentScreenHasBitmap()
{
    if (CurrentScreen < 0 || CurrentScreen >= static_cast<int>(ScreenTable.size())) return false;
    return !ScreenTable[static_cast<size_t>(CurrentScreen)].Bitmap.empty();
}

}  // namespace

void Redirect(Sink* sink) { redirected = sink; }

void Open()
{
    if (redirected) return redirected->Open();
    switch (LcdType()) {
    case kT6963C:
        T6963CDriver.SetGeometry();
        OpenPortDriver();
        T6963CDriver.InitController();
        T6963CDriver.ClearText();
        T6963CDriver.ClearGraphics();
        break;
    case kKS0108:
        KS0108Driver.DataPort = 888;
        KS0108Driver.ControlPort = 890;
        KS0108Driver.Delay = std::clamp(MainSettings.KS0108.Delay, 0, TKS0108Driver::kMaxDelay);
        OpenPortDriver();
        KS0108Driver.InitController();
        KS0108Driver.Clear();
        break;
    default:
        break;
    }
}

void Blank()
{
    if (redirected) return redirected->Blank();
    switch (LcdType()) {
    case kT6963C:
        T6963CDriver.ClearText();
        T6963CDriver.ClearGraphics();
        break;
    case kKS0108:
        KS0108Driver.Clear();
        break;
    default:
        break;
    }
}

void Clear()
{
    if (redirected) return redirected->Clear();
    switch (LcdType()) {
    case kT6963C:
        if (!CurrentScreenHasBitmap()) T6963CDriver.ClearGraphics();
        T6963CDriver.ClearText();
        break;
    case kKS0108:
        KS0108Driver.Clear();
        break;
    default:
        break;
    }
}

void SetTextPosition(int32_t column, int32_t row)
{
    if (redirected) return redirected->SetTextPosition(column, row);
    switch (LcdType()) {
    case kT6963C:
        T6963CDriver.SetTextPosition(column, row);
        break;
    case kKS0108:
        KS0108Driver.SetTextPosition(column, row);
        break;
    default:
        break;
    }
}

void WriteText(std::string_view text)
{
    if (redirected) return redirected->WriteText(text);
    switch (LcdType()) {
    case kT6963C:
        T6963CDriver.WriteText(text);
        break;
    case kKS0108:
        KS0108Driver.WriteText(text);
        break;
    default:
        break;
    }
}

void SetPixel(int32_t x, int32_t y)
{
    if (redirected) return redirected->SetPixel(x, y);
    if (LcdType() == kT6963C) T6963CDriver.SetPixel(x, y);
}

void ResetPixel(int32_t x, int32_t y)
{
    if (redirected) return redirected->ResetPixel(x, y);
    if (LcdType() == kT6963C) T6963CDriver.ResetPixel(x, y);
}

}  // namespace dotvane::DisplayDriver
