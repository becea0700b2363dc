// Light maps in the engine: the batch's workers computing the maps of a world
// of 10,000 quads (about 4 million texels, three lamps and a sun, shadows on),
// from begin until every polygon's values are ready, with 1 and with 8 workers.
#include "lightmap_world.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <malloc.h>

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
// polygon claimed and installed in walk order (its map made; no file is written).
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

long residentKb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// Threads that keep cores busy with work of their own until destroyed, as other
// programs on the machine would.
class BusyThreads {
public:
    explicit BusyThreads(int count) {
        for (int i = 0; i < count; ++i)
            threads_.emplace_back([this] {
                volatile uint64_t x = 1;
                while (!stop_.load(std::memory_order_relaxed)) x = x * 6364136223846793005u + 1;
            });
    }
    ~BusyThreads() {
        stop_ = true;
        for (std::thread& t : threads_) t.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

// The first 800 x 600 render after the maps of a floor of 10,000 quads of 20 x 20
// units are installed (one lamp, rate 0.5: 40 x 40 texels each, 61 MiB), the
// memory it adds, and a warm render of the same floor before the maps; with the
// argument's number of cores kept busy by other work throughout.
void BM_FirstRenderAfterLightMaps(benchmark::State& state) {
    setenv("OMBREL_THREADS", "8", 1);
    using Clock = std::chrono::steady_clock;
    constexpr int kWidth = 800, kHeight = 600, kGrid = 100;
    double warmMs = 0, addedMb = 0, texelMb = 0;
    for (auto _ : state) {
        const BusyThreads busy(static_cast<int>(state.range(0)));
        OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
        OMBREL_engine_hide_log_window();
        const int32_t root = OMBREL_group_create("root");
        lightmap_bench::floor(root, kGrid);
        const double centre = kGrid * lightmap_bench::kSide / 2;
        const double at[3] = {centre, centre, 300};
        const int32_t lamp = OMBREL_light_create("lamp", at);
        OMBREL_light_set_type_of_light(lamp, 8 | 16);
        OMBREL_light_set_distance_reach(lamp, 0);
        std::vector<uint8_t> pixels(std::size_t(kWidth) * kHeight * 4);
        const int32_t surface = OMBREL_ext_surface_attach(pixels.data(), kWidth, kHeight, kWidth * 4);
        const int32_t camera = OMBREL_camera_create("above");
        OMBREL_camera_set_location(camera, centre, centre, 1600);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        OMBREL_camera_set_zoom(camera, 90);
        OMBREL_camera_set_current(camera, surface);
        OMBREL_engine_render_on_dc(surface, camera);
        const auto warm = Clock::now();
        OMBREL_engine_render_on_dc(surface, camera);
        warmMs = std::chrono::duration<double, std::milli>(Clock::now() - warm).count();

        OMBREL_ext_lightmap_begin(root, 256, 1, 0.5, 0, 2);
        long texels = 0;
        for (int32_t p = OMBREL_group_get_first_polygon(root); p; p = OMBREL_group_get_next_polygon(root, p)) {
            const int32_t map = OMBREL_polygon_create_lightmap(p, 256, 1, 0.5, 0, 2);
            texels += long(OMBREL_bitmap_get_width(map)) * OMBREL_bitmap_get_height(map);
        }
        OMBREL_ext_lightmap_end();
        texelMb = texels * 4 / 1048576.0;
        malloc_trim(0);  // memory freed before the render does not hide what it adds
        const long before = residentKb();
        const auto start = Clock::now();
        OMBREL_engine_render_on_dc(surface, camera);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        addedMb = std::max(addedMb, (residentKb() - before) / 1024.0);
        OMBREL_ext_surface_destroy(surface);
        OMBREL_engine_close();
    }
    state.counters["warm_render_without_maps_ms"] = warmMs;
    state.counters["added_MiB"] = addedMb;
    state.counters["texel_MiB"] = texelMb;
    unsetenv("OMBREL_THREADS");
}
BENCHMARK(BM_FirstRenderAfterLightMaps)->Arg(0)->Arg(4)->ArgName("busy_cores")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
