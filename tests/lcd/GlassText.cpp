// Prints the text rows of a picture of a display as the built-in 5×7 font
// draws them, for tests outside C++: glass_text FILE CELL_WIDTH COLUMNS ROWS.
// FILE is a PNG written by the simulated port library (at scale 1) or a
// plain PBM; row r is read from pixel row 8r.
#include "PngReader.h"

#include "lcd/emulator/Glass.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::optional<dotvane::emulator::Glass> ReadPbm(const std::string& path)
{
    std::ifstream in(path);
    std::string magic;
    int width = 0;
    int height = 0;
    if (!(in >> magic >> width >> height) || magic != "P1" || width <= 0 || height <= 0) return std::nullopt;
    dotvane::emulator::Glass glass(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            char c = 0;
            if (!(in >> c)) return std::nullopt;
            glass.Set(x, y, c == '1');
        }
    }
    return glass;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: glass_text FILE CELL_WIDTH COLUMNS ROWS\n";
        return 2;
    }
    const std::string path = argv[1];
    const int cellWidth = std::stoi(argv[2]);
    const int columns = std::stoi(argv[3]);
    const int rows = std::stoi(argv[4]);
    std::optional<dotvane::emulator::Glass> glass = path.ends_with(".pbm")
                                                        ? ReadPbm(path)
                                                        : dotvane::test::ReadGlassPng(dotvane::test::ReadFileBytes(path), 1);
    if (!glass) {
        std::cerr << "cannot read " << path << "\n";
        return 1;
    }
    for (int r = 0; r < rows; ++r) std::cout << dotvane::emulator::ReadText(*glass, 0, 8 * r, cellWidth, columns) << "\n";
    return 0;
}
