#include "platform/TextRasterizer.h"

#include "platform/win32/GdiTextRasterizer.h"

namespace dotvane::platform {

// Windows draws texts with GDI, which every Windows has, shell or none.
TextRasterizer& SystemTextRasterizer()
{
    static GdiTextRasterizer rasterizer;
    return rasterizer;
}

}  // namespace dotvane::platform
