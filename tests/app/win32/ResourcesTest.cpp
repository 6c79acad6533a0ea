// The resources of the two programs as built: the caption's version, the
// icon and the manifest.
#include "app/Edition.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dotvane {
namespace {

std::string VersionText(const std::string& program, const std::string& name)
{
    std::vector<char> block(::GetFileVersionInfoSizeA(program.c_str(), nullptr));
    char* value = nullptr;
    UINT length = 0;
    if (block.empty() || !::GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !::VerQueryValueA(block.data(), ("\\StringFileInfo\\040904E4\\" + name).c_str(),
                          reinterpret_cast<void**>(&value), &length))
        return "(none)";
    return value;
}

std::string Resource(HMODULE module, int type, int id)
{
    const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    if (found == nullptr) return {};
    return {static_cast<const char*>(::LockResource(::LoadResource(module, found))), ::SizeofResource(module, found)};
}

TEST(ResourcesTest, EachProgramCarriesTheCaptionsVersionItsIconAndItsManifest)
{
    const std::string caption = ProgramCaption();  // "Dotvane v. VERSION NT"
    for (const std::string name : {"dotvane", "dotvane-plain"}) {
        const std::string program = DOTVANE_BINARY_DIR "/bin/" + name + ".exe";
        EXPECT_EQ(VersionText(program, "FileVersion"), caption.substr(11, caption.size() - 14)) << name;
        EXPECT_EQ(VersionText(program, "FileDescription"), name == "dotvane" ? caption : caption.substr(0, caption.size() - 3));
        const HMODULE module = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << name;
        // The icon group: a header and two images, 32 and 16 pixels.
        EXPECT_EQ(Resource(module, 14, 101).size(), 6u + 2 * 14) << name;
        const std::string manifest = Resource(module, 24, 1);
        for (const char* part : {"<dpiAware", "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\""})
            EXPECT_NE(manifest.find(part), std::string::npos) << name << " " << part;
        ::FreeLibrary(module);
    }
}

}  // namespace
}  // namespace dotvane
