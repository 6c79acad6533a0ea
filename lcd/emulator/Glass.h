#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dotvane::emulator {

// What an LCD panel shows: Width × Height pixels, 1 for a dark pixel.
struct Glass {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;  // row-major

    Glass() = default;
    Glass(int width, int height) : Width(width), Height(height), Pixels(static_cast<size_t>(width * height)) {}

    bool At(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < Width && y < Height && Pixels[static_cast<size_t>(y * Width + x)];
    }
    void Set(int x, int y, bool on) { Pixels[static_cast<size_t>(y * Width + x)] = on ? 1 : 0; }
    int LitCount() const;

    bool operator==(const Glass&) const = default;
};

// A PNG picture of the glass, each pixel drawn as scale × scale dots in the
// colours of a yellow-green panel.
std::vector<uint8_t> EncodePng(const Glass& glass, int scale);

// A plain PBM ("P1") picture: small golden pictures for tests.
std::string EncodePbm(const Glass& glass);

// Reads `count` text cells from the glass as the built-in 5×7 font draws
// them: cell i has its top-left pixel at (x + i × cellWidth, y) and its
// glyph in the first 5 columns and 7 rows. An empty cell reads as a space,
// a cell that matches no glyph as '?'.
std::string ReadText(const Glass& glass, int x, int y, int cellWidth, int count);

}  // namespace dotvane::emulator
