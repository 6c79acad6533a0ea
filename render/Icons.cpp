#include "render/Icons.h"

#include "app/Host.h"
#include "app/ScreenFile.h"
#include "app/ScreenState.h"
#include "app/Settings.h"
#include "lcd/DisplayDriver.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "platform/Player.h"
#include "render/ElementDescriptors.h"
#include "render/ElementImages.h"
#include "render/ImageFile.h"
#include "render/QtColors.h"
#include "render/QtPixelImage.h"

#include <QImage>

#include <algorithm>
#include <exception>

namespace dotvane {
namespace {

// The player window's reply to WM_USER with a data word and a command;
// 0 without a player.
int32_t AskPlayer(int32_t data, int32_t command)
{
    platform::Player& player = platform::CurrentPlayer();
    return player.FindWindow() ? player.SendQuery(data, command) : 0;
}

}  // namespace

void DrawIcons()
{
    const ScreenEntry& screen = ScreenTable[std::clamp(CurrentScreen, 0, ScreenCount - 1)];
    for (const std::string& icon : screen.Icon)
        if (!icon.empty()) DrawIconElement(icon);
}

void DrawIconElement(const std::string& descriptor)
{
    const IconDescriptor icon = ParseIconDescriptor(descriptor);
    switch (icon.kind) {
    case IconDescriptor::Kind::PlayerState:
        return DrawPlayerStateIcon(icon.x, icon.y);
    case IconDescriptor::Kind::Channel:
        return DrawChannelIcon(icon.x, icon.y);
    case IconDescriptor::Kind::File:
        return DrawIconFile(icon.x, icon.y, icon.file);
    }
}

void DrawPlayerStateIcon(int32_t x, int32_t y)
{
    switch (AskPlayer(0, 104)) {
    case 1:
        return DrawIconFile(x, y, "images\\play.bmp");
    case 3:
        return DrawIconFile(x, y, "images\\pause.bmp");
    default:
        return DrawIconFile(x, y, "images\\stop.bmp");
    }
}

void DrawChannelIcon(int32_t x, int32_t y)
{
    switch (AskPlayer(2, 126)) {
    case 2:
        return DrawIconFile(x, y, "images\\stereo9x7.bmp");
    case 1:
        return DrawIconFile(x, y, "images\\mono9x7.bmp");
    default:
        return;
    }
}

void DrawIconFile(int32_t x, int32_t y, const std::string& fileName)
{
    try {
        const QImage image = LoadImageFile(fileName);
        if (image.isNull()) return ShowMessage("Could not load or display icon " + fileName);
        const int32_t w = image.width(), h = image.height();
        const QtPixelImage pixels(image);
        if (WindowShown) DrawIntoVirtualDisplay(pixels, x, y, ToTColor(image.pixel(0, h - 1)));
        switch (MainSettings.LCD.Type) {
        case 0: {
            // Only the pixels on the graphic area are touched: past its edges
            // a pixel's address runs into the next line, the text area or
            // round the controller's memory, onto pixels of the display.
            const int64_t left = std::max<int64_t>(0, -int64_t{x});
            const int64_t top = std::max<int64_t>(0, -int64_t{y});
            const int64_t right = std::min<int64_t>(w, int64_t{T6963CDriver.LineWidth()} - x);
            const int64_t bottom = std::min<int64_t>(h, int64_t{T6963CDriver.Lines()} - y);
            for (int64_t i = top; i < bottom; ++i)
                for (int64_t j = left; j < right; ++j) DisplayDriver::ResetPixel(int32_t(x + j), int32_t(y + i));
            for (int64_t i = top; i < bottom; ++i)
                for (int64_t j = left; j < right; ++j)
                    if (pixels.IsOn(int32_t(j), int32_t(i))) DisplayDriver::SetPixel(int32_t(x + j), int32_t(y + i));
            break;
        }
        case 1:
            KS0108Driver.WriteImageBands(pixels, x, y, h / 8, w);
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        ShowMessage("Could not load or display icon " + fileName);
    }
}

}  // namespace dotvane
