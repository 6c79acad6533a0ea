#pragma once

#include "base/RgbImage.h"

#include <optional>
#include <string>

namespace dotvane::test {

// Reads an 8-bit RGB or RGBA PNG file without interlacing (what the golden
// pictures are); nothing for any other file. Alpha is dropped.
std::optional<RgbImage> ReadPng(const std::string& file);

// Writes a picture as an 8-bit RGB PNG file; false when it cannot.
bool WritePng(const std::string& file, const RgbImage& picture);

}  // namespace dotvane::test
