#include "vars/WinampVariable.h"

#include "platform/Player.h"
#include "vars/Format.h"

namespace dotvane {
namespace {

// Minutes, ":", seconds zero-filled to two digits; truncating division, so a
// negative value keeps its sign in both parts.
std::string MinutesAndSeconds(int32_t seconds)
{
    return FormatSigned(seconds / 60) + ":" + ZeroFill(FormatSigned(seconds % 60), 2);
}

}  // namespace

std::string WinampTitle(std::string_view windowText)
{
    constexpr std::string_view kSuffix = "- Winamp";
    const std::string_view text = windowText.substr(0, 2047);
    if (text.size() < kSuffix.size()) return {};
    const size_t suffix = text.rfind(kSuffix, text.size() - kSuffix.size());
    if (suffix == std::string_view::npos) return {};
    std::string_view rest = text.substr(0, suffix);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    const size_t number = rest.find(". ");
    if (number != std::string_view::npos) rest.remove_prefix(number + 2);
    return std::string(rest);
}

std::string WinampVariable(std::string_view name)
{
    platform::Player& player = platform::PlayerService::Current();
    const bool found = player.FindWindow();
    const auto query = [&](int32_t data, int32_t command) { return found ? player.SendQuery(data, command) : 0; };

    if (name == "winampstatus") {
        switch (query(0, platform::kPlayerGetStatus)) {
        case platform::kPlayerPlaying: return "playing";
        case platform::kPlayerPaused: return "paused";
        default: return "stopped";
        }
    }
    if (name == "winamptrackpos") return MinutesAndSeconds(query(0, platform::kPlayerGetOutputTime) / 1000);
    if (name == "winamptracklen") return MinutesAndSeconds(query(1, platform::kPlayerGetOutputTime));
    if (name == "winamptitle") return found ? WinampTitle(player.WindowText()) : std::string();
    if (name == "winampsamplerate") return FormatSigned(query(0, platform::kPlayerGetInfo));
    if (name == "winampbitrate") return PadLeft(FormatSigned(query(1, platform::kPlayerGetInfo)), 3);
    if (name == "winamptracknum") return FormatSigned(int64_t{query(0, platform::kPlayerGetListPosition)} + 1);
    if (name == "winamptracktotal") return FormatSigned(query(0, platform::kPlayerGetListLength));
    if (name == "winampchannels") {
        switch (query(2, platform::kPlayerGetInfo)) {
        case 2: return PadLeft("Stereo", 6);
        case 1: return PadLeft("Mono", 6);
        default: return PadLeft("?", 6);
        }
    }
    return {};
}

}  // namespace dotvane
