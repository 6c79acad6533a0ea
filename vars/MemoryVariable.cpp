#include "vars/MemoryVariable.h"

#include "platform/MemoryStatus.h"
#include "vars/Format.h"

namespace dotvane {

std::string MemoryVariable(std::string_view name)
{
    platform::MemoryStatusRecord status;
    const bool virtualFigure = name == "memtotvirt" || name == "memavvirt";
    platform::MemoryStatusService::Current().GlobalMemoryStatus(
        status, virtualFigure ? platform::MemoryFigures::All : platform::MemoryFigures::WithoutVirtual);
    if (name == "memusage") return FormatUnsigned(status.MemoryLoad);
    uint64_t bytes;
    if (name == "memtotphys") bytes = status.TotalPhys;
    else if (name == "memavphys") bytes = status.AvailPhys;
    else if (name == "memtotpage") bytes = status.TotalPageFile;
    else if (name == "memavpage") bytes = status.AvailPageFile;
    else if (name == "memtotvirt") bytes = status.TotalVirtual;
    else if (name == "memavvirt") bytes = status.AvailVirtual;
    else return {};
    return FormatUnsigned(bytes >> 10);
}

}  // namespace dotvane
