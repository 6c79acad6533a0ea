#pragma once

#include <QImage>
#include <QRect>

namespace dotvane {

// The smallest rectangle of `after` that holds every pixel in which it
// differs from `before`: empty when the two are the same picture, all of
// `after` when they differ in size or format or are not both 32-bit pictures.
// Rows are compared whole first, so an unchanged picture costs one
// comparison of its bytes.
QRect ChangedArea(const QImage& before, const QImage& after);

}  // namespace dotvane
