#include "platform/linux/PowerStatusLinux.h"

#include "platform/linux/SysFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace dotvane::platform {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kUnknownTime = 0xFFFFFFFFu;

// What one battery of the system tells. Amounts are either energy (µWh and
// µW) or charge (µAh and µA); `usesCharge` says which.
struct Battery {
    std::string status;
    std::optional<int64_t> capacity;
    std::string capacityLevel;
    bool usesCharge = false;
    std::optional<int64_t> now;
    std::optional<int64_t> full;
    std::optional<int64_t> rate;
    std::optional<int64_t> timeToEmpty;
};

struct Supplies {
    // Whether the folder of supplies could be listed.
    bool listed = false;
    // Whether a supply could not tell its type.
    bool unreadable = false;
    bool hasMains = false;
    bool mainsOnline = false;
    // Whether a mains supply could not tell whether it is on line.
    bool mainsUnknown = false;
    std::vector<Battery> batteries;
};

std::string ReadText(KernelFileSnapshot& files, const fs::path& file)
{
    return std::string(ReadFirstLine(files, file).value_or(std::string_view()));
}

Battery ReadBattery(KernelFileSnapshot& files, const fs::path& dir)
{
    Battery battery;
    battery.status = ReadText(files, dir / "status");
    battery.capacity = ReadInteger(files, dir / "capacity");
    battery.capacityLevel = ReadText(files, dir / "capacity_level");
    battery.now = ReadInteger(files, dir / "energy_now");
    battery.full = ReadInteger(files, dir / "energy_full");
    battery.rate = ReadInteger(files, dir / "power_now");
    if (!battery.now && !battery.full) {
        battery.usesCharge = true;
        battery.now = ReadInteger(files, dir / "charge_now");
        battery.full = ReadInteger(files, dir / "charge_full");
        battery.rate = ReadInteger(files, dir / "current_now");
    }
    battery.timeToEmpty = ReadInteger(files, dir / "time_to_empty_now");
    return battery;
}

Supplies ReadSupplies(KernelFileSnapshot& files, const fs::path& folder)
{
    Supplies supplies;
    std::vector<fs::path> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());
    if (ec) return supplies;
    supplies.listed = true;
    std::sort(entries.begin(), entries.end());

    for (const fs::path& dir : entries) {
        const std::optional<std::string_view> type = ReadFirstLine(files, dir / "type");
        if (!type) {
            supplies.unreadable = true;
        } else if (*type == "Mains") {
            supplies.hasMains = true;
            const std::optional<int64_t> online = ReadInteger(files, dir / "online");
            if (!online) supplies.mainsUnknown = true;
            else if (*online == 1) supplies.mainsOnline = true;
        } else if (*type == "Battery") {
            // Peripherals report their own batteries with the scope "Device";
            // they do not power the computer.
            if (ReadText(files, dir / "scope") == "Device") continue;
            if (ReadInteger(files, dir / "present").value_or(1) == 0) continue;
            supplies.batteries.push_back(ReadBattery(files, dir));
        }
    }
    return supplies;
}

bool AnyStatus(const std::vector<Battery>& batteries, std::string_view status)
{
    return std::any_of(batteries.begin(), batteries.end(), [&](const Battery& b) { return b.status == status; });
}

uint8_t AcLineStatus(const Supplies& supplies)
{
    if (supplies.hasMains) {
        if (supplies.mainsOnline) return 1;
        return supplies.mainsUnknown ? 255 : 0;
    }
    if (AnyStatus(supplies.batteries, "Discharging")) return 0;
    if (AnyStatus(supplies.batteries, "Charging") || AnyStatus(supplies.batteries, "Full")) return 1;
    // Nothing that powers the computer is listed: a desktop or a server,
    // which runs on mains, as Windows reports such a machine.
    if (supplies.listed && !supplies.unreadable && supplies.batteries.empty()) return 1;
    return 255;
}

// Whether every battery gives the amounts in the same unit, so that they
// can be added up.
bool SameUnit(const std::vector<Battery>& batteries)
{
    return std::all_of(batteries.begin(), batteries.end(),
                       [&](const Battery& b) { return b.usesCharge == batteries.front().usesCharge; });
}

std::optional<int> BatteryPercent(const Battery& battery)
{
    if (battery.capacity) return static_cast<int>(std::clamp<int64_t>(*battery.capacity, 0, 100));
    if (battery.now && battery.full && *battery.full > 0)
        return static_cast<int>(std::clamp<int64_t>(std::llround(100.0 * *battery.now / *battery.full), 0, 100));
    return std::nullopt;
}

