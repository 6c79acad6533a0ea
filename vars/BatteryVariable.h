#pragma once

#include <string>
#include <string_view>

namespace dotvane {

// The "bat_" family: mains and battery state from the power status, asked
// once per expansion.
std::string BatteryVariable(std::string_view name);

}  // namespace dotvane
