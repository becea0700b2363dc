// One drag step of the move handle with 10,000 groups of 10 polygons selected
// (100,000 polygons) in a 1280 x 1024 window, Ctrl held so that the four views
// are redrawn, each with the boxes of every selected group.
#include "EditorBenchWorld.h"
#include "bench_cursor.h"
#include "editor_bench_main.h"

#include "core/MultipleSelection.h"
#include "core/SelectionCentres.h"
#include "ombrel_views.h"
#include "platform/cursor.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "transform/TransformGizmo.h"
#include "views/ViewRedraw.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kGroups = 10000;
constexpr int kView = 0;  // the top view

// The engine's rendering, timed apart from the rest of the step through the
// bound entry points: a view alone, or the views of a redraw at once.
int32_t (*engineRender)(int32_t, int32_t) = nullptr;
int32_t (*engineRenderViews)(int32_t, const int32_t*, const int32_t*) = nullptr;
double renderSeconds = 0;

template <class F>
int32_t timed(F&& render) {
    const auto t0 = std::chrono::steady_clock::now();
    const int32_t r = render();
    renderSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return r;
}
int32_t timedRender(int32_t window, int32_t camera) {
    return timed([&] { return engineRender(window, camera); });
}
int32_t timedRenderViews(int32_t count, const int32_t* windows, const int32_t* cameras) {
    return timed([&] { return engineRenderViews(count, windows, cameras); });
}

// The groups in rows that climb, so that each view sees them spread out.
void addSelectedGroups() {
    Globals::CurrMultiSel->Reset();
    for (int i = 0; i < kGroups; ++i) {
        const int32_t g = OMBREL_group_create("block");
        OMBREL_group_set_father_group(g, Globals::RootGrp);
        AddQuadGrid(g, 5, 2, (i % 100) * 8.0 - 400, (i / 100) * 4.0 - 200, (i / 100) * 2.0);
        Globals::CurrMultiSel->AddGrpHandles(g);
    }
    Globals::CurrSelEntityType = SelMultiple;
    Globals::CurrSelEntityHandle = 0;
    Globals::ComputeSelObjsAvgCenter();
}

void BM_DragStepOf10000SelectedGroups(benchmark::State& state) {
    EditorWithWorld editor;
    Form1* window = ShownEditorWithNewWorld(editor, state);
    if (!window) return;
    Form1& f = *window;
    addSelectedGroups();
    for (int v = 0; v < 4; ++v) {
        f.PicBoxFocused = v;
        f.ZoomExtent(v);
    }
    f.PicBoxFocused = kView;
    Globals::CurrToolMode = ToolMove;

    BenchCursor cursor;
    platform::Cursor* previous = platform::installCursor(&cursor);
    // A first move places the handle; the press is halfway along its X line.
    f.picWindow_MouseMove(kView, 0, 0, 1, 1);
    TransformGizmo& gizmo = *f.ViewGizmos[kView];
    const PixelPt c = gizmo.Center2DPx(), e = gizmo.AxisEnd2D(0);
    const double len = std::hypot(e[0] - c[0], e[1] - c[1]);
    auto at = [&](double t) {
        return platform::ScreenPoint{static_cast<int>(std::lround(c[0] + t * (e[0] - c[0]) / len)),
                                     static_cast<int>(std::lround(c[1] + t * (e[1] - c[1]) / len))};
    };
    cursor.at = at(len * 0.5);
    f.picWindow_MouseMove(kView, 0, 0, static_cast<float>(cursor.at.x), static_cast<float>(cursor.at.y));
    if (gizmo.TransformationPossible != 0) {
        state.SkipWithError("the X line is not under the pointer");
        platform::installCursor(previous);
        return;
    }
    platform::setKeyHeld(platform::vk::Control, true);
    platform::setKeyHeld(platform::vk::LButton, true);
    f.picWindow_MouseDown(kView, 1, 0, static_cast<float>(cursor.at.x), static_cast<float>(cursor.at.y));

    int step = 0;
    const uint64_t paintsBefore = views::LastPaintSerial(kView);
    engineRender = OMBREL_engine_render_on_dc;
    engineRenderViews = OMBREL_ext_render_views_on_dcs;
    OMBREL_engine_render_on_dc = timedRender;
    OMBREL_ext_render_views_on_dcs = timedRenderViews;
    renderSeconds = 0;
    for (auto _ : state) {
        // Back and forth along the line, 4 pixels a step.
        cursor.at = at(len * 0.5 + ((step / 10) % 2 ? -4.0 : 4.0) * (step % 10));
        ++step;
        f.picWindow_MouseMove(kView, 1, 0, static_cast<float>(cursor.at.x), static_cast<float>(cursor.at.y));
    }
    OMBREL_engine_render_on_dc = engineRender;
    OMBREL_ext_render_views_on_dcs = engineRenderViews;
    state.counters["render_ms_per_step"] = renderSeconds * 1e3 / static_cast<double>(state.iterations());
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(Globals::RootGrp);
    state.counters["selected"] = Globals::CurrMultiSel->NumOfGrps();
    // Redraws of the four views per step (the serial counts every view's paint).
    state.counters["redraws_per_step"] =
        static_cast<double>(views::LastPaintSerial(kView) - paintsBefore) / 4 / static_cast<double>(state.iterations());

    platform::setKeyHeld(platform::vk::Control, false);
    platform::setKeyHeld(platform::vk::LButton, false);
    f.picWindow_MouseUp(kView, 1, 0, static_cast<float>(cursor.at.x), static_cast<float>(cursor.at.y));
    platform::installCursor(previous);
}
// Each run builds the world again: repeat it with --benchmark_repetitions=5.
BENCHMARK(BM_DragStepOf10000SelectedGroups)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here: the template chooser is turned down.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
