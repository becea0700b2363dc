// The occluders' bounding-volume hierarchy: building it over 20,000 triangles (the
// light-map world's quads), and one shadow ray through it.
#include "geom.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<ombrel::TriangleBvh::Triangle> gridTriangles(int n) {
    std::vector<ombrel::TriangleBvh::Triangle> out;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double x = i * 20.0, y = j * 20.0, z = (i * 7 + j * 3) % 5 == 0 ? 20 : 0;
            out.push_back({{x, y, z}, {x, y + 20, z}, {x + 20, y + 20, z}});
            out.push_back({{x, y, z}, {x + 20, y + 20, z}, {x + 20, y, z}});
        }
    return out;
}

void BM_BvhBuild20000Triangles(benchmark::State& state) {
    const auto tris = gridTriangles(100);
    for (auto _ : state) {
        ombrel::TriangleBvh bvh(tris);
        benchmark::DoNotOptimize(bvh.size());
    }
    state.counters["triangles"] = static_cast<double>(tris.size());
}
BENCHMARK(BM_BvhBuild20000Triangles)->Unit(benchmark::kMillisecond);

void BM_BvhShadowRay(benchmark::State& state) {
    const ombrel::TriangleBvh bvh(gridTriangles(100));
    int i = 0;
    for (auto _ : state) {
        const double x = (i * 37 % 2000) + 0.5, y = (i * 91 % 2000) + 0.5;
        ++i;
        benchmark::DoNotOptimize(bvh.occluded({x, y, 0.1}, {1000 - x, 1000 - y, 300}, 1.0));
    }
}
BENCHMARK(BM_BvhShadowRay);

}  // namespace

BENCHMARK_MAIN();
