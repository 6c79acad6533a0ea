#include "vars/WinverVariable.h"

#include "platform/ComputerInfo.h"

namespace dotvane {

std::string WinverVariable()
{
    switch (platform::ComputerInfoService::Current().GetPlatformId()) {
    case platform::kPlatformWin9x: return "win9x";
    case platform::kPlatformNt: return "winnt";
    default: return {};
    }
}

}  // namespace dotvane
