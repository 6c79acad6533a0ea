#include "platform/linux/NamedSectionsLinux.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dotvane::platform {

NamedSectionsLinux::NamedSectionsLinux(std::filesystem::path sysRoot, std::filesystem::path procRoot,
                                       std::string shmPrefix)
    : shmPrefix_(std::move(shmPrefix)), layout_(std::move(sysRoot), std::move(procRoot))
{
}

NamedSectionsLinux::~NamedSectionsLinux()
{
    for (auto& [address, view] : views_)
        if (view.mapped) munmap(const_cast<std::byte*>(address), view.size);
    for (auto& [handle, section] : sections_)
        if (section.fd >= 0) close(section.fd);
}

NamedSections::Mapping NamedSectionsLinux::OpenFileMapping(std::string_view name)
{
    Section section;
    const std::string object = "/" + shmPrefix_ + std::string(name);
    section.fd = shm_open(object.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (section.fd < 0) {
        // Only a missing monitor is replaced by the kernel's readings; an
        // object that exists but cannot be opened stays unreadable.
        if (errno != ENOENT || name != kSensorSectionName) return 0;
        section.built = layout_.Build();
        if (section.built.empty()) return 0;
    }
    const Mapping handle = next_++;
    sections_.emplace(handle, std::move(section));
    return handle;
}

const std::byte* NamedSectionsLinux::MapViewOfFile(Mapping mapping)
{
    const auto it = sections_.find(mapping);
    if (it == sections_.end()) return nullptr;
    const Section& section = it->second;
    if (section.fd < 0) {
        std::vector<std::byte> copy = section.built;
        const std::byte* address = copy.data();
        views_.emplace(address, View{copy.size(), false, std::move(copy)});
        return address;
    }
    struct stat info {};
    if (fstat(section.fd, &info) != 0 || info.st_size <= 0) return nullptr;
    const auto size = static_cast<size_t>(info.st_size);
    void* address = mmap(nullptr, size, PROT_READ, MAP_SHARED, section.fd, 0);
    if (address == MAP_FAILED) return nullptr;
    const auto* view = static_cast<const std::byte*>(address);
    views_.emplace(view, View{size, true, {}});
    return view;
}

size_t NamedSectionsLinux::ViewSize(const std::byte* view)
{
    const auto it = views_.find(view);
    return it == views_.end() ? 0 : it->second.size;
}

void NamedSectionsLinux::UnmapViewOfFile(const std::byte* view)
{
    const auto it = views_.find(view);
    if (it == views_.end()) return;
    if (it->second.mapped) munmap(const_cast<std::byte*>(view), it->second.size);
    views_.erase(it);
}

void NamedSectionsLinux::CloseHandle(Mapping mapping)
{
    const auto it = sections_.find(mapping);
    if (it == sections_.end()) return;
    if (it->second.fd >= 0) close(it->second.fd);
    sections_.erase(it);
}

NamedSections& SystemNamedSections()
{
    static NamedSectionsLinux sections;
    return sections;
}

}  // namespace dotvane::platform
