// One refresh tick of a full screen of the bundled example configuration,
// with the window shown: expansion, change detection, the virtual display
// and the window's repaint.
#include "app/qt/MainWindow.h"
#include "app/qt/MessageBoxes.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_RefreshTick(benchmark::State& state)
{
    dotvane::MessageBoxes boxes;
    dotvane::MainWindow window(DOTVANE_RUNTIME_DIR "/", boxes);
    window.show();
    QApplication::processEvents();
    // Eight rows that all change on every tick, two of them long enough to
    // wrap, so every row reaches the display.
    dotvane::DotvaneState& program = window.Logic().State();
    dotvane::ScreenEntry& screen = program.ScreenTable[static_cast<size_t>(program.CurrentScreen)];
    for (int k = 0; k < 8; ++k)
        screen.Line[k] = "Row " + std::to_string(k) + " mail $mailcount(0)$ $extip$" + (k % 4 == 0 ? " and more" : "");
    for (auto _ : state) {
        window.Logic().Render().ForgetShownText();
        window.Logic().Render().RefreshScreen();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefreshTick)->Unit(benchmark::kMicrosecond);

}  // namespace
