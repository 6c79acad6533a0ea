// The main of the benchmarks that show a window: Google Benchmark's own main
// with a QApplication on Qt's offscreen platform, so that they run without
// a display server, and the services the Qt shell installs.
#include "app/qt/QtServices.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const dotvane::QtServices services;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
