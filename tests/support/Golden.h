#pragma once

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace dotvane::test {

// Compares a picture with a golden PNG beside the tests, pixel by pixel.
// With DOTVANE_UPDATE_GOLDEN set in the environment the golden is written
// instead (review it, and say so in the commit). A mismatch leaves the
// actual picture under golden-actual/ in the build tree.
inline void ExpectMatchesGolden(const QImage& actual, const std::string& goldenFolder, const std::string& name)
{
    const std::string file = goldenFolder + "/" + name + ".png";
    const QImage picture = actual.convertToFormat(QImage::Format_RGB32);
    if (std::getenv("DOTVANE_UPDATE_GOLDEN") != nullptr) {
        std::filesystem::create_directories(goldenFolder);
        ASSERT_TRUE(picture.save(QString::fromStdString(file), "PNG")) << file;
        return;
    }
    const QImage golden = QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << "missing golden picture " << file;
    bool same = golden.size() == picture.size();
    std::string where = same ? "" : "size differs";
    for (int y = 0; same && y < golden.height(); ++y)
        for (int x = 0; same && x < golden.width(); ++x)
            if (golden.pixel(x, y) != picture.pixel(x, y)) {
                same = false;
                where = "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
    if (!same) {
        const std::filesystem::path out = std::filesystem::path(DOTVANE_BINARY_DIR) / "golden-actual";
        std::filesystem::create_directories(out);
        picture.save(QString::fromStdString((out / (name + ".png")).string()), "PNG");
    }
    EXPECT_TRUE(same) << name << ": " << where;
}

}  // namespace dotvane::test
