#pragma once

#include "lcd/PixelImage.h"
#include "render/QtColors.h"

#include <QImage>

namespace dotvane {

// A Qt image as the drivers read it. It holds its own (shared) copy of the
// image, so it may outlive the one it was made from.
class QtPixelImage : public PixelImage {
public:
    explicit QtPixelImage(QImage image) : image_(std::move(image)) {}
    int32_t Width() const override { return image_.width(); }
    int32_t Height() const override { return image_.height(); }
    TColor Pixel(int32_t x, int32_t y) const override { return ToTColor(image_.pixel(x, y)); }

private:
    QImage image_;
};

}  // namespace dotvane
