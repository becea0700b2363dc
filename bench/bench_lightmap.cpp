// Light maps in the engine: the batch's workers computing the maps of a world
// of 10,000 quads (about 4 million texels, three lamps and a sun, shadows on),
// from begin until every polygon's values are ready, with 1 and with 8 workers.
#include "lightmap_world.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

void BM_LightMapWorkers(benchmark::State& state) {
    const std::string threads = std::to_string(state.range(0));
    setenv("OMBREL_THREADS", threads.c_str(), 1);
    OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
    OMBREL_engine_hide_log_window();
    const int32_t root = OMBREL_group_create("root");
    lightmap_bench::build(root);
    std::vector<int32_t> walk;
    for (int32_t p = OMBREL_group_get_first_polygon(root); p; p = OMBREL_group_get_next_polygon(root, p))
        walk.push_back(p);
    const int32_t rayTracing = static_cast<int32_t>(state.range(1));
    for (auto _ : state) {
        if (OMBREL_ext_lightmap_begin(root, 256, 1, 1, rayTracing, 2) != 0) {
            state.SkipWithError("the batch did not begin");
            break;
        }
        for (int32_t p : walk)
            while (OMBREL_ext_lightmap_ready(p, 1000) == 0) {
            }
        state.PauseTiming();
        OMBREL_ext_lightmap_end();
        state.ResumeTiming();
    }
    state.counters["polygons"] = static_cast<double>(walk.size());
    OMBREL_engine_close();
    unsetenv("OMBREL_THREADS");
}
BENCHMARK(BM_LightMapWorkers)
    ->ArgsProduct({{1, 8}, {1, 0}})
    ->ArgNames({"threads", "raytracing"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// The whole run as the dialog makes it, without the dialog: begin, then every
// polygon claimed and installed in walk order (its map made and written).
void BM_LightMapClaims(benchmark::State& state) {
    setenv("OMBREL_THREADS", "8", 1);
    OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
    OMBREL_engine_hide_log_window();
    const int32_t root = OMBREL_group_create("root");
    lightmap_bench::build(root);
    const int32_t rayTracing = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        OMBREL_ext_lightmap_begin(root, 256, 1, 1, rayTracing, 2);
        for (int32_t p = OMBREL_group_get_first_polygon(root); p; p = OMBREL_group_get_next_polygon(root, p))
            OMBREL_polygon_create_lightmap(p, 256, 1, 1, rayTracing, 2);
        OMBREL_ext_lightmap_end();
    }
    OMBREL_engine_close();
    unsetenv("OMBREL_THREADS");
}
BENCHMARK(BM_LightMapClaims)->Arg(1)->Arg(0)->ArgName("raytracing")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
