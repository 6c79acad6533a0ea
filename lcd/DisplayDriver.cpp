#include "lcd/DisplayDriver.h"

namespace dotvane::DisplayDriver {
namespace {
Sink* redirected = nullptr;
}

void Redirect(Sink* sink) { redirected = sink; }

// The controller drivers are not built yet: every type acts as a type
// without a hardware display.

void Open()
{
    if (redirected) redirected->Open();
}

void Blank()
{
    if (redirected) redirected->Blank();
}

void Clear()
{
    if (redirected) redirected->Clear();
}

void SetTextPosition(int32_t column, int32_t row)
{
    if (redirected) redirected->SetTextPosition(column, row);
}

void WriteText(std::string_view text)
{
    if (redirected) redirected->WriteText(text);
}

void SetPixel(int32_t x, int32_t y)
{
    if (redirected) redirected->SetPixel(x, y);
}

void ResetPixel(int32_t x, int32_t y)
{
    if (redirected) redirected->ResetPixel(x, y);
}

}  // namespace dotvane::DisplayDriver
