#pragma once

#include "base/Timer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dotvane {

// The period of the lookup timer at start: the first lookup comes ten
// seconds after the program starts.
inline constexpr int32_t kFirstLookupDelay = 10000;

// True while a lookup runs.
extern bool LookupBusy;

// The text between the first `before` in the body and the first `after`
// (searched from the start of the body); nothing when either is missing or
// `after` lies before the end of `before`.
std::optional<std::string> ExtractAddress(std::string_view body, std::string_view before, std::string_view after);

// Fetches ExternalIP/WebAddress and sets ExternalAddress to the text
// between BeforeString and AfterString in the page. Fetch failures are
// silent; when the markers are not found the address stays as it was.
// Returns at once while a lookup already runs.
void LookupExternalAddress();

// One tick of the lookup timer: sets the timer's period to ExternalIP/Update
// and looks the address up when ExternalIP/Enable is on.
void ExternalIPTimerTick(Timer& timer);

}  // namespace dotvane
