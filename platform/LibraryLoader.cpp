#include "platform/LibraryLoader.h"

namespace dotvane::platform {
namespace {
LibraryLoader* installed = nullptr;
}

LibraryLoader& CurrentLibraryLoader() { return installed ? *installed : SystemLibraryLoader(); }

void InstallLibraryLoader(LibraryLoader* loader) { installed = loader; }

}  // namespace dotvane::platform
