// Speed of rendering, re-rendering after an edit, and picking, in one 800 x 600
// view with Mesa's software rasteriser.
#include "ombrel.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 800, kHeight = 600;

// A 64 x 64 checker picture written as a 24-bit BMP.
std::string writeChecker() {
    std::string path = "/tmp/talvora_bench_checker_" + std::to_string(::getpid()) + ".bmp";
    const int n = 64, row = n * 3;
    std::vector<uint8_t> out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    out = {'B', 'M'};
    put32(54 + row * n);
    put32(0);
    put32(54);
    put32(40);
    put32(n);
    put32(n);
    out.insert(out.end(), {1, 0, 24, 0});
    for (int i = 0; i < 6; ++i) put32(i == 1 ? row * n : 0);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            uint8_t v = ((x / 8 + y / 8) % 2) ? 220 : 60;
            out.insert(out.end(), {v, static_cast<uint8_t>(255 - v), 128});
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
    return path;
}

// Groups of 1000 textured unit squares (40 x 25), laid out 10 to a row, 50 units
// apart in x and 120 in y. The camera looks down on the first five of row 0.
struct Scene {
    std::vector<int32_t> groups;
    int32_t surface = 0, camera = 0;
    std::vector<uint8_t> pixels;

    explicit Scene(int groupCount) {
        OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
        OMBREL_engine_hide_log_window();
        std::string picture = writeChecker();
        int32_t bitmap = OMBREL_bitmap_load(picture.c_str(), -1);
        std::remove(picture.c_str());
        int32_t root = OMBREL_group_create("the_world");
        for (int g = 0; g < groupCount; ++g) {
            int32_t group = OMBREL_group_create("part");
            OMBREL_group_set_father_group(group, root);
            groups.push_back(group);
            double ox = (g % 10) * 50.0, oy = (g / 10) * 120.0;
            for (int i = 0; i < 1000; ++i) {
                int32_t p = OMBREL_polygon_create();
                double x = ox + i % 40, y = oy + i / 40;
                double corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
                for (auto& c : corners) {
                    double rec[6] = {x + c[0], y + c[1], 0, c[0], 1 - c[1], 100};
                    OMBREL_polygon_add_point(p, rec);
                }
                OMBREL_polygon_set_group(p, group);
                OMBREL_engine_add_polygon(p);
                OMBREL_polygon_set_bitmap_fill(p, bitmap);
            }
        }
        pixels.assign(static_cast<std::size_t>(kWidth) * kHeight * 4, 0);
        surface = OMBREL_ext_surface_attach(pixels.data(), kWidth, kHeight, kWidth * 4);
        camera = OMBREL_camera_create("bench");
        OMBREL_camera_set_location(camera, 120, 12.5, 125);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        OMBREL_camera_set_zoom(camera, 90);
        OMBREL_camera_set_current(camera, surface);
        OMBREL_engine_render_on_dc(surface, camera);  // builds every visible mesh once
    }
    ~Scene() {
        OMBREL_ext_surface_destroy(surface);
        OMBREL_engine_close();
    }
};

void BM_Render5000VisibleTextured(benchmark::State& state) {
    Scene s(5);
    for (auto _ : state) benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
}
BENCHMARK(BM_Render5000VisibleTextured)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Render100kWorld5000Visible(benchmark::State& state) {
    Scene s(100);
    for (auto _ : state) benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
}
BENCHMARK(BM_Render100kWorld5000Visible)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Moves one visible group back and forth before each render; compare with the
// plain re-render above.
void BM_MoveOneGroupAndRender100kWorld(benchmark::State& state) {
    Scene s(100);
    double sign = 1;
    for (auto _ : state) {
        const double by[3] = {0, 0, 0.25 * sign};
        sign = -sign;
        OMBREL_group_move(s.groups[2], by, 0);
        benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
    }
}
BENCHMARK(BM_MoveOneGroupAndRender100kWorld)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Pick100kWorld(benchmark::State& state) {
    Scene s(100);
    int i = 0;
    for (auto _ : state) {
        int32_t x = (i * 37) % kWidth, y = (i * 23) % kHeight;
        ++i;
        double pt[3];
        int32_t g = 0, p = 0;
        benchmark::DoNotOptimize(OMBREL_engine_2D_point_to_3D(x, y, pt, &g, &p));
    }
}
BENCHMARK(BM_Pick100kWorld)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
