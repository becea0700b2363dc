// What the editor benchmarks that drive the main window share: the window after
// its load step over a fresh empty world of the engine, and their main.
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

// The main window after its load step, over a fresh empty world of the engine.
// No world counts as open, so nothing is redrawn.
class EditorWithWorld {
public:
    EditorWithWorld() {
        const std::string folder = TALVORA_PROGRAM_DIR;
        if (ombrel_loader::load(folder + "/" + ombrel_loader::libraryFileName()).status !=
            ombrel_loader::Status::Loaded)
            return;
        Globals::AppTerminating = false;
        form_ = std::make_unique<Form1>();
        form_->ShowTips = nullptr;
        form_->Form_Load();
        ok_ = OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR) == 0;
        Globals::RootGrp = ok_ ? OMBREL_group_create("the_world") : 0;
    }
    ~EditorWithWorld() {
        if (form_) {
            Globals::UndoRedoStack->Reset();
            Globals::AppTerminating = true;
            form_->close();
            form_.reset();
        }
        Globals::CurrSelEntityType = Globals::PrevSelEntityType = SelNone;
        Globals::RootGrp = 0;
        if (ok_) OMBREL_engine_close();
        ombrel_loader::unload();
    }
    bool ok() const { return ok_; }
    Form1& form() { return *form_; }

private:
    std::unique_ptr<Form1> form_;
    bool ok_ = false;
};

// The offscreen platform, prompts that never wait for a user, then the benchmarks.
inline int runEditorWindowBenchmarks(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TALVORA_PROMPTS", "log", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
