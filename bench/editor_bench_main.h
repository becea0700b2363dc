// The main of the editor-side benchmarks: the offscreen platform, the engine
// loaded as the editor loads it, then the registered benchmarks.
#pragma once

#include "core/BoundingBox.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "engine/ombrel_loader.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

// An empty world with its root group and the editor's shared objects, nothing
// selected; no view is attached, so nothing is redrawn.
inline void openBenchWorld() {
    OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
    Globals::RootGrp = OMBREL_group_create("the_world");
    Globals::SelGrpBndBox = std::make_shared<BoundingBox>();
    Globals::CurrMultiSel = std::make_shared<MultipleSelection>();
    Globals::PrevMultiSel = std::make_shared<MultipleSelection>();
    Globals::UndoRedoStack = std::make_shared<ActionUndoRedo_Stack>();
    Globals::CurrSelEntityType = Globals::PrevSelEntityType = SelNone;
    Globals::CurrSelEntityHandle = Globals::PrevSelEntityHandle = 0;
    Globals::NumSelPols = 0;
}

inline void closeBenchWorld() {
    Globals::UndoRedoStack->Reset();
    Globals::UndoRedoStack.reset();
    Globals::SelGrpBndBox.reset();
    Globals::CurrMultiSel.reset();
    Globals::PrevMultiSel.reset();
    Globals::CurrSelEntityType = SelNone;
    Globals::NumSelPols = 0;
    OMBREL_engine_close();
}

// The one application of an editor benchmark program lives in main: one made
// anywhere else (a static) would be destroyed by the exit handlers after Qt's
// own statics, which crashes the program after its last result.
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