// The charge left of all batteries together: one battery's own capacity;
// for several, their amounts added up, else the mean of what they tell.
std::optional<int> TotalPercent(const std::vector<Battery>& batteries)
{
    if (batteries.size() == 1) return BatteryPercent(batteries.front());
    if (SameUnit(batteries)) {
        int64_t now = 0, full = 0;
        bool complete = true;
        for (const Battery& b : batteries) {
            if (!b.now || !b.full) complete = false;
            else now += *b.now, full += *b.full;
        }
        if (complete && full > 0)
            return static_cast<int>(std::clamp<int64_t>(std::llround(100.0 * now / full), 0, 100));
    }
    int sum = 0, count = 0;
    for (const Battery& b : batteries)
        if (const auto percent = BatteryPercent(b)) sum += *percent, ++count;
    if (count == 0) return std::nullopt;
    return (sum + count / 2) / count;
}

// The level bits from the kernel's coarse level when no percent is known.
std::optional<uint8_t> LevelBits(const std::vector<Battery>& batteries)
{
    // The weakest battery decides, as it is the one that runs out.
    std::optional<uint8_t> bits;
    int rank = -1;
    for (const Battery& b : batteries) {
        int r;
        uint8_t value;
        if (b.capacityLevel == "Critical") r = 4, value = 4;
        else if (b.capacityLevel == "Low") r = 3, value = 2;
        else if (b.capacityLevel == "Normal") r = 2, value = 0;
        else if (b.capacityLevel == "High" || b.capacityLevel == "Full") r = 1, value = 1;
        else continue;
        if (r > rank) rank = r, bits = value;
    }
    return bits;
}

uint8_t BatteryFlag(const std::vector<Battery>& batteries, std::optional<int> percent)
{
    if (batteries.empty()) return 128;
    std::optional<uint8_t> bits;
    if (percent) {
        // Critical and low are separate ranges, so that a nearly empty
        // battery reads as critical and not as low and critical at once.
        if (*percent > 66) bits = 1;
        else if (*percent < 5) bits = 4;
        else if (*percent < 33) bits = 2;
        else bits = 0;
    } else {
        bits = LevelBits(batteries);
    }
    if (!bits) return 255;
    if (AnyStatus(batteries, "Charging")) *bits |= 8;
    return *bits;
}

// Hours of amount ÷ rate in seconds; unknown for a rate of 0 or a result
// that does not fit.
uint32_t SecondsAtRate(int64_t amount, int64_t rate)
{
    if (rate == 0 || amount < 0) return kUnknownTime;
    const double seconds = 3600.0 * static_cast<double>(amount) / std::abs(static_cast<double>(rate));
    if (seconds >= std::numeric_limits<int32_t>::max()) return kUnknownTime;
    return static_cast<uint32_t>(std::llround(seconds));
}

void LifeTimes(const std::vector<Battery>& batteries, PowerStatusRecord& status)
{
    if (batteries.empty() || !SameUnit(batteries)) return;
    int64_t now = 0, full = 0, rate = 0, timeToEmpty = 0;
    bool haveNow = true, haveFull = true, haveRate = true, haveTime = true;
    for (const Battery& b : batteries) {
        if (b.now) now += *b.now; else haveNow = false;
        if (b.full) full += *b.full; else haveFull = false;
        if (b.rate) rate += std::abs(*b.rate); else haveRate = false;
        if (b.timeToEmpty) timeToEmpty += *b.timeToEmpty; else haveTime = false;
    }
    if (haveTime && timeToEmpty >= 0 && timeToEmpty < std::numeric_limits<int32_t>::max())
        status.BatteryLifeTime = static_cast<uint32_t>(timeToEmpty);
    else if (haveNow && haveRate)
        status.BatteryLifeTime = SecondsAtRate(now, rate);
    if (haveFull && haveRate) status.BatteryFullLifeTime = SecondsAtRate(full, rate);
}

}  // namespace

PowerStatusLinux::PowerStatusLinux(std::filesystem::path sysRoot, KernelFileSnapshot& files)
    : supplies_(std::move(sysRoot) / "class" / "power_supply"), files_(files)
{
}

bool PowerStatusLinux::GetSystemPowerStatus(PowerStatusRecord& status)
{
    status = PowerStatusRecord{};
    const Supplies supplies = ReadSupplies(files_, supplies_);
    status.ACLineStatus = AcLineStatus(supplies);
    const std::optional<int> percent = supplies.batteries.empty() ? std::nullopt : TotalPercent(supplies.batteries);
    status.BatteryFlag = BatteryFlag(supplies.batteries, percent);
    if (percent) status.BatteryLifePercent = static_cast<uint8_t>(*percent);
    // On mains the times are unknown, as the system reports them.
    if (status.ACLineStatus != 1) LifeTimes(supplies.batteries, status);
    return true;
}

PowerStatus& SystemPowerStatus()
{
    static PowerStatusLinux source;
    return source;
}

}  // namespace dotvane::platform
