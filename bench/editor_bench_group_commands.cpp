// The group commands over large worlds: opening the selection window on 10,000
// top-level groups (its lists filled and the selection marked), and grouping
// 1,000 selected groups under a new group, the redraw excluded.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionCentres.h"
#include "ombrel.h"
#include "scene/formSelectionWindow.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QApplication>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// That many top-level groups of one small polygon each, with their tree.
std::vector<int32_t> topLevelGroups(Form1& form, int count) {
    std::vector<int32_t> groups;
    for (int i = 0; i < count; ++i) {
        const int32_t g = OMBREL_group_create(("part" + std::to_string(i)).c_str());
        OMBREL_group_set_father_group(g, Globals::RootGrp);
        const int32_t p = OMBREL_polygon_create();
        const double corners[3][2] = {{0, 0}, {0, 1}, {1, 0}};
        for (const auto& c : corners) {
            const double record[6] = {c[0] + i, c[1], 0, 0, 0, 100};
            OMBREL_polygon_add_point(p, record);
        }
        OMBREL_polygon_set_group(p, g);
        OMBREL_engine_add_polygon(p);
        groups.push_back(g);
    }
    form.trwGroupView_Populate();
    return groups;
}

void selectAll(const std::vector<int32_t>& groups) {
    using namespace Globals;
    CurrMultiSel->Reset();
    for (int32_t g : groups) CurrMultiSel->AddGrpHandles(g);
    CurrSelEntityType = SelMultiple;
    ComputeSelObjsAvgCenter();
}

void BM_SelectionWindowOpen10000Groups(benchmark::State& state) {
    EditorWithWorld editor;
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const std::vector<int32_t> groups = topLevelGroups(editor.form(), 10000);
    selectAll({groups[10], groups[5000], groups[9999]});
    int lines = 0;
    for (auto _ : state) {
        formSelectionWindow window(&editor.form());
        window.SetSelectionType(-1, -1, -1, 0, formSelectionWindow::SelectByName, 2);
        window.Form_Load();
        lines = window.ShownList()->count();
    }
    state.counters["lines"] = lines;
}
BENCHMARK(BM_SelectionWindowOpen10000Groups)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Group1000SelectedGroups(benchmark::State& state) {
    EditorWithWorld editor;
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const std::vector<int32_t> groups = topLevelGroups(editor.form(), 1000);
    for (auto _ : state) {
        state.PauseTiming();
        selectAll(groups);
        auto record = std::make_unique<ActionUndoRedo>();
        record->ActionType = ActGroupTogather;
        record->SetActionObjects();
        record->GroupGrps->SetChildGrpsToCurrGrpSelection();
        std::string name = "set";
        state.ResumeTiming();
        editor.form().GroupSelectedUnderNewGrp(name);
        state.PauseTiming();
        // Back to 1,000 top-level groups for the next round; the made group goes.
        record->GroupGrps->SetNewFatherGrp(Globals::CurrSelEntityHandle);
        record->GroupGrps->Undo();
        record.reset();
        state.ResumeTiming();
    }
    state.counters["groups"] = static_cast<double>(groups.size());
}
BENCHMARK(BM_Group1000SelectedGroups)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
