#include "platform/ImageDecoder.h"

#include "platform/win32/WicImageDecoder.h"

namespace dotvane::platform {

// Windows decodes pictures with its Imaging Component, on the COM that the
// calling thread has initialised.
ImageDecoder& SystemImageDecoder()
{
    static WicImageDecoder decoder;
    return decoder;
}

}  // namespace dotvane::platform
