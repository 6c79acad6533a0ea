// Any file, of any length, is read as a KS0108 bitmap without a crash; the
// port is closed, so nothing reaches a device.
#include "lcd/KS0108Driver.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("dotvane-fuzz-ks0108-" + std::to_string(std::random_device()()) + ".bmp");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    dotvane::KS0108Driver.DrawBitmapFile(file);
    return 0;
}
