#include "platform/MemoryStatus.h"

#include "platform/win32/Win32Api.h"

#include <algorithm>

namespace dotvane::platform {
namespace {

// The figures come from GlobalMemoryStatusEx: GlobalMemoryStatus gives them
// in the width of a pointer, so that a 32-bit program on a machine with
// more than 2 GB would be told 2 GB.
class MemoryStatusWin32 : public MemoryStatus {
public:
    // The system gives every figure in one call, whichever are wanted.
    void GlobalMemoryStatus(MemoryStatusRecord& status, MemoryFigures) override
    {
        MEMORYSTATUSEX system{};
        system.dwLength = sizeof system;
        if (!::GlobalMemoryStatusEx(&system)) {
            status = MemoryStatusRecord{};
            return;
        }
        // What is free never exceeds the total, and the load stays within
        // 0 … 100: Wine tells a 32-bit program on a machine with more than
        // 4 GB a total cut below 4 GB beside the whole free figure, and a
        // load computed from the two.
        status.MemoryLoad = std::min<DWORD>(system.dwMemoryLoad, 100);
        status.TotalPhys = system.ullTotalPhys;
        status.AvailPhys = std::min(system.ullAvailPhys, system.ullTotalPhys);
        status.TotalPageFile = system.ullTotalPageFile;
        status.AvailPageFile = std::min(system.ullAvailPageFile, system.ullTotalPageFile);
        status.TotalVirtual = system.ullTotalVirtual;
        status.AvailVirtual = std::min(system.ullAvailVirtual, system.ullTotalVirtual);
    }
};

}  // namespace

MemoryStatus& SystemMemoryStatus()
{
    static MemoryStatusWin32 source;
    return source;
}

}  // namespace dotvane::platform
