#include "platform/linux/NamedSectionsLinux.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>  // shm_open
#include <sys/stat.h>
#include <unistd.h>

namespace dotvane::platform {

NamedSectionsLinux::NamedSectionsLinux(std::filesystem::path sysRoot, std::filesystem::path procRoot,
                                       std::string shmPrefix, KernelFileSnapshot& files)
    : shmPrefix_(std::move(shmPrefix)), layout_(std::move(sysRoot), std::move(procRoot), files)
{
}

NamedSectionsLinux::~NamedSectionsLinux()
{
    for (auto& [handle, section] : sections_)
        if (section.fd >= 0) close(section.fd);
}

NamedSections::Mapping NamedSectionsLinux::OpenFileMapping(std::string_view name)
{
    Section section;
    const std::string object = "/" + shmPrefix_ + std::string(name);
    // Not blocking: a FIFO put in the object's place would otherwise hold the
    // refresh until some process opened it for writing.
    section.fd = shm_open(object.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK, 0);
    if (section.fd >= 0) {
        struct stat info {};
        if (fstat(section.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            close(section.fd);
            return 0;
        }
    } else {
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

const std::byte* NamedSectionsLinux::MapViewOfFile(Mapping mapping, size_t limit)
{
    const auto it = sections_.find(mapping);
    if (it == sections_.end()) return nullptr;
    const Section& section = it->second;
    std::vector<std::byte> copy;
    if (section.fd < 0) {
        copy.assign(section.built.begin(), section.built.begin() + std::min(limit, section.built.size()));
    } else {
        // The size only bounds the copy; the object may shrink or grow while
        // it is read, and pread then simply returns less.
        struct stat info {};
        if (fstat(section.fd, &info) != 0 || info.st_size <= 0) return nullptr;
        copy.resize(std::min(limit, static_cast<size_t>(info.st_size)));
        size_t filled = 0;
        while (filled < copy.size()) {
            const ssize_t got = pread(section.fd, copy.data() + filled, copy.size() - filled,
                                      static_cast<off_t>(filled));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            filled += static_cast<size_t>(got);
        }
        copy.resize(filled);
    }
    if (copy.empty()) return nullptr;
    const std::byte* view = copy.data();
    views_.emplace(view, std::move(copy));
    return view;
}

size_t NamedSectionsLinux::ViewSize(const std::byte* view)
{
    const auto it = views_.find(view);
    return it == views_.end() ? 0 : it->second.size();
}

void NamedSectionsLinux::UnmapViewOfFile(const std::byte* view) { views_.erase(view); }

void NamedSectionsLinux::CloseHandle(Mapping mapping)
{
    const auto it = sections_.find(mapping);
    if (it == sections_.end()) return;
    if (it->second.fd >= 0) close(it->second.fd);
    sections_.erase(it);
}

void NamedSectionsLinux::RediscoverSensors() { layout_.Rediscover(); }

NamedSections& SystemNamedSections()
{
    static NamedSectionsLinux sections;
    return sections;
}

}  // namespace dotvane::platform
