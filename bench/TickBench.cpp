// One complete refresh tick on the real sources of this machine: the sensor
// section (or its stand-in built from the kernel's hardware monitors), the
// performance counters, and a full screen whose eight rows read the clock,
// memory, uptime, processor, load, disk, computer name and network, with the
// window shown on Qt's offscreen platform.
#include "app/qt/MainWindow.h"
#include "app/qt/MessageBoxes.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Eight rows that read the machine, and one row that never changes.
constexpr const char* kEightValues =
    "Line0=$date$ $time$\nLine1=Mem $memavphys$ $memusage$%\nLine2=Up $uptimed$d $uptimeh$:$uptimem$\n"
    "Line3=CPU $pdh_cpu$% $mbmtemp(0)$\nLine4=Load $textfile(/proc/loadavg,1)$\n"
    "Line5=Free $diskfree(/)$\nLine6=$computername$ $bat_acline$\nLine7=In $pdh_netin$ KB/s\n";
constexpr const char* kStill = "Line0=Nothing changes here\n";

// A program folder of its own: settings with the counters on, the counter
// definitions and one screen with the given lines.
std::string MakeProgramFolder(const char* lines)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "dotvane-tick-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pattern.data());
    std::filesystem::create_directories(folder / "screens");
    std::ofstream(folder / "DOTVANE.INI") << "[LCD]\nTextColumns=22\nTextRows=8\n[NTPerfMon]\nEnable=1\n";
    std::ofstream(folder / "LCDPERF.INI") << "[pdh_cpu]\nname=\\Processor(_Total)\\% Processor Time\nprecision=3\n"
                                             "[pdh_netin]\nname=\\Network Interface(_Total)\\Bytes Received/sec\n"
                                             "multiplier=0.0009765625\nprecision=4\n";
    std::ofstream(folder / "screens" / "default.ini")
        << "[Screen0]\nEnable=1\nInterval=3600000\nUpdate=250\n" << lines;
    return folder.string() + "/";
}

void RunTicks(benchmark::State& state, const char* lines)
{
    const std::string folder = MakeProgramFolder(lines);
    {
        dotvane::MessageBoxes boxes;
        dotvane::MainWindow window(folder, boxes);
        window.show();
        QApplication::processEvents();
        for (auto _ : state) {
            // Ticks this close together let no processor time pass between
            // two samples, so the rate counters report errors on the status
            // line; clearing it keeps that out of the measurement.
            state.PauseTiming();
            window.SetStatusText("");
            state.ResumeTiming();
            window.Logic().UpdateTimer1Timer();
            QApplication::processEvents();
        }
    }
    std::filesystem::remove_all(folder);
}

void BM_CompleteTick(benchmark::State& state) { RunTicks(state, kEightValues); }
BENCHMARK(BM_CompleteTick)->Unit(benchmark::kMicrosecond);

void BM_StillTick(benchmark::State& state) { RunTicks(state, kStill); }
BENCHMARK(BM_StillTick)->Unit(benchmark::kMicrosecond);

}  // namespace
