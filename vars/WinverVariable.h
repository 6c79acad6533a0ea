#pragma once

#include <string>

namespace dotvane {

// "winver": "win9x" or "winnt" by platform family; empty on any other.
std::string WinverVariable();

}  // namespace dotvane
