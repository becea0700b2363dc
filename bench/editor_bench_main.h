// The main of the editor-side benchmarks: the offscreen platform, the engine
// loaded as the editor loads it, then the registered benchmarks.
#pragma once

#include "engine/ombrel_loader.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

inline int runEditorBenchmarks(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const auto r = ombrel_loader::load(TALVORA_PROGRAM_DIR "/libombrel3.so");
    if (r.status != ombrel_loader::Status::Loaded) {
        std::fprintf(stderr, "The engine did not load: %s\n", r.reason.c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
