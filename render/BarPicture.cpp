#include "render/BarPicture.h"

#include <algorithm>

namespace dotvane {

BarPicture::BarPicture(int32_t width, int32_t height, int32_t length, TColor back, TColor fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      length_(length),
      back_(ColorToRGB(back)),
      fill_(ColorToRGB(fill))
{
    if (width_ == 0 || height_ == 0) width_ = height_ = 0;
}

TColor BarPicture::Pixel(int32_t x, int32_t) const { return x < length_ && x % 5 != 4 ? fill_ : back_; }

}  // namespace dotvane
