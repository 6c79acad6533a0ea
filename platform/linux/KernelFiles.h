#pragma once

#include "platform/linux/KernelFileSnapshot.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace dotvane::platform {

// Small readers for the text files of /proc and /sys that the sensor layout
// and the counter query compute their figures from. Files are read through
// a snapshot, so a file read earlier in the same tick is not read again; a
// text stays valid as long as the snapshot's views do.

// The largest kernel file that is read; the mount table of a machine with
// thousands of mounts still fits.
inline constexpr size_t kKernelFileLimit = 4 * 1024 * 1024;

// The whole file; nothing when it cannot be read, is no regular file or is
// larger than kKernelFileLimit.
std::optional<std::string_view> ReadKernelFile(KernelFileSnapshot& files, const std::filesystem::path& file);

// The first number of a file holding one (such as a hwmon "_input" file).
std::optional<double> ReadKernelNumber(KernelFileSnapshot& files, const std::filesystem::path& file);

// A decimal number at the start of `text` after blanks; nothing without one.
std::optional<double> ParseLeadingNumber(std::string_view text);

// The text split at blanks (spaces and tabs), empty pieces dropped.
std::vector<std::string_view> SplitFields(std::string_view line);

// The lines of a text, without their line ends.
std::vector<std::string_view> SplitLines(std::string_view text);

// Takes the first line off `rest` into `line` (without its line end), as
// SplitLines would give it; false when `rest` is empty. For the files read
// at every tick, which are walked without building a list.
bool TakeLine(std::string_view& rest, std::string_view& line);

// Takes the first field off `rest` into `field`, as SplitFields would give
// it; false when only blanks are left.
bool TakeField(std::string_view& rest, std::string_view& field);

// Processor time counters of one "cpu" line of /proc/stat, in clock ticks.
struct CpuTimes {
    // -1 for the line of all processors together, otherwise N of "cpuN".
    int cpu = -1;
    uint64_t busy = 0;
    uint64_t total = 0;
};

// The "cpu" lines of the stat file (/proc/stat) into `times`, in file order:
// the total first, then every processor listed; empty when the file cannot
// be read. The room of `times` is kept from one call to the next.
void ReadCpuTimesInto(KernelFileSnapshot& files, const std::filesystem::path& statFile, std::vector<CpuTimes>& times);

// The share of busy time between two samples of the same processor, in
// percent (0 … 100); 0 when no time passed.
double BusyPercent(const CpuTimes& before, const CpuTimes& after);

}  // namespace dotvane::platform
