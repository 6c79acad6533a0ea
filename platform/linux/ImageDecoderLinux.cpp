#include "platform/ImageDecoder.h"

namespace dotvane::platform {

// Below a toolkit the system has no image decoder: the Qt shell installs
// Qt's.
ImageDecoder& SystemImageDecoder()
{
    static NoImageDecoder decoder;
    return decoder;
}

}  // namespace dotvane::platform
