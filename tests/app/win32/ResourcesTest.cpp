// The resources of the two programs as built: the version the caption
// names, the icon, and the manifest.
#include "app/Edition.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dotvane {
namespace {

std::string VersionText(const std::string& program, const char* name)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(program.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !::GetFileVersionInfoA(program.c_str(), 0, size, block.data())) return "(no version)";
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!::VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) return "(none)";
    return value;
}

std::string Resource(HMODULE module, LPCSTR type, LPCSTR name)
{
    const HRSRC found = ::FindResourceA(module, name, type);
    if (found == nullptr) return {};
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    return std::string(data, ::SizeofResource(module, found));
}

TEST(ResourcesTest, EachProgramCarriesTheCaptionsVersionItsIconAndItsManifest)
{
    // The caption after "Dotvane v. ", without the edition's "NT".
    const std::string caption = ProgramCaption();
    const std::string version = caption.substr(11, caption.rfind(" NT") - 11);
    for (const std::string name : {"dotvane", "dotvane-plain"}) {
        const std::string program = DOTVANE_BINARY_DIR "/bin/" + name + ".exe";
        EXPECT_EQ(VersionText(program, "FileVersion"), version) << name;
        EXPECT_EQ(VersionText(program, "OriginalFilename"), name + ".exe");
        EXPECT_EQ(VersionText(program, "FileDescription"),
                  name == "dotvane" ? caption : caption.substr(0, caption.rfind(" NT")));
        const HMODULE module = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << name;
        EXPECT_EQ(Resource(module, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(101)).size(), 6u + 2 * 14) << name;
        const std::string manifest = Resource(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
        for (const char* part : {"<dpiAware", "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\""})
            EXPECT_NE(manifest.find(part), std::string::npos) << name << " " << part;
        ::FreeLibrary(module);
    }
}

}  // namespace
}  // namespace dotvane
