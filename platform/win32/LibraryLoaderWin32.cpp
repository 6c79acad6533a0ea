#include "platform/LibraryLoader.h"

#include "platform/win32/Win32Api.h"

namespace dotvane::platform {
namespace {

class Win32LibraryLoader : public LibraryLoader {
public:
    std::string FileName(const std::string& name) override { return name + ".dll"; }

    // Without a folder LoadLibraryA searches the program's folder, the
    // system folders and PATH.
    LibraryHandle Load(const std::string& folder, const std::string& fileName) override
    {
        const std::string path = folder.empty() ? fileName : folder + "\\" + fileName;
        return reinterpret_cast<LibraryHandle>(::LoadLibraryA(path.c_str()));
    }

    void* Symbol(LibraryHandle library, const std::string& name) override
    {
        if (library == nullptr) return nullptr;
        return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
    }

    bool Unload(LibraryHandle library) override
    {
        return library != nullptr && ::FreeLibrary(static_cast<HMODULE>(library));
    }
};

}  // namespace

LibraryLoader& SystemLibraryLoader()
{
    static Win32LibraryLoader loader;
    return loader;
}

}  // namespace dotvane::platform
