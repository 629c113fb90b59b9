#include <benchmark/benchmark.h>
#include <QApplication>
#include <cstdlib>

// Benchmarks paint through Qt, which needs an application object; they run off-screen at 96 PPI.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("PLENNIX_PPI", "96", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
