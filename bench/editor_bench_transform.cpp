// One drag step of the transform handle on a 10,000-polygon group: the engine
// move and the redraw of the active view (render, then the handle), as the view
// does it on every mouse move of a drag; alone, and in a 100,000-polygon world lit
// by one auto-update light. The engine is loaded as the editor loads it.
#include "bench_cursor.h"
#include "transform/TransformGizmo.h"

#include "core/BoundingBox.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/ViewHooks.h"
#include "core/myLine.h"
#include "ombrel.h"
#include "platform/cursor.h"
#include "platform/device_context.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "transform/TransformHooks.h"
#include "undo/ActionUndoRedo_Stack.h"


#include "editor_bench_main.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 800, kHeight = 600;

struct Scene {
    int32_t group = 0, surface = 0, camera = 0;
    std::vector<uint8_t> pixels;
    std::unique_ptr<platform::DeviceContext> dc;
};

// 100 x 100 unit squares in the z = 0 plane, one group.
int32_t makeGrid() {
    const int32_t g = OMBREL_group_create("grid");
    OMBREL_group_set_father_group(g, Globals::RootGrp);
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j) {
            const int32_t p = OMBREL_polygon_create();
            const double x = i - 50, y = j - 50;
            const double corners[4][2] = {{x, y}, {x, y + 1}, {x + 1, y + 1}, {x + 1, y}};
            for (const auto& c : corners) {
                double rec[6] = {c[0], c[1], 0, 0, 0, 100};
                OMBREL_polygon_add_point(p, rec);
            }
            OMBREL_polygon_set_color_fill(p, 40 + i, 90, 200 - j);
            OMBREL_polygon_set_group(p, g);
            OMBREL_engine_add_polygon(p);
        }
    return g;
}

// 90 more groups of 1,000 squares behind the camera, so that the frame draws what
// the step alone draws and the figure shows what the world's size costs.
void addSurroundings() {
    for (int g = 0; g < 90; ++g) {
        const int32_t group = OMBREL_group_create("part");
        OMBREL_group_set_father_group(group, Globals::RootGrp);
        const double ox = (g % 10) * 50.0 - 750, oy = (g / 10) * 50.0 - 1050;
        for (int i = 0; i < 1000; ++i) {
            const int32_t p = OMBREL_polygon_create();
            const double x = ox + i % 40, y = oy + i / 40;
            const double corners[4][2] = {{x, y}, {x, y + 1}, {x + 1, y + 1}, {x + 1, y}};
            for (const auto& c : corners) {
                double rec[6] = {c[0], c[1], 0, 0, 0, 100};
                OMBREL_polygon_add_point(p, rec);
            }
            OMBREL_polygon_set_group(p, group);
            OMBREL_engine_add_polygon(p);
        }
    }
}

void BM_DragStepOfALargeGroup(benchmark::State& state) {
    Scene s;
    OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
    OMBREL_engine_hide_log_window();
    Globals::RootGrp = OMBREL_group_create("the_world");
    s.group = makeGrid();
    if (state.range(0) == 1) {
        addSurroundings();
        // A new light is re-bound before each render, as the sample world's lamp.
        const double at[3] = {0, 0, 40};
        OMBREL_light_create("lamp", at);
    }
    s.pixels.assign(kWidth * kHeight * 4, 0);
    s.surface = OMBREL_ext_surface_attach(s.pixels.data(), kWidth, kHeight, kWidth * 4);
    s.camera = OMBREL_camera_create("view");
    OMBREL_camera_set_location(s.camera, -60, -90, 80);
    OMBREL_camera_set_direction(s.camera, 60, 90, -80);
    OMBREL_camera_set_zoom(s.camera, 60);
    s.dc = std::make_unique<platform::DeviceContext>(s.pixels.data(), kWidth, kHeight, kWidth * 4);
    Globals::CreateOverlayPens();
    Globals::OverlayDC = s.dc.get();
    Globals::OverlayLine = std::make_shared<myLine>();
    Globals::SelGrpBndBox = std::make_shared<BoundingBox>();
    Globals::CurrMultiSel = std::make_shared<MultipleSelection>();
    Globals::UndoRedoStack = std::make_shared<ActionUndoRedo_Stack>();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = s.group;
    Globals::SelGrpBndBox->Initialize(s.group);
    Globals::CurrToolMode = ToolMove;

    TransformGizmo gizmo(0);
    transform::transformHooks().viewWindow = [&](int) { return s.surface; };
    core::viewHooks().updateCamerasSingle = [&](int) {
        OMBREL_engine_render_on_dc(s.surface, s.camera);
        gizmo.Draw(s.group, s.camera, false);
    };
    BenchCursor cursor;
    platform::Cursor* previous = platform::installCursor(&cursor);

    gizmo.Draw(s.group, s.camera, false);
    const PixelPt c = gizmo.Center2DPx(), e = gizmo.AxisEnd2D(0);
    const double len = std::hypot(e[0] - c[0], e[1] - c[1]);
    const double ux = (e[0] - c[0]) / len, uy = (e[1] - c[1]) / len;
    auto at = [&](double t) {
        return platform::ScreenPoint{static_cast<int>(std::lround(c[0] + t * ux)), static_cast<int>(std::lround(c[1] + t * uy))};
    };
    cursor.at = at(len * 0.6);
    gizmo.MouseMove(0, static_cast<float>(cursor.at.x), static_cast<float>(cursor.at.y));
    if (gizmo.TransformationPossible != 0) state.SkipWithError("the X line is not under the mouse");
    platform::setKeyHeld(platform::vk::LButton, true);
    gizmo.MouseDown(1, static_cast<float>(cursor.at.x), static_cast<float>(cursor.at.y));
    gizmo.MouseMove(1, static_cast<float>(cursor.at.x), static_cast<float>(cursor.at.y));

    int step = 0;
    for (auto _ : state) {
        // Back and forth along the line, 4 pixels a step.
        const double t = len * 0.6 + ((step / 10) % 2 ? -4.0 : 4.0) * (step % 10);
        ++step;
        cursor.at = at(t);
        gizmo.MouseMove(1, static_cast<float>(cursor.at.x), static_cast<float>(cursor.at.y));
    }
    platform::setKeyHeld(platform::vk::LButton, false);
    gizmo.MouseUp(1, 0, 0);

    platform::installCursor(previous);
    core::viewHooks() = {};
    transform::transformHooks() = {};
    Globals::UndoRedoStack->Reset();
    Globals::UndoRedoStack.reset();
    Globals::DeleteOverlayPens();
    Globals::OverlayDC = nullptr;
    OMBREL_ext_surface_destroy(s.surface);
    OMBREL_engine_close();
}
BENCHMARK(BM_DragStepOfALargeGroup)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"world100kLit"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });

}  // namespace

int main(int argc, char** argv) { return runEditorBenchmarks(argc, argv); }
