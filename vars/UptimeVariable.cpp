#include "vars/UptimeVariable.h"

#include "platform/TickCount.h"
#include "vars/Format.h"

namespace dotvane {

std::string UptimeVariable(std::string_view name)
{
    const uint64_t seconds = platform::TickCountService::Current().GetTickCount64() / 1000;
    const uint64_t totalHours = seconds / 3600;
    const uint64_t minutes = (seconds - totalHours * 3600) / 60;
    const uint64_t secondsPart = seconds - minutes * 60 - totalHours * 3600;
    const uint64_t days = totalHours / 24;
    const uint64_t hours = totalHours - days * 24;
    uint64_t value;
    if (name == "uptimed") value = days;
    else if (name == "uptimeh") value = hours;
    else if (name == "uptimem") value = minutes;
    else if (name == "uptimes") value = secondsPart;
    else return {};
    return PadLeft(FormatUnsigned(value), 2);
}

}  // namespace dotvane
