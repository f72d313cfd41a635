#pragma once

// main() for benchmarks that need a Qt event loop but not the screen. The
// per-frame debug lines would measure the terminal, not the code, so they
// are switched off.

#include <QCoreApplication>
#include <QLoggingCategory>

#include <benchmark/benchmark.h>

#define QV_QUIET_CORE_BENCHMARK_MAIN()                                                             \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        QCoreApplication app(argc, argv);                                                          \
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));                   \
        benchmark::Initialize(&argc, argv);                                                        \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))                                    \
            return 1;                                                                              \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
