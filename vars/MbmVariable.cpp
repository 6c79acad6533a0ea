#include "vars/MbmVariable.h"

#include "vars/Format.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace dotvane {
namespace {

struct Region {
    std::string_view prefix;
    size_t first;
    size_t slots;
};

constexpr Region kTemperatures{"mbmtemp", 0, 32};
constexpr Region kVoltages{"mbmvolt", 32, 16};
constexpr Region kFans{"mbmfan", 48, 16};
constexpr Region kUsage{"mbmusage", 65, 35};
constexpr size_t kClockSlot = 64;

// The slot that the name's argument selects inside the region.
std::optional<double> Reading(std::string_view name, const Region& region, const SensorReadings& SensorMirror)
{
    const auto argument = VariableArgument(name);
    if (!argument) return std::nullopt;
    const int32_t k = ReadWholeNumber(*argument);
    if (k < 0 || static_cast<size_t>(k) >= region.slots) return std::nullopt;
    return SensorMirror[region.first + static_cast<size_t>(k)];
}

// The reading cut toward zero. Readings beyond the 64-bit range stop at its
// ends; one that is not a number has no integer and shows nothing.
std::string Truncated(std::optional<double> reading)
{
    if (!reading || std::isnan(*reading)) return {};
    constexpr double kLimit = 9223372036854775807.0;
    if (*reading >= kLimit) return FormatSigned(INT64_MAX);
    if (*reading <= -kLimit) return FormatSigned(INT64_MIN);
    return FormatSigned(static_cast<int64_t>(std::trunc(*reading)));
}

}  // namespace

std::string MbmVariable(std::string_view name, const SensorReadings& SensorMirror)
{
    if (name.starts_with(kTemperatures.prefix)) return Truncated(Reading(name, kTemperatures, SensorMirror));
    if (name.starts_with(kVoltages.prefix)) {
        const auto reading = Reading(name, kVoltages, SensorMirror);
        return reading ? PadLeft(FormatGeneral(*reading, 3), 4) : std::string();
    }
    if (name.starts_with(kFans.prefix)) return Truncated(Reading(name, kFans, SensorMirror));
    if (name.starts_with("mbmmhz")) return Truncated(SensorMirror[kClockSlot]);
    if (name.starts_with(kUsage.prefix)) return Truncated(Reading(name, kUsage, SensorMirror));
    return {};
}

}  // namespace dotvane
