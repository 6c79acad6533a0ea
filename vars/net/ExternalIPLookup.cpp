#include "vars/net/ExternalIPLookup.h"

#include <exception>

namespace dotvane {

std::optional<std::string> ExtractAddress(std::string_view body, std::string_view before, std::string_view after)
{
    const size_t marker = body.find(before);
    if (marker == std::string_view::npos) return std::nullopt;
    const size_t start = marker + before.size();
    const size_t end = body.find(after);
    if (end == std::string_view::npos || end < start) return std::nullopt;
    return std::string(body.substr(start, end - start));
}

ExternalIPLookup::ExternalIPLookup(LookupSettings settings, std::string& address, THttpClient& client)
    : settings_(settings), address_(address), client_(client)
{
}

void ExternalIPLookup::LookupExternalAddress()
{
    const auto running = busy_.Enter();
    if (!running) return;
    try {
        client_.Get(settings_.WebAddress);
    } catch (const std::exception&) {
        // Failures are silent: the markers are searched in the body held
        // from before, which normally leaves the address as it was.
    }
    if (auto address = ExtractAddress(client_.Body(), settings_.BeforeString, settings_.AfterString))
        address_ = std::move(*address);
}

void ExternalIPLookup::ExternalIPTimerTick(Timer& timer)
{
    timer.SetInterval(settings_.Update);
    if (settings_.Enable) LookupExternalAddress();
}

}  // namespace dotvane
