#pragma once

#include "lcd/PixelImage.h"
#include "render/QtColors.h"

#include <QImage>

namespace dotvane {

// A Qt image as the drivers read it.
class QtPixelImage : public PixelImage {
public:
    explicit QtPixelImage(const QImage& image) : image_(image) {}
    int32_t Width() const override { return image_.width(); }
    int32_t Height() const override { return image_.height(); }
    TColor Pixel(int32_t x, int32_t y) const override { return ToTColor(image_.pixel(x, y)); }

private:
    const QImage& image_;
};

}  // namespace dotvane
