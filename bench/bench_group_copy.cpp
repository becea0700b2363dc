// The engine's rebuilt copies of a large group: reduced by vertex clustering at
// level 2, and made of triangles, each of 100,000 quads.
#include "ombrel.h"

#include <benchmark/benchmark.h>

namespace {

// A fresh world with one group of 100,000 quads of the given side on a 400 by 250
// grid, slightly lifted so that neighbours do not share exact corners. Quads of
// 12 are wider than the cells of level 2 (2% of 412): every one is rebuilt.
struct QuadWorld {
    int32_t group = 0;

    explicit QuadWorld(double side) {
        OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
        OMBREL_engine_hide_log_window();
        const int32_t root = OMBREL_group_create("the_world");
        group = OMBREL_group_create("field");
        OMBREL_group_set_father_group(group, root);
        for (int i = 0; i < 100000; ++i) {
            const int32_t p = OMBREL_polygon_create();
            const double x = i % 400, y = i / 400, z = (i % 7) * 0.01;
            const double corners[4][2] = {{0, 0}, {0, side}, {side, side}, {side, 0}};
            for (const auto& c : corners) {
                const double rec[6] = {x + c[0], y + c[1], z, c[0] / side, c[1] / side, 100};
                OMBREL_polygon_add_point(p, rec);
            }
            OMBREL_polygon_set_group(p, group);
            OMBREL_engine_add_polygon(p);
        }
    }
    ~QuadWorld() { OMBREL_engine_close(); }
};

void BM_ReducedCopy100kPolygonsLevel2(benchmark::State& state) {
    QuadWorld w(12);
    int32_t polygons = 0;
    for (auto _ : state) {
        const int32_t copy = OMBREL_group_create_reduced_copy(w.group, 2);
        state.PauseTiming();
        polygons = OMBREL_group_get_number_of_polygons(copy);
        OMBREL_group_delete_members(copy);
        state.ResumeTiming();
    }
    state.counters["polygons kept"] = polygons;
}
BENCHMARK(BM_ReducedCopy100kPolygonsLevel2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_TriangulatedCopy100kQuads(benchmark::State& state) {
    QuadWorld w(0.9);
    int32_t polygons = 0;
    for (auto _ : state) {
        const int32_t copy = OMBREL_group_create_copy_made_of_triangles(w.group);
        state.PauseTiming();
        polygons = OMBREL_group_get_number_of_polygons(copy);
        OMBREL_group_delete_members(copy);
        state.ResumeTiming();
    }
    state.counters["triangles"] = polygons;
}
BENCHMARK(BM_TriangulatedCopy100kQuads)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
