// Load and save of a generated world of 100,000 quads (400,000 points).
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

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    OMBREL_engine_close();
    std::filesystem::remove_all(benchFolder());
    return 0;
}
