#pragma once

#include "base/ServicePoint.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dotvane::platform {

// The section in which the motherboard-monitor program publishes its
// sensor readings.
inline constexpr std::string_view kSensorSectionName = "$M$B$M$5$S$D$";

// Named shared-memory sections that another program publishes, opened for
// reading only, in the shape of OpenFileMappingA, MapViewOfFile,
// UnmapViewOfFile and CloseHandle. A mapping handle of 0 means "none".
class NamedSections {
public:
    using Mapping = uintptr_t;

    virtual ~NamedSections() = default;
    // Opens the section of that name for reading, not inherited; 0 when no
    // such section exists.
    virtual Mapping OpenFileMapping(std::string_view name) = 0;
    // A read-only view of the section from offset 0, of which the caller
    // reads no more than the first `limit` bytes; nullptr when it cannot be
    // had. An implementation that copies the section copies at most that
    // much, so a section of any size costs no more memory than the limit.
    virtual const std::byte* MapViewOfFile(Mapping mapping, size_t limit) = 0;
    // How many bytes of a view returned by MapViewOfFile may be read. The
    // producer's own numbers inside the section say nothing about this.
    virtual size_t ViewSize(const std::byte* view) = 0;
    virtual void UnmapViewOfFile(const std::byte* view) = 0;
    virtual void CloseHandle(Mapping mapping) = 0;
    // Where the sensor section is made up from the machine's own sensors
    // because no monitor publishes it, has them looked for again, as after
    // hardware was added or removed; elsewhere nothing.
    virtual void RediscoverSensors() {}
};

// The system's implementation, created on first use.
NamedSections& SystemNamedSections();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using NamedSectionsService = ServicePoint<NamedSections, SystemNamedSections>;

}  // namespace dotvane::platform
