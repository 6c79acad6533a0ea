#include "platform/FileNames.h"
#include "platform/LibraryLoader.h"

#include <dlfcn.h>

#include <cctype>

namespace dotvane::platform {
namespace {

class DlLibraryLoader : public LibraryLoader {
public:
    std::string FileName(const std::string& name) override
    {
        std::string lower;
        for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return "lib" + lower + ".so";
    }

    // Without a folder dlopen searches LD_LIBRARY_PATH, then the run path
    // of the executable ($ORIGIN, the program's own folder), then the
    // system's library folders.
    LibraryHandle Load(const std::string& folder, const std::string& fileName) override
    {
        const std::string path = folder.empty() ? fileName : (NativePath(folder) / fileName).string();
        return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }

    void* Symbol(LibraryHandle library, const std::string& name) override
    {
        return library ? dlsym(library, name.c_str()) : nullptr;
    }

    bool Unload(LibraryHandle library) override { return library && dlclose(library) == 0; }
};

}  // namespace

LibraryLoader& SystemLibraryLoader()
{
    static DlLibraryLoader loader;
    return loader;
}

}  // namespace dotvane::platform
