#include "render/ImageFile.h"

#include "platform/FileNames.h"
#include "platform/RegularFiles.h"

#include <span>

namespace dotvane {

platform::DecodedImage LoadImageFile(const std::string& fileName)
{
    using platform::FileStatus;
    const platform::FileContents contents =
        platform::ReadRegularFile(platform::NativePath(fileName), kImageFileLimit);
    switch (contents.status) {
    case FileStatus::Ok:
        break;
    case FileStatus::Missing:
        return {{}, "there is no such file"};
    case FileStatus::NotRegular:
        return {{}, "it is not a regular file"};
    case FileStatus::TooLarge:
        return {{}, "it is larger than " + std::to_string(kImageFileLimit) + " bytes"};
    case FileStatus::ReadError:
        return {{}, "it cannot be read"};
    }
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(contents.bytes.data()), contents.bytes.size());
    return platform::ImageDecoderService::Current().Decode(bytes, kImageSideLimit);
}

}  // namespace dotvane
