#include "config/Settings.h"
#include "vars/ExpandLine.h"
#include "vars/BatteryVariable.h"
#include "vars/ClockVariables.h"
#include "vars/ComputerNameVariable.h"
#include "vars/DiskVariables.h"
#include "vars/ExternalAddress.h"
#include "vars/LocalIpVariable.h"
#include "vars/MailCountVariable.h"
#include "vars/MbmVariable.h"
#include "vars/MemoryVariable.h"
#include "vars/PerfCounterSource.h"
#include "vars/SetiVariable.h"
#include "vars/TextFileVariable.h"
#include "vars/UptimeVariable.h"
#include "vars/WinampVariable.h"
#include "vars/WinverVariable.h"

namespace dotvane {

PerfCounterSource* PerfCounters = nullptr;

std::string ExpandVariable(std::string_view name)
{
    // The order matters only in principle (no listed word begins another),
    // but it is the documented one and families are tried exactly so.
    if (PerfCounters != nullptr && MainSettings.NTPerfMon.Enable && name.starts_with("pdh_"))
        return PerfCounters->Value(name);
    if (name.starts_with("mbm")) return MbmVariable(name);
    if (name.starts_with("bat_")) return BatteryVariable(name);
    if (name.starts_with("uptime")) return UptimeVariable(name);
    if (name.starts_with("mem")) return MemoryVariable(name);
    if (name.starts_with("winamp")) return WinampVariable(name);
    if (name == "computername") return ComputerNameVariable();
    if (name.starts_with("mailcount")) return MailCountVariable(name);
    if (name == "weekday") return WeekdayVariable();
    if (name == "date") return DateVariable();
    if (name == "time") return TimeVariable();
    if (name == "localip") return LocalIpVariable();
    if (name == "extip") return MainSettings.ExternalIP.Enable ? ExternalAddress : std::string();
    if (name == "winver") return WinverVariable();
    if (name.starts_with("diskfree")) return DiskFreeVariable(name);
    if (name.starts_with("disksize")) return DiskSizeVariable(name);
    if (name.starts_with("diskpctfull")) return DiskPercentFullVariable(name);
    if (name.starts_with("drivetype")) return DriveTypeVariable(name);
    if (name.starts_with("textfile")) return TextFileVariable(name);
    // The SETI@home figures come last; no other family's word begins "seti".
    if (name.starts_with("seti")) return SetiVariable(name);
    return {};
}

}  // namespace dotvane
