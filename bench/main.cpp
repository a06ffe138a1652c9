#include "parseonce.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstring>

int main(int argc, char** argv)
{
    // One parse in a fresh process, started by the side-by-side benchmark.
    if (argc == 4 && std::strcmp(argv[1], "--parse-once") == 0)
        return bench::ParseOnce(argv[2], argv[3]);
    // Widgets need an application; offscreen keeps figures free of any display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
