// What the editor's benchmarks share: the main window after its load step over
// the engine loaded as the editor loads it, and the program's main.
#pragma once

#include "core/Globals.h"
#include "engine/ombrel_loader.h"
#include "mainwindow/Form1.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

class BenchEditor {
public:
    BenchEditor() {
        const std::string folder = TALVORA_PROGRAM_DIR;
        if (ombrel_loader::load(folder + "/" + ombrel_loader::libraryFileName()).status !=
            ombrel_loader::Status::Loaded)
            return;
        Globals::AppTerminating = false;
        form_ = std::make_unique<Form1>();
        form_->ShowTips = nullptr;
        ok_ = form_->Form_Load();
    }
    ~BenchEditor() {
        if (form_) {
            Globals::UndoRedoStack->Reset();
            Globals::AppTerminating = true;
            form_->UnloadWorld();
            form_->close();
            form_.reset();
        }
        Globals::CurrSelEntityType = Globals::PrevSelEntityType = SelNone;
        Globals::RootGrp = 0;
        OMBREL_engine_close();
        ombrel_loader::unload();
    }
    BenchEditor(const BenchEditor&) = delete;
    BenchEditor& operator=(const BenchEditor&) = delete;

    bool ok() const { return ok_; }
    Form1& form() { return *form_; }
    // A fresh empty world in the engine with its root group; the window opens no
    // world, so nothing is redrawn.
    bool OpenEngineWorld() {
        ok_ = ok_ && OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR) == 0;
        Globals::RootGrp = ok_ ? OMBREL_group_create("the_world") : 0;
        return ok_;
    }

private:
    std::unique_ptr<Form1> form_;
    bool ok_ = false;
};

// The benchmarks' main: offscreen, and no prompt ever waits for a user.
inline int RunEditorBenchmarks(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TALVORA_PROMPTS", "log", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
