#pragma once

#include "base/RgbImage.h"
#include "tests/support/PngFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace dotvane::test {

// Compares a picture with a golden PNG beside the tests, pixel by pixel.
// With DOTVANE_UPDATE_GOLDEN set in the environment the golden is written
// instead (review it, and say so in the commit). A mismatch leaves the
// actual picture under golden-actual/ in the build tree.
inline void ExpectMatchesGolden(const RgbImage& actual, const std::string& goldenFolder, const std::string& name)
{
    const std::string file = goldenFolder + "/" + name + ".png";
    if (std::getenv("DOTVANE_UPDATE_GOLDEN") != nullptr) {
        std::filesystem::create_directories(goldenFolder);
        ASSERT_TRUE(WritePng(file, actual)) << file;
        return;
    }
    const std::optional<RgbImage> golden = ReadPng(file);
    ASSERT_TRUE(golden.has_value()) << "missing golden picture " << file;
    std::string where;
    if (golden->Width() != actual.Width() || golden->Height() != actual.Height()) where = "size differs";
    for (int32_t y = 0; where.empty() && y < golden->Height(); ++y)
        for (int32_t x = 0; where.empty() && x < golden->Width(); ++x)
            if (golden->Pixel(x, y) != actual.Pixel(x, y))
                where = "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    if (!where.empty()) {
        const std::filesystem::path out = std::filesystem::path(DOTVANE_BINARY_DIR) / "golden-actual";
        std::filesystem::create_directories(out);
        WritePng((out / (name + ".png")).string(), actual);
    }
    EXPECT_TRUE(where.empty()) << name << ": " << where;
}

}  // namespace dotvane::test
