// Deleting, hiding and showing over large worlds in the main window, without the
// redraw of the views: Delete and Undo of a multiple selection of 1,000 groups of
// 10 polygons, Hide UnSelected and Unhide All over 10,000 top-level groups, and
// the release of the record that destroys a group of 100,000 polygons.
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "engine/ombrel_loader.h"
#include "mainwindow/Form1.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "editor_bench_main.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

namespace {

void addSquares(int32_t group, int count, double z) {
    for (int i = 0; i < count; ++i) {
        const int32_t p = OMBREL_polygon_create();
        const double corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
        for (const auto& k : corners) {
            const double record[6] = {i + k[0], k[1], z, 0, 0, 100};
            OMBREL_polygon_add_point(p, record);
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
    }
}

std::vector<int32_t> addGroups(int groups, int polygonsEach) {
    std::vector<int32_t> made;
    for (int g = 0; g < groups; ++g) {
        const int32_t group = OMBREL_group_create(("g" + std::to_string(g)).c_str());
        OMBREL_group_set_father_group(group, Globals::RootGrp);
        addSquares(group, polygonsEach, g);
        made.push_back(group);
    }
    return made;
}

// The main window with the sample world open, which the body adds to; the views
// are never redrawn while it runs.
void withEditor(benchmark::State& state, const std::function<void(Form1&)>& body) {
    const std::string folder = TALVORA_PROGRAM_DIR;
    if (ombrel_loader::load(folder + "/" + ombrel_loader::libraryFileName()).status != ombrel_loader::Status::Loaded) {
        state.SkipWithError("the engine did not load");
        return;
    }
    Globals::AppTerminating = false;
    {
        Form1 form;
        form.ShowTips = nullptr;
        form.Form_Load();
        form.LoadWorld(folder + "/Sample/Sample.wld");
        if (form.WorldLoaded) {
            Globals::AppTerminating = true;  // no view is painted
            body(form);
            Globals::UndoRedoStack->Reset();
        } else {
            state.SkipWithError("the sample world did not open");
        }
        Globals::AppTerminating = true;
        form.close();
    }
    ombrel_loader::unload();
}

void selectGroups(const std::vector<int32_t>& groups) {
    using namespace Globals;
    CurrMultiSel->Reset();
    for (int32_t g : groups) CurrMultiSel->AddGrpHandles(g);
    CurrSelEntityType = SelMultiple;
}

void selectGroup(int32_t group) {
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group;
}

// Each iteration times the command alone: what prepares it and what tidies up
// after it run outside the clock.
void measure(benchmark::State& state, const std::function<void()>& prepare, const std::function<void()>& command,
             const std::function<void()>& tidy) {
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        command();
        state.PauseTiming();
        tidy();
        state.ResumeTiming();
    }
}

void BM_DeleteMultipleSelection(benchmark::State& state) {
    withEditor(state, [&](Form1& form) {
        const std::vector<int32_t> groups = addGroups(1000, 10);
        form.trwGroupView_Populate();
        measure(state, [&] { selectGroups(groups); }, [&] { form.DeleteMultiple(); }, [&] { form.mnuUndo_Click(); });
    });
}
BENCHMARK(BM_DeleteMultipleSelection)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_UndoDeleteMultipleSelection(benchmark::State& state) {
    withEditor(state, [&](Form1& form) {
        const std::vector<int32_t> groups = addGroups(1000, 10);
        form.trwGroupView_Populate();
        measure(
            state,
            [&] {
                selectGroups(groups);
                form.DeleteMultiple();
            },
            [&] { form.mnuUndo_Click(); }, [] {});
    });
}
BENCHMARK(BM_UndoDeleteMultipleSelection)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_HideUnSelected(benchmark::State& state) {
    withEditor(state, [&](Form1& form) {
        const std::vector<int32_t> groups = addGroups(10000, 1);
        form.trwGroupView_Populate();
        measure(state, [&] { selectGroup(groups.front()); }, [&] { form.mnuHideUnSelected_Click(); },
                [&] { form.mnuUndo_Click(); });
    });
}
BENCHMARK(BM_HideUnSelected)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_UnhideAll(benchmark::State& state) {
    withEditor(state, [&](Form1& form) {
        const std::vector<int32_t> groups = addGroups(10000, 1);
        form.trwGroupView_Populate();
        measure(
            state,
            [&] {
                selectGroup(groups.front());
                form.mnuHideUnSelected_Click();
            },
            [&] { form.mnuUnhideAll_Click(); }, [] {});
    });
}
BENCHMARK(BM_UnhideAll)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReleaseDestroyingLargeGroup(benchmark::State& state) {
    withEditor(state, [&](Form1& form) {
        measure(
            state,
            [&] {
                const int32_t group = addGroups(1, 100000).front();
                form.trwGroupView_Populate();
                selectGroup(group);
                form.mnuGroupMenuDelete_Click();
            },
            // The deletion's record leaves the history: the group is destroyed.
            [] { Globals::UndoRedoStack->Reset(); }, [] {});
    });
}
BENCHMARK(BM_ReleaseDestroyingLargeGroup)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return runEditorBenchmarks(argc, argv); }
