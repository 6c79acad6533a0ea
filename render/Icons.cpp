#include "render/Renderer.h"

#include "platform/Player.h"
#include "render/ElementDescriptors.h"
#include "render/ImageFile.h"
#include "render/QtColors.h"
#include "render/QtPixelImage.h"

#include <QImage>

#include <exception>

namespace dotvane {
namespace {

// The player window's reply to WM_USER with a data word and a command;
// 0 without a player.
int32_t AskPlayer(int32_t data, int32_t command)
{
    platform::Player& player = platform::PlayerService::Current();
    return player.FindWindow() ? player.SendQuery(data, command) : 0;
}

}  // namespace

void Renderer::DrawIcons()
{
    for (const std::string& icon : CurrentEntry().Icon)
        if (!icon.empty()) DrawIconElement(icon);
}

void Renderer::DrawIconElement(const std::string& descriptor)
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

void Renderer::DrawPlayerStateIcon(int32_t x, int32_t y)
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

void Renderer::DrawChannelIcon(int32_t x, int32_t y)
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

void Renderer::DrawIconFile(int32_t x, int32_t y, const std::string& fileName)
{
    try {
        const QImage image = LoadImageFile(fileName);
        if (image.isNull()) return notices_.ShowMessage("Could not load or display icon " + fileName);
        const QtPixelImage pixels(image);
        if (state_.WindowShown) DrawIntoVirtualDisplay(pixels, x, y, ToTColor(image.pixel(0, image.height() - 1)));
        display_.DrawIcon(pixels, x, y);
    } catch (const std::exception&) {
        notices_.ShowMessage("Could not load or display icon " + fileName);
    }
}

}  // namespace dotvane
