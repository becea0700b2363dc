// Speed of the world model: moving a large group, walking a large world, and the
// cached location between edits.
#include "ombrel.h"

#include <benchmark/benchmark.h>

namespace {

// A fresh world with groups of unit squares under "the_world".
struct World {
    int32_t root = 0;
    std::vector<int32_t> groups;

    World(int groupCount, int polygonsPerGroup) {
        OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
        OMBREL_engine_hide_log_window();
        root = OMBREL_group_create("the_world");
        for (int g = 0; g < groupCount; ++g) {
            int32_t group = OMBREL_group_create("part");
            OMBREL_group_set_father_group(group, root);
            groups.push_back(group);
            for (int i = 0; i < polygonsPerGroup; ++i) {
                int32_t p = OMBREL_polygon_create();
                double x = i % 100, y = i / 100, z = g;
                double corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
                for (auto& c : corners) {
                    double rec[6] = {x + c[0], y + c[1], z, c[0], c[1], 100};
                    OMBREL_polygon_add_point(p, rec);
                }
                OMBREL_polygon_set_group(p, group);
                OMBREL_engine_add_polygon(p);
            }
        }
    }
    ~World() { OMBREL_engine_close(); }
};

void BM_GroupMove10kPolygons(benchmark::State& state) {
    World w(1, 10000);
    double sign = 1;
    for (auto _ : state) {
        double offset[3] = {sign, 0.5 * sign, 0};
        OMBREL_group_move(w.groups[0], offset, OMBREL_MODE_WORLD);
        sign = -sign;
    }
}
BENCHMARK(BM_GroupMove10kPolygons)->Unit(benchmark::kMillisecond);

void BM_WalkWorld100kPolygons(benchmark::State& state) {
    World w(100, 1000);
    int32_t scope = state.range(0) ? w.root : 0;
    for (auto _ : state) {
        int32_t n = 0;
        for (int32_t p = OMBREL_group_get_first_polygon(scope); p; p = OMBREL_polygon_get_next(p)) ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_WalkWorld100kPolygons)->Arg(0)->Arg(1)->ArgNames({"root"})->Unit(benchmark::kMillisecond);

void BM_GroupLocationBetweenEdits(benchmark::State& state) {
    World w(10, 10000);
    double x, y, z;
    OMBREL_group_get_location(w.root, &x, &y, &z);
    for (auto _ : state) {
        OMBREL_group_get_location(w.root, &x, &y, &z);
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_GroupLocationBetweenEdits)->Unit(benchmark::kNanosecond);

void BM_GroupLocationAfterEachEdit(benchmark::State& state) {
    World w(10, 10000);
    double x, y, z, offset[3] = {0, 0, 0};
    for (auto _ : state) {
        OMBREL_group_move(w.groups[0], offset, OMBREL_MODE_WORLD);  // an edit, even if it moves nothing
        OMBREL_group_get_location(w.root, &x, &y, &z);
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_GroupLocationAfterEachEdit)->Unit(benchmark::kMillisecond);

// The included-group walk of every group of 10,000 flat groups, as a tree built
// level by level does it: each walk once from first to last.
void BM_IncludedWalkOfEveryGroup10kGroups(benchmark::State& state) {
    World w(10000, 0);
    for (auto _ : state) {
        int32_t n = 0;
        for (int32_t g : w.groups)
            for (int32_t c = OMBREL_group_get_first_included_group(g); c; c = OMBREL_group_get_next_included_group(g, c))
                ++n;
        for (int32_t c = OMBREL_group_get_first_included_group(w.root); c;
             c = OMBREL_group_get_next_included_group(w.root, c))
            ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_IncludedWalkOfEveryGroup10kGroups)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
