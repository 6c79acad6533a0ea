// The bundled graphics screen on both emulated controllers and on the
// virtual display, with the shell's own fonts and image decoder, against
// golden pictures of its glyphs in the fixtures of the shell's test folder:
// Qt's (tests/render/qt), or GDI's and WIC's in the fonts of the Wine test
// prefix (tests/render/win32).
#ifdef _WIN32
#include "platform/win32/GdiTextRasterizer.h"
#include "platform/win32/WicImageDecoder.h"
#else
#include "platform/qt/QtImageDecoder.h"
#include "platform/qt/QtTextRasterizer.h"
#endif
#include "tests/render/ExampleScreenFixture.h"
#include "tests/support/Golden.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

const std::string kGolden = std::string(DOTVANE_FIXTURES) + "/golden";

#ifdef _WIN32
using ExampleScreenTest = test::ExampleScreenFixture<platform::GdiTextRasterizer, platform::WicImageDecoder>;
#else
using ExampleScreenTest = test::ExampleScreenFixture<platform::QtTextRasterizer, platform::QtImageDecoder>;
#endif

TEST_F(ExampleScreenTest, OnTheT6963C)
{
    Show(0, emulator::SimulationConfig::Module::T6963C);
    test::ExpectMatchesGolden(GlassPicture(Glass()), kGolden, "example-t6963c-glass");
    test::ExpectMatchesGolden(harness->renderer.PresentedPicture(), kGolden, "example-t6963c-virtual");
}

TEST_F(ExampleScreenTest, OnTheKS0108)
{
    Show(1, emulator::SimulationConfig::Module::KS0108);
    test::ExpectMatchesGolden(GlassPicture(Glass()), kGolden, "example-ks0108-glass");
    test::ExpectMatchesGolden(harness->renderer.PresentedPicture(), kGolden, "example-ks0108-virtual");
}

TEST_F(ExampleScreenTest, OnTheVirtualDisplayAlone)
{
    Show(3, emulator::SimulationConfig::Module::KS0108);
    test::ExpectMatchesGolden(harness->renderer.PresentedPicture(), kGolden, "example-virtual-only");
}

}  // namespace
}  // namespace dotvane
