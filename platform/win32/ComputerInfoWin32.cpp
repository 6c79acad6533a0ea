#include "platform/ComputerInfo.h"

#include "platform/win32/Win32Api.h"

#include <vector>

namespace dotvane::platform {
namespace {

// The size of OSVERSIONINFOA, which GetVersionExA expects in its size field.
constexpr DWORD kVersionInfoSize = 148;
static_assert(sizeof(OSVERSIONINFOA) == kVersionInfoSize);

class ComputerInfoWin32 : public ComputerInfo {
public:
    std::string GetComputerName(size_t bufferSize) override
    {
        if (bufferSize == 0) return {};
        std::vector<char> buffer(bufferSize, '\0');
        DWORD size = static_cast<DWORD>(bufferSize);
        // A name that does not fit fails the call rather than being cut.
        if (!::GetComputerNameA(buffer.data(), &size)) return {};
        return std::string(buffer.data(), size);
    }

    uint32_t GetPlatformId() override
    {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = kVersionInfoSize;
        if (!::GetVersionExA(&info)) return 0;
        return info.dwPlatformId;
    }
};

}  // namespace

ComputerInfo& SystemComputerInfo()
{
    static ComputerInfoWin32 source;
    return source;
}

}  // namespace dotvane::platform
