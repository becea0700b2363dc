// Creating primitives from the create panel's Create (build, name, colour,
// select, record) and duplicating a large group ten times from the duplicate
// dialog's OK, the redraw excluded (no view is attached). The engine is loaded
// as the editor loads it.
#include "geometry/CreatePanel.h"
#include "geometry/formDuplicate.h"

#include "core/BoundingBox.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QLineEdit>

#include "editor_bench_main.h"

#include <benchmark/benchmark.h>

#include <exception>
#include <memory>

namespace {

void createPrimitive(benchmark::State& state, const char* kind, geometry::PanelValues values, int64_t faces) {
    geometry::PrimitiveBuilders builders;
    for (auto _ : state) {
        state.PauseTiming();
        openBenchWorld();
        state.ResumeTiming();
        if (!geometry::CreatePrimitive(builders, kind, values)) state.SkipWithError("nothing was created");
        state.PauseTiming();
        if (OMBREL_group_get_number_of_polygons(Globals::CurrSelEntityHandle) != faces)
            state.SkipWithError("wrong face count");
        closeBenchWorld();
        state.ResumeTiming();
    }
}

void BM_CreateSphereOf200Segments(benchmark::State& state) {
    createPrimitive(state, "SPHERE", {{0, 0, 100}, {200, 1, 1}}, 80802);
}
BENCHMARK(BM_CreateSphereOf200Segments)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CreateBoxOf100Segments(benchmark::State& state) {
    createPrimitive(state, "BOX", {{100, 100, 100}, {100, 100, 100}}, 60000);
}
BENCHMARK(BM_CreateBoxOf100Segments)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 10,000 quads in a group with two nested groups, among 2,000 other groups.
int32_t makeLargeGroup() {
    for (int i = 0; i < 2000; ++i) {
        const int32_t other = OMBREL_group_create(("other" + std::to_string(i)).c_str());
        OMBREL_group_set_father_group(other, Globals::RootGrp);
    }
    const int32_t top = OMBREL_group_create("large");
    OMBREL_group_set_father_group(top, Globals::RootGrp);
    int32_t father = top;
    for (int level = 0; level < 3; ++level) {
        int32_t g = father;
        if (level > 0) {
            g = OMBREL_group_create(("nested" + std::to_string(level)).c_str());
            OMBREL_group_set_father_group(g, father);
        }
        for (int i = 0; i < 3334 - (level == 2 ? 2 : 0); ++i) {
            const int32_t p = OMBREL_polygon_create();
            const double x = i % 100, y = i / 100, z = level;
            const double corners[4][2] = {{x, y}, {x, y + 1}, {x + 1, y + 1}, {x + 1, y}};
            for (const auto& c : corners) {
                const double rec[6] = {c[0], c[1], z, 0, 0, 100};
                OMBREL_polygon_add_point(p, rec);
            }
            OMBREL_polygon_set_group(p, g);
            OMBREL_engine_add_polygon(p);
        }
        father = g;
    }
    return top;
}

void BM_TenCopiesOfALargeGroup(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        openBenchWorld();
        const int32_t group = makeLargeGroup();
        if (OMBREL_group_get_number_of_polygons(group) != 10000) state.SkipWithError("wrong source size");
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        Globals::CurrMultiSel->AddGrpHandles(group);
        auto dialog = std::make_unique<formDuplicate>();
        dialog->updwnCopies->setValue(10);
        dialog->txtOffset[0]->setText("150");
        state.ResumeTiming();
        try {
            dialog->cmdOK_Click();
        } catch (const std::exception&) {
            // Several copies cannot be recorded for undo yet; the copies are made.
        }
        state.PauseTiming();
        if (Globals::CurrMultiSel->NumOfGrps() != 10) state.SkipWithError("the copies were not all made");
        dialog.reset();
        closeBenchWorld();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TenCopiesOfALargeGroup)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runEditorBenchmarks(argc, argv); }
