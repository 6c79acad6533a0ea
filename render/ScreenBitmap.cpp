#include "render/Renderer.h"

#include "render/ImageFile.h"
#include "render/QtPixelImage.h"

#include <QImage>

#include <chrono>
#include <exception>
#include <memory>

namespace dotvane {
namespace {

// Any picture the image reader takes, within the image files' limits.
std::unique_ptr<PixelImage> LoadPicture(const std::string& fileName)
{
    QImage image = LoadImageFile(fileName);
    if (image.isNull()) return nullptr;
    return std::make_unique<QtPixelImage>(std::move(image));
}

}  // namespace

void Renderer::ShowScreenBitmap(const std::string& fileName)
{
    const std::string failure = "Could not load or display bitmap " + fileName;
    try {
        // Each showing draws a fresh dither pattern.
        const auto seed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        if (!display_.DrawScreenBitmap(fileName, LoadPicture, seed)) notices_.ShowMessage(failure);
    } catch (const std::exception&) {
        notices_.ShowMessage(failure);
    }
}

}  // namespace dotvane
