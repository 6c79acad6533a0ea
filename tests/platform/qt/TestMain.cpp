// Fonts need a Qt application object; Qt's offscreen platform serves.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A screen of 144 dots per inch: the texts are still drawn as at 96.
    qputenv("QT_FONT_DPI", "144");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
