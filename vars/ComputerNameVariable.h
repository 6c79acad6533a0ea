#pragma once

#include <string>

namespace dotvane {

// "computername": the computer's name as read into a 50-character buffer.
std::string ComputerNameVariable();

}  // namespace dotvane
