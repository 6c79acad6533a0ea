#include "platform/PowerStatus.h"

#include "platform/win32/Win32Api.h"

namespace dotvane::platform {
namespace {

class PowerStatusWin32 : public PowerStatus {
public:
    bool GetSystemPowerStatus(PowerStatusRecord& status) override
    {
        status = PowerStatusRecord{};
        SYSTEM_POWER_STATUS system{};
        if (!::GetSystemPowerStatus(&system)) return false;
        status.ACLineStatus = system.ACLineStatus;
        status.BatteryFlag = system.BatteryFlag;
        status.BatteryLifePercent = system.BatteryLifePercent;
        status.BatteryLifeTime = system.BatteryLifeTime;
        status.BatteryFullLifeTime = system.BatteryFullLifeTime;
        return true;
    }
};

}  // namespace

PowerStatus& SystemPowerStatus()
{
    static PowerStatusWin32 source;
    return source;
}

}  // namespace dotvane::platform
