#pragma once

#include "tests/support/FakeImageDecoder.h"
#include "tests/support/FakeTextRasterizer.h"

namespace dotvane::test {

// The font engine and image decoder that the renderer's tests draw with,
// installed for the object's lifetime: the fakes, whose pictures depend on
// neither the machine's fonts nor a toolkit. A build that defines
// DOTVANE_SYSTEM_RENDER_SERVICES installs none, so that the same tests run
// on the system's own: the Windows build, on GDI and WIC.
struct RenderServices {
#ifndef DOTVANE_SYSTEM_RENDER_SERVICES
    FakeTextRasterizer fonts;
    FakeImageDecoder pictures;
#endif
};

}  // namespace dotvane::test
