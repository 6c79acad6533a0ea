#pragma once

namespace dotvane::platform {

// Starts Winsock 2.2 for the process once; later calls only report how the
// first one went. Winsock stays started until the process ends.
bool EnsureWinsock();

}  // namespace dotvane::platform
