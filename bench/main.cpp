#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
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
