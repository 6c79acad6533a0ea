#pragma once

#include "base/ReentrancyGuard.h"
#include "base/Timer.h"
#include "vars/net/HttpClient.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dotvane {

// The period of the lookup timer at start: the first lookup comes ten
// seconds after the program starts.
inline constexpr int32_t kFirstLookupDelay = 10000;

// The text between the first `before` in the body and the first `after`
// (searched from the start of the body); nothing when either is missing or
// `after` lies before the end of `before`.
std::optional<std::string> ExtractAddress(std::string_view body, std::string_view before, std::string_view after);

// The lookup settings, as views into the settings record, read at every
// lookup.
struct LookupSettings {
    const bool& Enable;
    const int32_t& Update;
    const std::string& WebAddress;
    const std::string& BeforeString;
    const std::string& AfterString;
};

// The external address lookup of the lookup timer: it keeps the address it
// found in `address` and fetches through `client`.
class ExternalIPLookup {
public:
    ExternalIPLookup(LookupSettings settings, std::string& address, THttpClient& client);

    // Fetches WebAddress and sets the address to the text between
    // BeforeString and AfterString in the page. Fetch failures are silent;
    // when the markers are not found the address stays as it was. Returns
    // at once while a lookup already runs.
    void LookupExternalAddress();

    // One tick of the lookup timer: sets the timer's period to Update and
    // looks the address up when Enable is on.
    void ExternalIPTimerTick(Timer& timer);

    // True while a lookup runs.
    bool LookupBusy() const { return busy_.Running(); }

private:
    LookupSettings settings_;
    std::string& address_;
    THttpClient& client_;
    ReentrancyGuard busy_;
};

}  // namespace dotvane
