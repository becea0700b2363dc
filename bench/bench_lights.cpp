// Activating a light whose target is a world of 100,000 polygons in 100 groups:
// the light is unbound everywhere and bound again to every polygon of its
// target's walk. And one render of 8,000 polygons under 1,000 auto-update
// lights, all re-bound before the render.
#include "ombrel.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_ActivateLightOver100000Polygons(benchmark::State& state) {
    OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
    OMBREL_engine_hide_log_window();
    const int32_t root = OMBREL_group_create("the_world");
    for (int g = 0; g < 100; ++g) {
        const int32_t group = OMBREL_group_create("part");
        OMBREL_group_set_father_group(group, root);
        for (int i = 0; i < 1000; ++i) {
            const int32_t p = OMBREL_polygon_create();
            const double x = g * 50.0 + i % 40, y = i / 40.0;
            const double corners[3][2] = {{x, y}, {x, y + 1}, {x + 1, y}};
            for (const auto& c : corners) {
                const double record[6] = {c[0], c[1], 0, 0, 0, 100};
                OMBREL_polygon_add_point(p, record);
            }
            OMBREL_polygon_set_group(p, group);
            OMBREL_engine_add_polygon(p);
        }
    }
    const double at[3] = {0, 0, 100};
    const int32_t light = OMBREL_light_create("lamp", at);
    OMBREL_light_set_entity_to_light(light, root);
    for (auto _ : state) benchmark::DoNotOptimize(OMBREL_light_activate(light, 0));
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(root);
    OMBREL_engine_close();
}
BENCHMARK(BM_ActivateLightOver100000Polygons)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RenderWith1000AutoUpdateLights(benchmark::State& state) {
    OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
    OMBREL_engine_hide_log_window();
    const int32_t root = OMBREL_group_create("the_world");
    for (int i = 0; i < 8000; ++i) {
        const int32_t p = OMBREL_polygon_create();
        const double x = i % 100, y = i / 100.0;
        const double corners[3][2] = {{x, y}, {x, y + 1}, {x + 1, y}};
        for (const auto& c : corners) {
            const double record[6] = {c[0], c[1], 0, 0, 0, 100};
            OMBREL_polygon_add_point(p, record);
        }
        OMBREL_polygon_set_group(p, root);
        OMBREL_engine_add_polygon(p);
    }
    for (int i = 0; i < 1000; ++i) {
        const double at[3] = {i % 100 * 1.0, i / 10.0, 50};
        OMBREL_light_create("lamp", at);  // auto update by default
    }
    std::vector<uint8_t> pixels(800 * 600 * 4);
    const int32_t surface = OMBREL_ext_surface_attach(pixels.data(), 800, 600, 800 * 4);
    const int32_t camera = OMBREL_camera_create("bench");
    OMBREL_camera_set_location(camera, 50, 40, 200);
    OMBREL_camera_set_direction(camera, 0, 0, -1);
    OMBREL_camera_set_current(camera, surface);
    for (auto _ : state) benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(surface, camera));
    OMBREL_ext_surface_destroy(surface);
    OMBREL_engine_close();
}
BENCHMARK(BM_RenderWith1000AutoUpdateLights)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
