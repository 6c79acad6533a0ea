#pragma once

#include <string>
#include <string_view>

namespace dotvane {

// The "uptime" family: days, hours, minutes and seconds since the system
// started, each right-aligned in width 2.
std::string UptimeVariable(std::string_view name);

}  // namespace dotvane
