// Opening a saved world whose polygons each carry a light map, with one map file
// per polygon under bitmaps/: the cost should follow what the world holds (80,000
// maps about 8 times 10,000). Each size is made and saved once, before its runs.
#include "bench_worlds.h"
#include "ombrel.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

namespace {

std::string benchFolder() {
    static std::string dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("ombrel3_bench_open_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p.string();
    }();
    return dir;
}

// Small quads on a grid under one lamp, each with a light map of a few texels,
// saved once per size; returns the world file.
std::string litWorld(int polygons) {
    static std::map<int, std::string> made;
    if (auto it = made.find(polygons); it != made.end()) return it->second;
    OMBREL_engine_hide_log_window();
    OMBREL_engine_load_world(nullptr, nullptr, nullptr, OMBREL_LOAD_EDITOR);
    const int32_t root = OMBREL_group_create("the_world");
    const double at[3] = {20, 20, 10};
    const int32_t lamp = OMBREL_light_create("lamp", at);
    OMBREL_light_set_type_of_light(lamp, 8 | 16);
    int32_t group = 0;
    for (int i = 0; i < polygons; ++i) {
        if (i % 1000 == 0) {
            group = OMBREL_group_create("part");
            OMBREL_group_set_father_group(group, root);
        }
        const int32_t p = bench::addFloorQuad(group, i % 300, i / 300);
        if (OMBREL_polygon_create_lightmap(p, 4, 1, 1, 0, 2) == 0) return {};
    }
    const std::string folder = benchFolder() + "/lit" + std::to_string(polygons);
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/lit.wld";
    if (OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD) != 0) return {};
    OMBREL_engine_load_world(nullptr, nullptr, nullptr, OMBREL_LOAD_EDITOR);
    return made[polygons] = path;
}

// The same world moved to another folder, its map files renamed to upper-case
// extensions as some copies do: every map is found in bitmaps/ in any case.
std::string movedLitWorld(int polygons) {
    static std::map<int, std::string> made;
    if (auto it = made.find(polygons); it != made.end()) return it->second;
    const std::string saved = litWorld(polygons);
    if (saved.empty()) return {};
    namespace fs = std::filesystem;
    const fs::path from = fs::path(saved).parent_path();
    const fs::path to = benchFolder() + "/moved" + std::to_string(polygons);
    fs::rename(from, to);
    for (const auto& entry : fs::directory_iterator(to / "bitmaps")) {
        fs::path upper = entry.path();
        upper.replace_extension(".BMP");
        fs::rename(entry.path(), upper);
    }
    return made[polygons] = (to / "lit.wld").string();
}

void openWorld(benchmark::State& state, const std::string& path) {
    const int polygons = int(state.range(0));
    if (path.empty()) {
        state.SkipWithError("set-up failed");
        return;
    }
    // As the editor opens a world: its bitmaps/ named as the bitmap folder.
    const std::string bitmaps = std::filesystem::path(path).parent_path().string() + "/bitmaps";
    for (auto _ : state) {
        if (OMBREL_engine_load_world(path.c_str(), "", bitmaps.c_str(), OMBREL_LOAD_EDITOR) != 0)
            state.SkipWithError("open failed");
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(0);
    state.counters["polygons_per_s"] = benchmark::Counter(double(polygons), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_OpenLitWorld(benchmark::State& state) { openWorld(state, litWorld(int(state.range(0)))); }
BENCHMARK(BM_OpenLitWorld)
    ->Arg(10000)
    ->Arg(40000)
    ->Arg(80000)
    ->Arg(100000)
    ->ArgName("polygons")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// Runs after every BM_OpenLitWorld: moving a size's world takes it from there.
void BM_OpenMovedLitWorld(benchmark::State& state) { openWorld(state, movedLitWorld(int(state.range(0)))); }
BENCHMARK(BM_OpenMovedLitWorld)
    ->Arg(10000)
    ->Arg(100000)
    ->ArgName("polygons")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    OMBREL_engine_close();
    std::filesystem::remove_all(benchFolder());
    return 0;
}
