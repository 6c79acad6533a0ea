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

constexpr double kThousandths = 1000;

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

// Where one Build puts the readings, and how far each region is filled.
struct HwmonSensorLayout::Readings {
    std::vector<double> values = std::vector<double>(kFirstUsage, 0.0);
    size_t temperatures = 0;
    size_t voltages = 0;
    size_t fans = 0;
};

namespace {

// Reads the files of one kind into the region that starts at `first` and
// holds `size` readings, from `used` on; returns whether any file gave a
// reading, also one for which the region had no room. Of files with the same
// channel number the last one that gives a reading counts.
template <typename Channel>
bool ReadKind(KernelFileSnapshot& files, const std::vector<Channel>& channels, double scale,
              std::vector<double>& values, size_t first, size_t size, size_t& used)
{
    bool any = false;
    for (size_t k = 0; k < channels.size();) {
        std::optional<double> value;
        const int number = channels[k].number;
        for (; k < channels.size() && channels[k].number == number; ++k)
            if (const auto read = ReadKernelNumber(files, channels[k].file)) value = *read / scale;
        if (!value) continue;
        any = true;
        if (used < size) values[first + used++] = *value;
    }
    return any;
}

}  // namespace

HwmonSensorLayout::HwmonSensorLayout(std::filesystem::path sysRoot, std::filesystem::path procRoot,
                                     KernelFileSnapshot& files, Clock now)
    : sysRoot_(std::move(sysRoot)),
      procRoot_(std::move(procRoot)),
      files_(files),
      now_(std::move(now)),
      cpufreq_(sysRoot_ / "devices/system/cpu/cpu0/cpufreq/scaling_cur_freq"),
      stat_(procRoot_ / "stat")
{
}

void HwmonSensorLayout::Rediscover() { discovered_ = false; }

void HwmonSensorLayout::Discover()
{
    // The sensor files of a folder by kind, in the order of their channel
    // numbers; files of the same number stay in the folder's order.
    const auto findFiles = [](const std::filesystem::path& folder) {
        Folder found;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (const auto channel = NumberBetween(name, "temp", "_input"))
                found.temperatures.push_back({*channel, it->path()});
            else if (const auto channel = NumberBetween(name, "in", "_input"))
                found.voltages.push_back({*channel, it->path()});
            else if (const auto channel = NumberBetween(name, "fan", "_input"))
                found.fans.push_back({*channel, it->path()});
        }
        for (auto* kind : {&found.temperatures, &found.voltages, &found.fans})
            std::stable_sort(kind->begin(), kind->end(),
                             [](const Channel& a, const Channel& b) { return a.number < b.number; });
        return found;
    };

    std::map<int, std::filesystem::path> folders;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(sysRoot_ / "class" / "hwmon", ec), end; !ec && it != end;
         it.increment(ec)) {
        if (const auto number = NumberBetween(it->path().filename().string(), "hwmon", ""))
            folders[*number] = it->path();
    }
    devices_.clear();
    for (const auto& [number, folder] : folders)
        devices_.push_back(Device{findFiles(folder), findFiles(folder / "device")});

    hasCpufreq_ = std::filesystem::exists(cpufreq_, ec);
    cpuinfoReadAt_.reset();
    discovered_ = true;
}

bool HwmonSensorLayout::ReadFolder(const Folder& folder, Readings& readings)
{
    bool any = ReadKind(files_, folder.temperatures, kThousandths, readings.values, 0, kTemperatures,
                        readings.temperatures);
    any = ReadKind(files_, folder.voltages, kThousandths, readings.values, kFirstVoltage, kVoltages,
                   readings.voltages) || any;
    any = ReadKind(files_, folder.fans, 1, readings.values, kFirstFan, kFans, readings.fans) || any;
    return any;
}

bool HwmonSensorLayout::ReadDevice(const Device& device, Readings& readings)
{
    return ReadFolder(device.own, readings) || ReadFolder(device.below, readings);
}

std::optional<double> HwmonSensorLayout::CpuinfoMhz()
{
    const auto now = now_();
    if (cpuinfoReadAt_ && now - *cpuinfoReadAt_ < kCpuinfoPeriod) return cpuinfoMhz_;
    cpuinfoReadAt_ = now;
    cpuinfoMhz_.reset();
    const auto cpuinfo = ReadKernelFile(files_, procRoot_ / "cpuinfo");
    if (!cpuinfo) return cpuinfoMhz_;
    for (std::string_view line : SplitLines(*cpuinfo)) {
        if (!line.starts_with("cpu MHz")) continue;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        cpuinfoMhz_ = ParseLeadingNumber(line.substr(colon + 1));
        break;
    }
    return cpuinfoMhz_;
}

std::optional<double> HwmonSensorLayout::ClockMhz()
{
    if (hasCpufreq_)
        if (const auto khz = ReadKernelNumber(files_, cpufreq_)) return *khz / 1000;
    return CpuinfoMhz();
}

std::vector<std::byte> HwmonSensorLayout::Build()
{
    if (!discovered_) Discover();
    Readings readings;
    bool found = false;
    for (const Device& device : devices_) found = ReadDevice(device, readings) || found;
    if (const auto mhz = ClockMhz()) {
        readings.values[kClock] = *mhz;
        found = true;
    }

    // The usage of each processor since the previous Build; the two samples
    // swap places so that their room is kept.
    ReadCpuTimesInto(files_, stat_, current_);
    if (current_.size() > kMaxRecords - kFirstUsage) current_.resize(kMaxRecords - kFirstUsage);
    for (const CpuTimes& now : current_) {
        const auto before = std::find_if(previous_.begin(), previous_.end(),
                                         [&](const CpuTimes& p) { return p.cpu == now.cpu; });
        readings.values.push_back(before == previous_.end() ? 0.0 : BusyPercent(*before, now));
    }
    std::swap(previous_, current_);
    const auto processors = static_cast<uint32_t>(previous_.size());
    found = found || processors > 0;
    if (!found) return {};

    const std::vector<double>& values = readings.values;
    std::vector<std::byte> bytes(kRecordsOffset + kRecordSize * values.size(), std::byte{0});
    const uint32_t counts[] = {kTemperatures, kVoltages, kFans, 1, processors};
    for (uint32_t i = 0; i < std::size(counts); ++i) {
        PutInt32(bytes, kIndexOffset + 8 * i, i + 1);
        PutInt32(bytes, kIndexOffset + 8 * i + 4, counts[i]);
    }
    for (size_t j = 0; j < values.size(); ++j)
        PutDouble(bytes, kRecordsOffset + kRecordSize * j + kReadingOffset, values[j]);
    return bytes;
}

}  // namespace dotvane::platform
