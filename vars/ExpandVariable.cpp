#include "app/Settings.h"
#include "vars/ExpandLine.h"
#include "vars/ExternalAddress.h"
#include "vars/MailCountVariable.h"
#include "vars/MbmVariable.h"
#include "vars/PerfCounterSource.h"
#include "vars/SetiVariable.h"

namespace dotvane {

PerfCounterSource* PerfCounters = nullptr;

std::string ExpandVariable(std::string_view name)
{
    // The order matters only in principle (no listed word begins another),
    // but it is the documented one and families are tried exactly so.
    if (PerfCounters != nullptr && MainSettings.NTPerfMon.Enable && name.starts_with("pdh_"))
        return PerfCounters->Value(name);
    if (name.starts_with("mbm")) return MbmVariable(name);
    if (name.starts_with("mailcount")) return MailCountVariable(name);
    if (name == "extip") return MainSettings.ExternalIP.Enable ? ExternalAddress : std::string();
    // The SETI@home figures come last; no other family's word begins "seti".
    if (name.starts_with("seti")) return SetiVariable(name);
    return {};
}

}  // namespace dotvane
