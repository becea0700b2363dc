// Load and save of a generated world of 100,000 quads (400,000 points), and the
// first save of a world whose 1,000 polygons have new light maps.
#include "bench_worlds.h"
#include "ombrel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Min, median and mean of three repetitions, as the figures are quoted.
void quoted(benchmark::internal::Benchmark* b) {
    b->Repetitions(3)->ReportAggregatesOnly(true)->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

std::string benchFolder() {
    static std::string dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("ombrel3_bench_world_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p.string();
    }();
    return dir;
}

// Builds the world in the engine and saves it once; returns the file.
std::string makeWorld() {
    std::string path = benchFolder() + "/big.wld";
    bench::writeQuadWorld(path);
    return path;
}

void BM_LoadWorld(benchmark::State& state) {
    std::string path = makeWorld();
    for (auto _ : state) {
        if (OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR) != 0) state.SkipWithError("load failed");
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(0);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_LoadWorld)->Unit(benchmark::kMillisecond)->Iterations(5)->Apply(quoted);

void BM_SaveWorld(benchmark::State& state) {
    makeWorld();
    int32_t root = OMBREL_group_get_using_name("the_world");
    std::string path = benchFolder() + "/again.wld";
    for (auto _ : state) {
        if (OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD) != 0) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveWorld)->Unit(benchmark::kMillisecond)->Iterations(5)->Apply(quoted);

// Each save goes to a folder of its own, so every map gets a new file there. The
// folders stay until the end: a file system makes files slowly for a while after
// as many were deleted.
void BM_SaveNewLightMaps(benchmark::State& state) {
    const int kMaps = static_cast<int>(state.range(0));
    OMBREL_engine_hide_log_window();
    OMBREL_engine_load_world(nullptr, nullptr, nullptr, OMBREL_LOAD_EDITOR);
    const int32_t root = OMBREL_group_create("the_world");
    const double at[3] = {20, 20, 10};
    const int32_t lamp = OMBREL_light_create("lamp", at);
    OMBREL_light_set_type_of_light(lamp, 8 | 16);
    OMBREL_light_set_distance_reach(lamp, 0);
    std::vector<int32_t> polygons;
    for (int i = 0; i < kMaps; ++i) {
        const int32_t p = bench::addFloorQuad(root, i % 40, i / 40);
        polygons.push_back(p);
    }
    OMBREL_ext_lightmap_begin(root, 16, 1, 1, 0, 2);
    for (const int32_t p : polygons)
        if (OMBREL_polygon_create_lightmap(p, 16, 1, 1, 0, 2) == 0) state.SkipWithError("no light map");
    OMBREL_ext_lightmap_end();
    int run = 0;
    for (auto _ : state) {
        const std::string folder = benchFolder() + "/maps" + std::to_string(++run);
        std::filesystem::create_directories(folder);
        if (OMBREL_engine_save((folder + "/lit.wld").c_str(), root, OMBREL_SAVE_WORLD) != 0)
            state.SkipWithError("save failed");
    }
    state.counters["maps"] = kMaps;
}
BENCHMARK(BM_SaveNewLightMaps)->Arg(1000)->ArgName("maps")->Unit(benchmark::kMillisecond)->Iterations(3)->Apply(quoted);
BENCHMARK(BM_SaveNewLightMaps)->Arg(100000)->ArgName("maps")->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    OMBREL_engine_close();
    std::filesystem::remove_all(benchFolder());
    return 0;
}
