#include "platform/Disks.h"

#include "platform/win32/Win32Api.h"

#include <string>

namespace dotvane::platform {
namespace {

class DisksWin32 : public Disks {
public:
    bool GetDiskFreeSpaceEx(std::string_view path, DiskSpace& space) override
    {
        const std::string name(path);
        ULARGE_INTEGER available{}, total{}, totalFree{};
        if (!::GetDiskFreeSpaceExA(name.c_str(), &available, &total, &totalFree)) return false;
        space.FreeBytesAvailable = available.QuadPart;
        space.TotalBytes = total.QuadPart;
        space.TotalFreeBytes = totalFree.QuadPart;
        return true;
    }

    uint32_t GetDriveType(std::string_view root) override
    {
        const std::string name(root);
        return ::GetDriveTypeA(name.c_str());
    }
};

}  // namespace

Disks& SystemDisks()
{
    static DisksWin32 source;
    return source;
}

}  // namespace dotvane::platform
