#include "vars/BatteryVariable.h"

#include "platform/PowerStatus.h"
#include "vars/Format.h"

namespace dotvane {
namespace {

std::string AcLineText(uint8_t status)
{
    switch (status) {
    case 0: return "Offline";
    case 1: return "Online";
    default: return "Unknown";
    }
}

// The flag is compared as a whole byte, so combinations such as high and
// charging (9) read as unknown.
std::string ChargeText(uint8_t flag)
{
    switch (flag) {
    case 1: return "High";
    case 2: return "Low";
    case 4: return "Critical";
    case 8: return "Charging";
    case 128: return "No Battery";
    default: return "Unknown";
    }
}

}  // namespace

std::string BatteryVariable(std::string_view name)
{
    platform::PowerStatusRecord status;
    platform::PowerStatusService::Current().GetSystemPowerStatus(status);
    if (name == "bat_acline") return AcLineText(status.ACLineStatus);
    if (name == "bat_charge") return ChargeText(status.BatteryFlag);
    if (name == "bat_lifepercent") return FormatUnsigned(status.BatteryLifePercent);
    if (name == "bat_lifetime") return FormatSigned(static_cast<int32_t>(status.BatteryLifeTime));
    if (name == "bat_fulllifetime") return FormatSigned(static_cast<int32_t>(status.BatteryFullLifeTime));
    return {};
}

}  // namespace dotvane
