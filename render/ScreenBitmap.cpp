#include "render/ScreenBitmap.h"

#include "app/Host.h"
#include "app/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "platform/FileNames.h"
#include "render/ImageFile.h"
#include "render/QtPixelImage.h"

#include <QImage>

#include <chrono>
#include <exception>

namespace dotvane {

void ShowScreenBitmap(const std::string& fileName)
{
    const std::string failure = "Could not load or display bitmap " + fileName;
    try {
        switch (MainSettings.LCD.Type) {
        case 0: {
            const QImage image = LoadImageFile(fileName);
            if (image.isNull()) return ShowMessage(failure);
            // Each showing draws a fresh dither pattern.
            const auto seed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
            T6963CDriver.DrawBitmap(QtPixelImage(image), seed);
            break;
        }
        case 1:
            if (!KS0108Driver.DrawBitmapFile(platform::NativePath(fileName))) ShowMessage(failure);
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        ShowMessage(failure);
    }
}

}  // namespace dotvane
