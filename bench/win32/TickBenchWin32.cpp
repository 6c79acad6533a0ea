// One complete refresh tick of the Windows program, as bench_tick measures
// the Qt program's: the window shown and painted, the performance counters
// on, and a screen whose eight rows read the clock, memory, uptime,
// processor, sensors, a text file, disk, computer name, power and network;
// then a screen that never changes. Prints the median and the mean of each.
// Usage: bench_tick_win32 [TICKS]
#include "app/win32/MainWindow.h"
#include "app/win32/ShellNotificationArea.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

// Eight rows that read the machine, and one row that never changes.
constexpr const char* kEightValues =
    "Line0=$date$ $time$\nLine1=Mem $memavphys$ $memusage$%\nLine2=Up $uptimed$d $uptimeh$:$uptimem$\n"
    "Line3=CPU $pdh_cpu$% $mbmtemp(0)$\nLine4=Ini $textfile(C:\\windows\\win.ini,1)$\n"
    "Line5=Free $diskfree(C:\\)$\nLine6=$computername$ $bat_acline$\nLine7=In $pdh_netin$ KB/s\n";
constexpr const char* kStill = "Line0=Nothing changes here\n";

// A program folder of its own: settings with the counters on, the counter
// definitions and one screen with the given lines.
std::filesystem::path MakeProgramFolder(const char* lines)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("dotvane-tick-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder / "screens");
    std::ofstream(folder / "DOTVANE.INI") << "[LCD]\nTextColumns=22\nTextRows=8\n[NTPerfMon]\nEnable=1\n";
    std::ofstream(folder / "LCDPERF.INI") << "[pdh_cpu]\nname=\\Processor(_Total)\\% Processor Time\nprecision=3\n"
                                             "[pdh_netin]\nname=\\Network Interface(_Total)\\Bytes Received/sec\n"
                                             "multiplier=0.0009765625\nprecision=4\n";
    std::ofstream(folder / "screens" / "default.ini")
        << "[Screen0]\nEnable=1\nInterval=3600000\nUpdate=250\n" << lines;
    return folder;
}

void RunTicks(const char* name, const char* lines, int ticks)
{
    const std::filesystem::path folder = MakeProgramFolder(lines);
    std::vector<double> micros;
    {
        dotvane::ShellNotificationArea tray;
        dotvane::MainWindow window(::GetModuleHandleA(nullptr), folder.string() + "\\", tray);
        window.Show();
        window.ProcessMessages();
        for (int i = 0; i < ticks; ++i) {
            // Ticks this close together let no processor time pass between
            // two samples, so the rate counters report errors on the status
            // line; clearing it keeps that out of the measurement.
            window.SetStatusText("");
            window.ProcessMessages();
            const auto start = std::chrono::steady_clock::now();
            window.Logic().UpdateTimer1Timer();
            window.ProcessMessages();
            micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::filesystem::remove_all(folder);
    std::sort(micros.begin(), micros.end());
    const double mean = std::accumulate(micros.begin(), micros.end(), 0.0) / static_cast<double>(micros.size());
    std::printf("%s: median %.1f us, mean %.1f us over %d ticks\n", name, micros[micros.size() / 2], mean, ticks);
}

}  // namespace

int main(int argc, char* argv[])
{
    const int ticks = std::max(argc > 1 ? std::atoi(argv[1]) : 500, 1);
    RunTicks("CompleteTick", kEightValues, ticks);
    RunTicks("StillTick", kStill, ticks);
    return 0;
}
