#include "platform/StopRequests.h"

namespace dotvane::platform {

// A window program on Windows has no console, so no console control event
// (Ctrl+C, closing the console) reaches it; Windows asks it to end through
// its window instead, which closes as File > Exit closes it.
StopRequests::StopRequests() = default;

StopRequests::~StopRequests() = default;

bool StopRequests::Take() { return false; }

}  // namespace dotvane::platform
