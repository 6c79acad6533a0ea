#include "platform/TextRasterizer.h"

namespace dotvane::platform {

// Below a toolkit the system has no font engine: the Qt shell installs Qt's.
TextRasterizer& SystemTextRasterizer()
{
    static NoTextRasterizer rasterizer;
    return rasterizer;
}

}  // namespace dotvane::platform
