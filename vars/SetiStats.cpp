#include "vars/SetiStats.h"

#include "platform/FileNames.h"
#include "platform/Latin1Text.h"
#include "platform/RegularFiles.h"
#include "vars/Format.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <vector>

namespace dotvane {
namespace {

constexpr double kSecondsPerYear = 3600.0 * 24 * 365;

// The lines of a text file; nothing when it cannot be read, is no regular
// file (a folder, FIFO or device) or is larger than kSetiFileLimit.
std::optional<std::vector<std::string>> ReadLines(const std::string& name)
{
    const platform::FileContents contents = platform::ReadRegularFile(platform::NativePath(name), kSetiFileLimit);
    if (contents.status != platform::FileStatus::Ok) return std::nullopt;
    std::vector<std::string> lines;
    std::string_view text = contents.bytes;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.emplace_back(line);
    }
    return lines;
}

// The first line at or after `from` that holds `key` anywhere; lines.size()
// when none does.
size_t FindKey(const std::vector<std::string>& lines, size_t from, std::string_view key)
{
    while (from < lines.size() && lines[from].find(key) == std::string::npos) ++from;
    return from;
}

// The line with as many characters removed from its start as the key is
// long: the value, when the key opens the line as the client writes it.
std::string_view AfterKey(const std::string& line, std::string_view key)
{
    return std::string_view(line).substr(key.size());
}

// A floating-point number at the start of the text after blanks, read up to
// the first character that cannot continue it; 0 without one.
double ReadReal(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i + 1 < text.size() && text[i] == '+' && text[i + 1] != '-') ++i;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    return ec == std::errc{} ? value : 0;
}

void ReadProgress(const std::string& file, TSetiStats& SetiStats)
{
    const auto lines = ReadLines(file);
    if (!lines) {
        SetiStats.Progress = 0;
        return;
    }
    const size_t line = FindKey(*lines, 0, "prog=");
    if (line < lines->size()) SetiStats.Progress = ReadReal(AfterKey((*lines)[line], "prog=")) * 100;
}

void ReadUserInfo(const std::string& file, TSetiStats& SetiStats, Notices& notices)
{
    const auto lines = ReadLines(file);
    if (!lines) {
        notices.ShowMessage("Error opening user_info.sah");
        return;
    }
    // Each key is searched from the line of the one before; the search ends
    // with the file, leaving the figures not found as they were.
    size_t line = FindKey(*lines, 0, "name=");
    if (line == lines->size()) return;
    SetiStats.UserName = platform::Latin1FromFileBytes(AfterKey((*lines)[line], "name="));
    line = FindKey(*lines, line, "nresults=");
    if (line == lines->size()) return;
    SetiStats.ResultCount = ReadWholeNumber(AfterKey((*lines)[line], "nresults="));
    line = FindKey(*lines, line, "total_cpu=");
    if (line == lines->size()) return;
    SetiStats.CpuTime = ReadReal(AfterKey((*lines)[line], "total_cpu=")) / kSecondsPerYear;
}

void ReadSignals(const std::string& file, TSetiStats& SetiStats, Notices& notices)
{
    const auto lines = ReadLines(file);
    if (!lines) {
        notices.ShowMessage("Error opening outfile.sah");
        return;
    }
    int32_t spikes = 0, gaussians = 0, pulses = 0, triplets = 0;
    for (const std::string& line : *lines) {
        if (line.find("spike") != std::string::npos) ++spikes;
        if (line.find("gaussian") != std::string::npos) ++gaussians;
        if (line.find("pulse") != std::string::npos) ++pulses;
        if (line.find("triplet") != std::string::npos) ++triplets;
    }
    SetiStats.Spikes = spikes;
    SetiStats.Gaussians = gaussians;
    SetiStats.Pulses = pulses;
    SetiStats.Triplets = triplets;
}

}  // namespace

void SetiTimerTick(const TMainSettings& settings, TSetiStats& SetiStats, Notices& notices)
{
    if (!settings.SetiAtHome.Enable) return;
    ReadProgress(settings.SetiAtHome.Statedir, SetiStats);
    ReadUserInfo(settings.SetiAtHome.Userinfodir, SetiStats, notices);
    ReadSignals(settings.SetiAtHome.Outfiledir, SetiStats, notices);
}

}  // namespace dotvane
