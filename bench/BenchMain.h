#pragma once
#include <QtGlobal>

#include <benchmark/benchmark.h>

// Runs the registered benchmarks inside an application object of type App.
// Widgets need a platform and a benchmark run has no display, so offscreen
// unless one was chosen.
template <class App> int runBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
