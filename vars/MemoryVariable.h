#pragma once

#include <string>
#include <string_view>

namespace dotvane {

// The "mem" family: memory figures in whole kilobytes, and the load in
// percent.
std::string MemoryVariable(std::string_view name);

}  // namespace dotvane
