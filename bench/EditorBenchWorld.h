// The main window of the editor benchmarks: built and loaded as the program
// loads it, over a fresh empty engine world that counts as not open, so nothing
// is redrawn; and the geometry they measure on.
#pragma once

#include "core/Globals.h"
#include "engine/ombrel_loader.h"
#include "mainwindow/Form1.h"
#include "ombrel.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <benchmark/benchmark.h>
#include "undo/ActionUndoRedo_Stack.h"

#include <cstdint>
#include <memory>
#include <string>

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

// The window shown at 1280 x 1024 for a benchmark that redraws the views, or
// null with the run marked skipped when the engine did not load.
inline Form1* ShownEditor(EditorWithWorld& editor, benchmark::State& state) {
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return nullptr;
    }
    editor.form().resize(1280, 1024);
    editor.form().show();
    return &editor.form();
}

// The shown window with File > New done (the template chooser turned down), or
// null with the run marked skipped when no world opened.
inline Form1* ShownEditorWithNewWorld(EditorWithWorld& editor, benchmark::State& state) {
    Form1* window = ShownEditor(editor, state);
    if (!window) return nullptr;
    window->NewWorld();
    QApplication::processEvents();
    if (window->WorldLoaded) return window;
    state.SkipWithError("no world was opened");
    return nullptr;
}

// The group selected and edited in "Edit Geometry" > "Polygon" on the window.
inline void EditPolygonsOf(Form1& form, int32_t group) {
    form.trwGroupView_Populate();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group;
    form.tabWorkspace->setCurrentIndex(1);
    form.cmbObj->setCurrentText("Edit Geometry");
    form.cmbObjEditGeom->setCurrentText("Polygon");
}

// A grid of columns x rows unit quads in the plane z, each quad its own polygon
// with its own corner points, as a loaded mesh has them.
inline void AddQuadGrid(int32_t group, int columns, int rows, double x0, double y0, double z) {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int32_t p = OMBREL_polygon_create();
            const double corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
            for (const auto& k : corners) {
                const double record[6] = {x0 + c + k[0], y0 + r + k[1], z, 0, 0, 100};
                OMBREL_polygon_add_point(p, record);
            }
            OMBREL_polygon_set_group(p, group);
            OMBREL_engine_add_polygon(p);
        }
}

