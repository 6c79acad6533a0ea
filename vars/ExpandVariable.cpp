#include "vars/ExpandLine.h"

#include "vars/BatteryVariable.h"
#include "vars/ClockVariables.h"
#include "vars/ComputerNameVariable.h"
#include "vars/DiskVariables.h"
#include "vars/LocalIpVariable.h"
#include "vars/MailCountVariable.h"
#include "vars/MbmVariable.h"
#include "vars/MemoryVariable.h"
#include "vars/SetiVariable.h"
#include "vars/TextFileVariable.h"
#include "vars/UptimeVariable.h"
#include "vars/WinampVariable.h"
#include "vars/WinverVariable.h"

namespace dotvane {

std::string ExpandVariable(std::string_view name, const VariableContext& context)
{
    const TMainSettings& MainSettings = context.MainSettings;
    const LiveValues& values = context.Values;
    // The order matters only in principle (no listed word begins another),
    // but it is the documented one and families are tried exactly so.
    if (context.PerfCounters != nullptr && MainSettings.NTPerfMon.Enable && name.starts_with("pdh_"))
        return context.PerfCounters->Value(name);
    if (name.starts_with("mbm"))
        return MbmVariable(name, context.Sensors != nullptr ? context.Sensors->Readings() : values.SensorMirror);
    if (name.starts_with("bat_")) return BatteryVariable(name);
    if (name.starts_with("uptime")) return UptimeVariable(name);
    if (name.starts_with("mem")) return MemoryVariable(name);
    if (name.starts_with("winamp")) return WinampVariable(name);
    if (name == "computername") return ComputerNameVariable();
    if (name.starts_with("mailcount")) return MailCountVariable(name, values.MailCount);
    if (name == "weekday") return WeekdayVariable(MainSettings.WeekdayNames);
    if (name == "date") return DateVariable();
    if (name == "time") return TimeVariable();
    if (name == "localip") return LocalIpVariable();
    if (name == "extip") return MainSettings.ExternalIP.Enable ? values.ExternalAddress : std::string();
    if (name == "winver") return WinverVariable();
    if (name.starts_with("diskfree")) return DiskFreeVariable(name);
    if (name.starts_with("disksize")) return DiskSizeVariable(name);
    if (name.starts_with("diskpctfull")) return DiskPercentFullVariable(name);
    if (name.starts_with("drivetype")) return DriveTypeVariable(name);
    if (name.starts_with("textfile")) return TextFileVariable(name);
    // The SETI@home figures come last; no other family's word begins "seti".
    if (name.starts_with("seti")) return SetiVariable(name, values.SetiStats);
    return {};
}

}  // namespace dotvane
