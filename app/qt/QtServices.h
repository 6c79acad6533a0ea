#pragma once

#include "platform/ImageDecoder.h"
#include "platform/Player.h"
#include "platform/TextRasterizer.h"
#include "platform/qt/QtImageDecoder.h"
#include "platform/qt/QtTextRasterizer.h"

#include <memory>

namespace dotvane {

// The services the Qt shell puts in place of the system's own for the run:
// Qt's font engine and image decoder, and the system's media players for
// the Winamp window. Made after the Qt application object.
class QtServices {
public:
    QtServices();
    ~QtServices();
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

private:
    platform::QtTextRasterizer rasterizer_;
    platform::QtImageDecoder decoder_;
    const std::unique_ptr<platform::Player> player_;
    const platform::TextRasterizerService::Scoped fonts_{rasterizer_};
    const platform::ImageDecoderService::Scoped pictures_{decoder_};
    const platform::PlayerService::Scoped players_;
};

}  // namespace dotvane
