#pragma once

#include <QLoggingCategory>

#include <benchmark/benchmark.h>

#include "app/macapplication.h"
#include "widgets/resources.h"

// main() of the window benchmarks: the offscreen screen unless another is
// asked for, the program's resources, and no debug lines (they would measure
// the terminal, not the code).
#define QV_WINDOW_BENCHMARK_MAIN()                                                                 \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        MacApplication app(argc, argv);                                                            \
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));                   \
        initResources();                                                                           \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
