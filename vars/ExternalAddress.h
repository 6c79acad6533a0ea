#pragma once

#include <string>

namespace dotvane {

// The machine's address as the internet sees it, from the last lookup that
// found it; "Unknown" until then.
extern std::string ExternalAddress;

}  // namespace dotvane
