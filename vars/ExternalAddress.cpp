#include "vars/ExternalAddress.h"

namespace dotvane {

std::string ExternalAddress = "Unknown";

}  // namespace dotvane
