#pragma once

#include "platform/NamedSections.h"
#include "platform/linux/HwmonSensorLayout.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace dotvane::platform {

// Named sections as POSIX shared-memory objects: the section "X" is the
// object "/X" (or "/<prefix>X"). A view is a private copy of the object's
// first bytes, read with pread and never mapped: any process may shrink the
// object at any time, and reading a mapped page past its new end would kill
// the program with SIGBUS. An object that shrinks, vanishes or is made anew
// while it is read gives a shorter copy, or none. When
// no object of the motherboard monitor's name exists, its sensor section is
// built from the kernel's hardware monitors instead (HwmonSensorLayout), so
// that the sensor readings are there with nothing else installed; the
// monitors are looked for once, and again after RediscoverSensors.
class NamedSectionsLinux : public NamedSections {
public:
    // The roots stand for /sys and /proc. `shmPrefix` is put between the "/"
    // and the section name, which keeps the objects of separate test runs
    // apart; the program uses none.
    explicit NamedSectionsLinux(std::filesystem::path sysRoot = "/sys", std::filesystem::path procRoot = "/proc",
                                std::string shmPrefix = "", KernelFileSnapshot& files = SystemKernelFiles());
    ~NamedSectionsLinux() override;
    NamedSectionsLinux(const NamedSectionsLinux&) = delete;
    NamedSectionsLinux& operator=(const NamedSectionsLinux&) = delete;

    Mapping OpenFileMapping(std::string_view name) override;
    const std::byte* MapViewOfFile(Mapping mapping, size_t limit) override;
    size_t ViewSize(const std::byte* view) override;
    void UnmapViewOfFile(const std::byte* view) override;
    void CloseHandle(Mapping mapping) override;
    void RediscoverSensors() override;

private:
    struct Section {
        int fd = -1;                  // an open shared-memory object, or
        std::vector<std::byte> built;  // a section built here
    };

    std::string shmPrefix_;
    HwmonSensorLayout layout_;
    std::map<Mapping, Section> sections_;
    // The copies handed out as views, by their first byte.
    std::map<const std::byte*, std::vector<std::byte>> views_;
    Mapping next_ = 1;
};

}  // namespace dotvane::platform
