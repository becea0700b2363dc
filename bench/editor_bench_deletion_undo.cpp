// Undo of a deletion that takes every second entity out of a large list of
// siblings: polygons of one group (deleted in "Polygon" mode) and groups under
// one father (a multiple selection deleted). Undo puts each back at its place,
// so its cost shows how the places are read and restored. Arg: the number of
// siblings; Delete runs untimed before each timed Undo.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "ombrel.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

#define TALVORA_NEED_EDITOR(editor)                       \
    if (!(editor).ok()) {                                 \
        state.SkipWithError("the engine did not load");   \
        return;                                           \
    }

// 20,000, 80,000 and 160,000 siblings; one Undo a run, as a user would.
void atScale(benchmark::internal::Benchmark* b) {
    b->Arg(20000)->Arg(80000)->Arg(160000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
    b->ReportAggregatesOnly(true);
}

void selectEverySecondPolygon(int32_t group) {
    Globals::NumSelPols = 0;
    const int32_t n = OMBREL_group_get_number_of_polygons(group);
    Globals::SelPols.checkCount(n / 2 + 1);
    bool take = false;
    for (int32_t p = OMBREL_group_get_first_polygon(group); p; p = OMBREL_group_get_next_polygon(group, p))
        if ((take = !take)) Globals::SelPols[++Globals::NumSelPols] = p;
}

void BM_UndoDeleteEverySecondPolygon(benchmark::State& state) {
    EditorWithWorld editor;
    TALVORA_NEED_EDITOR(editor)
    Form1& f = editor.form();
    const auto polygons = static_cast<int>(state.range(0));
    const int32_t group = OMBREL_group_create("mesh");
    OMBREL_group_set_father_group(group, Globals::RootGrp);
    AddQuadGrid(group, 400, polygons / 400, 0, 0, 0);
    EditPolygonsOf(f, group);
    int32_t deleted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        selectEverySecondPolygon(group);
        deleted = Globals::NumSelPols;
        f.cmdDeletePol_Click();
        state.ResumeTiming();
        f.mnuUndo_Click();
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(group);
    state.counters["deleted"] = deleted;
}
BENCHMARK(BM_UndoDeleteEverySecondPolygon)->Apply(atScale);

void BM_UndoDeleteEverySecondGroup(benchmark::State& state) {
    EditorWithWorld editor;
    TALVORA_NEED_EDITOR(editor)
    Form1& f = editor.form();
    const auto groups = static_cast<int32_t>(state.range(0));
    std::vector<int32_t> children;
    for (int32_t i = 0; i < groups; ++i) {
        const int32_t g = OMBREL_group_create(("g" + std::to_string(i)).c_str());
        OMBREL_group_set_father_group(g, Globals::RootGrp);
        children.push_back(g);
    }
    f.trwGroupView_Populate();
    int32_t deleted = 0;
    double deleteSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Globals::CurrMultiSel->Reset();
        for (std::size_t i = 0; i < children.size(); i += 2) Globals::CurrMultiSel->AddGrpHandles(children[i]);
        deleted = Globals::CurrMultiSel->NumOfGrps();
        Globals::CurrSelEntityType = SelMultiple;
        const auto t0 = std::chrono::steady_clock::now();
        f.DeleteSelEntity();
        deleteSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.ResumeTiming();
        f.mnuUndo_Click();
    }
    int32_t back = 0;
    for (int32_t g = OMBREL_group_get_first_included_group(Globals::RootGrp); g;
         g = OMBREL_group_get_next_included_group(Globals::RootGrp, g))
        ++back;
    state.counters["groups"] = back;
    state.counters["deleted"] = deleted;
    // The untimed Delete, for comparison.
    state.counters["delete_ms"] = deleteSeconds * 1e3 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_UndoDeleteEverySecondGroup)->Apply(atScale);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
