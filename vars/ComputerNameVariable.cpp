#include "vars/ComputerNameVariable.h"

#include "platform/ComputerInfo.h"

namespace dotvane {

std::string ComputerNameVariable() { return platform::ComputerInfoService::Current().GetComputerName(50); }

}  // namespace dotvane
