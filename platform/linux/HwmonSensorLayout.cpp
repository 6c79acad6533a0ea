#include "platform/linux/HwmonSensorLayout.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <system_error>

namespace dotvane::platform {
namespace {

constexpr size_t kTemperatures = 32;
constexpr size_t kVoltages = 16;
constexpr size_t kFans = 16;
constexpr size_t kFirstVoltage = kTemperatures;
constexpr size_t kFirstFan = kFirstVoltage + kVoltages;
constexpr size_t kClock = kFirstFan + kFans;
constexpr size_t kFirstUsage = kClock + 1;
constexpr size_t kMaxRecords = 100;

// The number N of a name "<prefix>N<suffix>", or nothing.
std::optional<int> NumberBetween(std::string_view name, std::string_view prefix, std::string_view suffix)
{
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) return std::nullopt;
    const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (digits.empty()) return std::nullopt;
    int number = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return number;
}

struct Channels {
    std::map<int, double> temperatures;
    std::map<int, double> voltages;
    std::map<int, double> fans;
    bool Empty() const { return temperatures.empty() && voltages.empty() && fans.empty(); }
};

// The readings of one hwmon folder, by channel number. Values come in
// thousandths of °C and of volts, and in whole RPM.
Channels ReadChannels(const std::filesystem::path& folder)
{
    Channels channels;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::map<int, double>* target = nullptr;
        double scale = 1;
        std::optional<int> channel;
        if ((channel = NumberBetween(name, "temp", "_input"))) {
            target = &channels.temperatures;
            scale = 1000;
        } else if ((channel = NumberBetween(name, "in", "_input"))) {
            target = &channels.voltages;
            scale = 1000;
        } else if ((channel = NumberBetween(name, "fan", "_input"))) {
            target = &channels.fans;
        }
        if (target == nullptr) continue;
        if (const auto value = ReadKernelNumber(it->path())) (*target)[*channel] = *value / scale;
    }
    return channels;
}

// Every hwmon device's channels, in the order of the device numbers. Older
// drivers keep their files in the device folder below.
std::vector<Channels> ReadHwmon(const std::filesystem::path& sysRoot)
{
    std::map<int, std::filesystem::path> devices;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(sysRoot / "class" / "hwmon", ec), end; !ec && it != end;
         it.increment(ec)) {
        if (const auto number = NumberBetween(it->path().filename().string(), "hwmon", ""))
            devices[*number] = it->path();
    }
    std::vector<Channels> result;
    for (const auto& [number, folder] : devices) {
        Channels channels = ReadChannels(folder);
        if (channels.Empty()) channels = ReadChannels(folder / "device");
        result.push_back(std::move(channels));
    }
    return result;
}

std::optional<double> ReadClockMhz(const std::filesystem::path& sysRoot, const std::filesystem::path& procRoot)
{
    if (const auto khz = ReadKernelNumber(sysRoot / "devices/system/cpu/cpu0/cpufreq/scaling_cur_freq"))
        return *khz / 1000;
    const auto cpuinfo = ReadKernelFile(procRoot / "cpuinfo");
    if (!cpuinfo) return std::nullopt;
    for (std::string_view line : SplitLines(*cpuinfo)) {
        if (!line.starts_with("cpu MHz")) continue;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        return ParseLeadingNumber(line.substr(colon + 1));
    }
    return std::nullopt;
}

void PutInt32(std::vector<std::byte>& bytes, size_t offset, uint32_t value)
{
    for (size_t k = 0; k < 4; ++k) bytes[offset + k] = static_cast<std::byte>((value >> (8 * k)) & 0xFF);
}

void PutDouble(std::vector<std::byte>& bytes, size_t offset, double value)
{
    const auto bits = std::bit_cast<uint64_t>(value);
    for (size_t k = 0; k < 8; ++k) bytes[offset + k] = static_cast<std::byte>((bits >> (8 * k)) & 0xFF);
}

}  // namespace

HwmonSensorLayout::HwmonSensorLayout(std::filesystem::path sysRoot, std::filesystem::path procRoot)
    : sysRoot_(std::move(sysRoot)), procRoot_(std::move(procRoot))
{
}

std::vector<std::byte> HwmonSensorLayout::Build()
{
    std::vector<double> readings(kFirstUsage, 0.0);
    size_t temperature = 0, voltage = 0, fan = 0;
    bool found = false;
    for (const Channels& device : ReadHwmon(sysRoot_)) {
        for (const auto& [channel, value] : device.temperatures)
            if (temperature < kTemperatures) readings[temperature++] = value;
        for (const auto& [channel, value] : device.voltages)
            if (voltage < kVoltages) readings[kFirstVoltage + voltage++] = value;
        for (const auto& [channel, value] : device.fans)
            if (fan < kFans) readings[kFirstFan + fan++] = value;
        found = found || !device.Empty();
    }
    if (const auto mhz = ReadClockMhz(sysRoot_, procRoot_)) {
        readings[kClock] = *mhz;
        found = true;
    }

    std::vector<CpuTimes> current = ReadCpuTimes(procRoot_);
    if (current.size() > kMaxRecords - kFirstUsage) current.resize(kMaxRecords - kFirstUsage);
    for (const CpuTimes& now : current) {
        const auto before = std::find_if(previous_.begin(), previous_.end(),
                                         [&](const CpuTimes& p) { return p.cpu == now.cpu; });
        readings.push_back(before == previous_.end() ? 0.0 : BusyPercent(*before, now));
    }
    previous_ = current;
    found = found || !current.empty();
    if (!found) return {};

    std::vector<std::byte> bytes(kRecordsOffset + kRecordSize * readings.size(), std::byte{0});
    const uint32_t counts[] = {kTemperatures, kVoltages, kFans, 1, static_cast<uint32_t>(current.size())};
    for (uint32_t i = 0; i < std::size(counts); ++i) {
        PutInt32(bytes, kIndexOffset + 8 * i, i + 1);
        PutInt32(bytes, kIndexOffset + 8 * i + 4, counts[i]);
    }
    for (size_t j = 0; j < readings.size(); ++j)
        PutDouble(bytes, kRecordsOffset + kRecordSize * j + kReadingOffset, readings[j]);
    return bytes;
}

}  // namespace dotvane::platform
