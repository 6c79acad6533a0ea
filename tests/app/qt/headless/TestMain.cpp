#include "platform/qt/QtImageDecoder.h"
#include "platform/qt/QtTextRasterizer.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Qt's fonts and image decoder, as the Qt shell installs them.
    dotvane::platform::QtTextRasterizer rasterizer;
    const dotvane::platform::TextRasterizerService::Scoped fonts(rasterizer);
    dotvane::platform::QtImageDecoder decoder;
    const dotvane::platform::ImageDecoderService::Scoped pictures(decoder);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
