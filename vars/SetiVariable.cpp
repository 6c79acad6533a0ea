#include "vars/SetiVariable.h"

#include "vars/Format.h"

#include <charconv>

namespace dotvane {
namespace {

// Fixed notation with two decimals, whatever the process locale.
std::string TwoDecimals(double value)
{
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return ec == std::errc{} ? std::string(buffer, end) : std::string();
}

}  // namespace

std::string SetiVariable(std::string_view name, const TSetiStats& SetiStats)
{
    const TSetiStats& s = SetiStats;
    if (name == "setiprog") return TwoDecimals(s.Progress);
    if (name == "setiuser") return s.UserName;
    if (name == "setinresults") return FormatSigned(s.ResultCount);
    if (name == "setitotal_cpu") return TwoDecimals(s.CpuTime);
    if (name == "setispike") return FormatSigned(s.Spikes);
    if (name == "setigaussian") return FormatSigned(s.Gaussians);
    if (name == "setipulse") return FormatSigned(s.Pulses);
    if (name == "setitriplet") return FormatSigned(s.Triplets);
    return {};
}

}  // namespace dotvane
