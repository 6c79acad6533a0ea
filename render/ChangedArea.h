#pragma once

#include "base/Rect.h"
#include "base/RgbImage.h"

namespace dotvane {

// The smallest rectangle of `after` that holds every pixel in which it
// differs from `before`: empty when the two are the same picture, all of
// `after` when they differ in size. Rows are compared whole first, so an
// unchanged picture costs one comparison of its bytes.
Rect ChangedArea(const RgbImage& before, const RgbImage& after);

}  // namespace dotvane
