#include "platform/MemoryStatus.h"

#include "platform/win32/Win32Api.h"

namespace dotvane::platform {
namespace {

// The length field is set to 32, the size of the record on 32-bit Windows;
// the system fills the whole record of this build whatever it says.
constexpr DWORD kRecordLength = 32;

class MemoryStatusWin32 : public MemoryStatus {
public:
    // The system gives every figure in one call, whichever are wanted.
    void GlobalMemoryStatus(MemoryStatusRecord& status, MemoryFigures) override
    {
        MEMORYSTATUS system{};
        system.dwLength = kRecordLength;
        ::GlobalMemoryStatus(&system);
        status.MemoryLoad = system.dwMemoryLoad;
        status.TotalPhys = system.dwTotalPhys;
        status.AvailPhys = system.dwAvailPhys;
        status.TotalPageFile = system.dwTotalPageFile;
        status.AvailPageFile = system.dwAvailPageFile;
        status.TotalVirtual = system.dwTotalVirtual;
        status.AvailVirtual = system.dwAvailVirtual;
    }
};

}  // namespace

MemoryStatus& SystemMemoryStatus()
{
    static MemoryStatusWin32 source;
    return source;
}

}  // namespace dotvane::platform
