#pragma once

#include <string>

namespace dotvane::platform {

// A library loaded at run time; nullptr is none.
using LibraryHandle = void*;

// Loading a shared library at run time and finding its functions by name,
// in the shape of LoadLibrary, GetProcAddress and FreeLibrary.
class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;

    // The file name this system gives the library called `name`: for
    // "DLPortIO" that is "DLPortIO.dll" on Windows and "libdlportio.so" on
    // Linux.
    virtual std::string FileName(const std::string& name) = 0;
    // Loads the file from `folder` (written as users write folder names),
    // or through the system's normal library search when `folder` is
    // empty; nullptr on failure.
    virtual LibraryHandle Load(const std::string& folder, const std::string& fileName) = 0;
    // The address of an exported function; nullptr when it is missing.
    virtual void* Symbol(LibraryHandle library, const std::string& name) = 0;
    virtual bool Unload(LibraryHandle library) = 0;
};

// The loader of the system the program runs on.
LibraryLoader& SystemLibraryLoader();

}  // namespace dotvane::platform
