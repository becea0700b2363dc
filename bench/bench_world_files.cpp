// Load and save of a generated world of 100,000 quads (400,000 points).
#include "ombrel.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kSide = 316;  // kSide^2 quads, just under 100,000, in 100 groups

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
    OMBREL_engine_hide_log_window();
    OMBREL_engine_load_world(nullptr, nullptr, nullptr, OMBREL_LOAD_EDITOR);
    int32_t root = OMBREL_group_create("the_world");
    int32_t group = 0;
    int made = 0;
    for (int i = 0; i < kSide; ++i)
        for (int j = 0; j < kSide + 1 && made < 100000; ++j, ++made) {
            if (made % 1000 == 0) {
                group = OMBREL_group_create("part");
                OMBREL_group_set_father_group(group, root);
            }
            int32_t p = OMBREL_polygon_create();
            double x = i * 1.1, y = j * 1.3;
            double corners[4][2] = {{x, y}, {x, y + 1.0 / 3}, {x + 0.7, y + 1.0 / 3}, {x + 0.7, y}};
            for (auto& c : corners) {
                double rec[6] = {c[0], c[1], 0.1 * i, 0.25, 0.75, 100};
                OMBREL_polygon_add_point(p, rec);
            }
            OMBREL_polygon_set_group(p, group);
            OMBREL_engine_add_polygon(p);
        }
    std::string path = benchFolder() + "/big.wld";
    OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD);
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
BENCHMARK(BM_LoadWorld)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SaveWorld(benchmark::State& state) {
    makeWorld();
    int32_t root = OMBREL_group_get_using_name("the_world");
    std::string path = benchFolder() + "/again.wld";
    for (auto _ : state) {
        if (OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD) != 0) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveWorld)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    OMBREL_engine_close();
    std::filesystem::remove_all(benchFolder());
    return 0;
}
