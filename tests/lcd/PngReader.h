#pragma once

#include "lcd/emulator/Glass.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dotvane::test {

// Reads back the pictures the emulator writes: 1-bit palette PNG files with
// stored deflate blocks. Checks every CRC and the Adler checksum, and
// returns the glass sampled every `scale` pixels, or nothing when the file
// is not such a picture.
std::optional<emulator::Glass> ReadGlassPng(const std::vector<uint8_t>& png, int scale);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

}  // namespace dotvane::test
