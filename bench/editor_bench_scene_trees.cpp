// The group tree and the group panel over large worlds: rebuilding the tree
// (10,000 groups flat, 1,000 top-level groups of 9 children, a chain 1,000
// deep), a click on a node (the selection path without the redraw), and the
// colour button's work on a group of 100,000 polygons with its undo record.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "core/Globals.h"
#include "ombrel.h"
#include "scene/GroupColour.h"
#include "scene/GroupSelection.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

int32_t makeGroup(int32_t father) {
    const int32_t g = OMBREL_group_create("group");
    OMBREL_group_set_father_group(g, father);
    return g;
}

// Arg 0: 10,000 top-level groups; 1: 1,000 top-level groups of 9 children each;
// 2: a chain 1,000 deep.
void buildShape(int shape) {
    const int32_t root = Globals::RootGrp;
    if (shape == 0) {
        for (int i = 0; i < 10000; ++i) makeGroup(root);
    } else if (shape == 1) {
        for (int i = 0; i < 1000; ++i) {
            const int32_t top = makeGroup(root);
            for (int k = 0; k < 9; ++k) makeGroup(top);
        }
    } else {
        int32_t father = root;
        for (int i = 0; i < 1000; ++i) father = makeGroup(father);
    }
}

void BM_GroupTreePopulate(benchmark::State& state) {
    EditorWithWorld editor;
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    buildShape(static_cast<int>(state.range(0)));
    for (auto _ : state) editor.form().trwGroupView_Populate();
    state.counters["nodes"] = editor.form().trwGroupView->Count();
}
BENCHMARK(BM_GroupTreePopulate)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Two nodes of a tree of 10,000 clicked in turn: selection, record, highlight,
// panels and status, without the redraw.
void BM_GroupNodeClick10000Groups(benchmark::State& state) {
    EditorWithWorld editor;
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    buildShape(0);
    editor.form().trwGroupView_Populate();
    std::vector<int32_t> groups;
    for (int32_t g = OMBREL_group_get_first_included_group(Globals::RootGrp); g != 0;
         g = OMBREL_group_get_next_included_group(Globals::RootGrp, g))
        groups.push_back(g);
    const int32_t first = groups.front(), last = groups.back();
    int turn = 0;
    for (auto _ : state) benchmark::DoNotOptimize(scene::SelectGroupFromTree(turn++ % 2 ? first : last));
    state.counters["nodes"] = editor.form().trwGroupView->Count();
}
BENCHMARK(BM_GroupNodeClick10000Groups)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ColourGroup100000Polygons(benchmark::State& state) {
    EditorWithWorld editor;
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const int32_t group = makeGroup(Globals::RootGrp);
    for (int i = 0; i < 100000; ++i) {
        const int32_t p = OMBREL_polygon_create();
        const double x = i % 400, y = i / 400;
        const double corners[3][2] = {{x, y}, {x, y + 1}, {x + 1, y}};
        for (const auto& c : corners) {
            const double record[6] = {c[0], c[1], 0, 0, 0, 100};
            OMBREL_polygon_add_point(p, record);
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
    }
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group;
    int32_t colour = 0;
    for (auto _ : state) {
        auto record = std::make_unique<ActionUndoRedo>();
        record->ActionType = ActApplyTextureToGrp;
        record->SetActionObjects();
        record->ApplyTexture->SetNewFillType(2);
        scene::ColourSelectedGroup(*record->ApplyTexture, ++colour, false);
        Globals::UndoRedoStack->Push(std::move(record));
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(group);
}
BENCHMARK(BM_ColourGroup100000Polygons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
