#include "platform/NamedSections.h"

#include "platform/win32/Win32Api.h"

#include <string>

namespace dotvane::platform {
namespace {

class NamedSectionsWin32 : public NamedSections {
public:
    Mapping OpenFileMapping(std::string_view name) override
    {
        const std::string text(name);
        return reinterpret_cast<Mapping>(::OpenFileMappingA(FILE_MAP_READ, FALSE, text.c_str()));
    }

    // The whole section: a view costs address space, not memory, and a
    // section never changes its size on Windows.
    const std::byte* MapViewOfFile(Mapping mapping, size_t) override
    {
        return static_cast<const std::byte*>(::MapViewOfFile(reinterpret_cast<HANDLE>(mapping), FILE_MAP_READ, 0, 0, 0));
    }

    // The readable pages of the view: the section's size rounded up to whole
    // pages, whose bytes beyond the section read as 0.
    size_t ViewSize(const std::byte* view) override
    {
        MEMORY_BASIC_INFORMATION info{};
        if (view == nullptr || ::VirtualQuery(view, &info, sizeof info) != sizeof info) return 0;
        if (info.State != MEM_COMMIT) return 0;
        const auto start = reinterpret_cast<uintptr_t>(view);
        const auto end = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
        return end > start ? end - start : 0;
    }

    void UnmapViewOfFile(const std::byte* view) override
    {
        if (view != nullptr) ::UnmapViewOfFile(view);
    }

    void CloseHandle(Mapping mapping) override
    {
        if (mapping != 0) ::CloseHandle(reinterpret_cast<HANDLE>(mapping));
    }
};

}  // namespace

NamedSections& SystemNamedSections()
{
    static NamedSectionsWin32 sections;
    return sections;
}

}  // namespace dotvane::platform
