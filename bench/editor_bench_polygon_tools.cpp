// Extrusion and cutting of 1,000 selected polygons on the real main window (its
// group tree gets every new node), with no world counted as open, so the views
// are never redrawn: an extrusion committed by Enter, one spinner step of a held
// extrusion, a cut along a line, and a move of the cut line.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowHooks.h"
#include "geometry/mdlCutPols.h"
#include "geometry/mdlExtrude.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// One group edited in polygon mode with all its polygons selected.
struct EditedGroup {
    EditorWithWorld editor;
    int32_t group = 0;

    bool ok() { return editor.ok(); }

    template <class Build>
    explicit EditedGroup(Build build) {
        if (!editor.ok()) return;
        group = OMBREL_group_create("mesh");
        OMBREL_group_set_father_group(group, Globals::RootGrp);
        build(group);
        EditPolygonsOf(editor.form(), group);
        selectAll();
    }

    void selectAll() {
        Globals::BuildWeldedPoints(group);
        Globals::NumSelPols = 0;
        for (int32_t p = OMBREL_group_get_first_polygon(group); p; p = OMBREL_group_get_next_polygon(group, p))
            Globals::SelPols[++Globals::NumSelPols] = p;
        Globals::UpdateSelPolsRelatedPtsArray();
    }
    // Undone and released: the new polygons are destroyed, the selection is whole again.
    void takeBack() {
        editor.form().mnuUndo_Click();
        Globals::UndoRedoStack->Reset();
        selectAll();
    }
};

// Arg 0: one 25 x 40 patch of quads whose corners meet (130 outline edges);
// arg 1: 1,000 quads apart from each other (4,000 side polygons).
void build1000Quads(int32_t group, bool apart) {
    if (!apart) {
        AddQuadGrid(group, 25, 40, 0, 0, 0);
        return;
    }
    for (int i = 0; i < 1000; ++i) AddQuadGrid(group, 1, 1, (i % 25) * 3.0, (i / 25) * 3.0, 0);
}

#define TALVORA_NEED_WORLD(edited)                      \
    if (!(edited).ok()) {                               \
        state.SkipWithError("the engine did not load"); \
        return;                                         \
    }

// Enter in the extrude field: the side polygons with their nodes, the cap's move
// and the record.
void BM_ExtrudeByEnter1000Quads(benchmark::State& state) {
    const bool apart = state.range(0) == 1;
    EditedGroup edited([&](int32_t g) { build1000Quads(g, apart); });
    TALVORA_NEED_WORLD(edited)
    Form1& f = edited.editor.form();
    int32_t sides = 0;
    for (auto _ : state) {
        f.txtExtBvl[0]->setText("2");
        f.txtExtBvl_KeyPress(0, 13);
        state.PauseTiming();
        sides = mdlExtrude::NumAddedPols;
        edited.takeBack();
        state.ResumeTiming();
    }
    state.counters["selected"] = Globals::NumSelPols;
    state.counters["sides"] = sides;
}
BENCHMARK(BM_ExtrudeByEnter1000Quads)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One step of a held extrude spinner: the welded entries moved and the group's
// polygons validated.
void BM_ExtrudeSpinnerStep1000Quads(benchmark::State& state) {
    const bool apart = state.range(0) == 1;
    EditedGroup edited([&](int32_t g) { build1000Quads(g, apart); });
    TALVORA_NEED_WORLD(edited)
    mdlExtrude::StartExtrudeGesture();
    double distance = 0;
    for (auto _ : state) benchmark::DoNotOptimize(mdlExtrude::MoveExtrudedPts(++distance));
    mdlExtrude::CommitExtrudeGesture();
    state.counters["entries"] = Globals::NumSelPolsRelatedPts;
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(edited.group);
}
BENCHMARK(BM_ExtrudeSpinnerStep1000Quads)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 1,000 quads of 1 x 50 in a row, seen from above on a 1024 x 768 surface; the
// cut line runs along the row and crosses every one of them.
struct CutScene {
    EditedGroup edited{[](int32_t g) {
        for (int i = 0; i < 1000; ++i) {
            const int32_t p = OMBREL_polygon_create();
            const double corners[4][2] = {{0, 0}, {0, 50}, {1, 50}, {1, 0}};
            for (const auto& c : corners) {
                const double record[6] = {i - 500 + c[0], c[1] - 25, 0, 0, 0, 100};
                OMBREL_polygon_add_point(p, record);
            }
            OMBREL_polygon_set_group(p, g);
            OMBREL_engine_add_polygon(p);
        }
    }};
    static constexpr int kW = 1024, kH = 768;
    std::vector<uint8_t> pixels = std::vector<uint8_t>(static_cast<std::size_t>(kW) * kH * 4);
    int32_t surface = 0;

    CutScene() {
        if (!edited.ok()) return;
        surface = OMBREL_ext_surface_attach(pixels.data(), kW, kH, kW * 4);
        const int32_t camera = OMBREL_camera_create("above");
        OMBREL_camera_set_location(camera, 0, 0, 1000);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        Globals::ViewCams[0]->lngSceneCamera = camera;
        core::windowHooks().viewWindow = [this](int) { return surface; };
        OMBREL_camera_set_current(camera, surface);
    }
    ~CutScene() {
        if (surface) OMBREL_ext_surface_destroy(surface);
    }
    // The line from left of the row to right of it, through its middle.
    std::array<int32_t, 2> end(double x) {
        const double p[3] = {x, 0, 0};
        std::array<int32_t, 2> px = {0, 0};
        OMBREL_engine_3D_point_to_2D(p, px.data());
        return px;
    }
};

void BM_Cut1000Polygons(benchmark::State& state) {
    CutScene scene;
    TALVORA_NEED_WORLD(scene.edited)
    const auto from = scene.end(-520), to = scene.end(520);
    int32_t pieces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        mdlCutPols::CutPols_MouseDown(static_cast<float>(from[0]), static_cast<float>(from[1]));
        state.ResumeTiming();
        mdlCutPols::CutPols_MouseUp(static_cast<float>(to[0]), static_cast<float>(to[1]));
        state.PauseTiming();
        pieces = mdlCutPols::NumAddedCutPols;
        scene.edited.takeBack();
        state.ResumeTiming();
    }
    state.counters["selected"] = Globals::NumSelPols;
    state.counters["pieces"] = pieces;
}
BENCHMARK(BM_Cut1000Polygons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A move while the line is dragged: the line drawn on the view's transient
// layer, nothing rendered.
void BM_CutLineMove(benchmark::State& state) {
    CutScene scene;
    TALVORA_NEED_WORLD(scene.edited)
    mdlCutPols::CutPols_MouseDown(10, 10);
    float x = 0;
    for (auto _ : state) {
        x = x > 300 ? 0 : x + 1;
        mdlCutPols::CutPols_MouseMove(300 + x, 200);
    }
    mdlCutPols::ForgetWorld();
}
BENCHMARK(BM_CutLineMove)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
