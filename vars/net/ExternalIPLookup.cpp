#include "vars/net/ExternalIPLookup.h"

#include "config/Settings.h"
#include "vars/ExternalAddress.h"
#include "vars/net/HttpClient.h"

#include <exception>

namespace dotvane {

bool LookupBusy = false;

std::optional<std::string> ExtractAddress(std::string_view body, std::string_view before, std::string_view after)
{
    const size_t marker = body.find(before);
    if (marker == std::string_view::npos) return std::nullopt;
    const size_t start = marker + before.size();
    const size_t end = body.find(after);
    if (end == std::string_view::npos || end < start) return std::nullopt;
    return std::string(body.substr(start, end - start));
}

void LookupExternalAddress()
{
    if (LookupBusy) return;
    LookupBusy = true;
    const auto& settings = MainSettings.ExternalIP;
    try {
        HttpClient.Get(settings.WebAddress);
    } catch (const std::exception&) {
        // Failures are silent: the markers are searched in the body held
        // from before, which normally leaves the address as it was.
    }
    if (auto address = ExtractAddress(HttpClient.Body(), settings.BeforeString, settings.AfterString))
        ExternalAddress = std::move(*address);
    LookupBusy = false;
}

void ExternalIPTimerTick(Timer& timer)
{
    timer.SetInterval(MainSettings.ExternalIP.Update);
    if (MainSettings.ExternalIP.Enable) LookupExternalAddress();
}

}  // namespace dotvane
