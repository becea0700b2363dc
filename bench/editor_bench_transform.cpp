// One drag step of the transform handle on a 10,000-polygon group: the engine
// move and the redraw of the active view (render, then the handle), as the view
// does it on every mouse move of a drag; alone, and in a 100,000-polygon world lit
// by one auto-update light. Then what a turn of a large group costs in its
// record: the reading of its placements, the first motion of the drag, a click,
// and the memory of three records. The engine is loaded as the editor loads it.
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
#include "transform/SelectionPlacements.h"
#include "transform/TransformHooks.h"
#include "undo/ActionUndoRedo_Stack.h"

#include "editor_bench_main.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <functional>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 800, kHeight = 600;

// A unit square at (x, y) in the z = 0 plane, added to group and to the world.
int32_t addSquare(int32_t group, double x, double y) {
    const int32_t p = OMBREL_polygon_create();
    const double corners[4][2] = {{x, y}, {x, y + 1}, {x + 1, y + 1}, {x + 1, y}};
    for (const auto& c : corners) {
        double rec[6] = {c[0], c[1], 0, 0, 0, 100};
        OMBREL_polygon_add_point(p, rec);
    }
    OMBREL_polygon_set_group(p, group);
    OMBREL_engine_add_polygon(p);
    return p;
}

int32_t newGroup(const char* name) {
    const int32_t g = OMBREL_group_create(name);
    OMBREL_group_set_father_group(g, Globals::RootGrp);
    return g;
}

// 100 x 100 unit squares in the z = 0 plane, one group.
int32_t makeGrid() {
    const int32_t g = newGroup("grid");
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j) OMBREL_polygon_set_color_fill(addSquare(g, i - 50, j - 50), 40 + i, 90, 200 - j);
    return g;
}

// 90 more groups of 1,000 squares behind the camera, so that the frame draws what
// the step alone draws and the figure shows what the world's size costs.
void addSurroundings() {
    for (int g = 0; g < 90; ++g) {
        const int32_t group = newGroup("part");
        const double ox = (g % 10) * 50.0 - 750, oy = (g / 10) * 50.0 - 1050;
        for (int i = 0; i < 1000; ++i) addSquare(group, ox + i % 40, oy + i / 40);
    }
}

// quads unit squares in rows of 800 about the origin, one group: a large mesh.
int32_t makeQuads(int quads) {
    const int32_t g = newGroup("mesh");
    constexpr int kRow = 800;
    const int rows = quads / kRow;
    for (int n = 0; n < quads; ++n) addSquare(g, n % kRow - kRow / 2, n / kRow - rows / 2);
    return g;
}

// A fresh world whose group (made by fill) is selected, with one view looking at
// it from above and aside and the handle drawn there; the mouse hovers at 60 %
// of the handle's X line. With render set, every redraw the drag asks for renders.
class HandleScene {
public:
    HandleScene(const std::function<int32_t()>& fill, int tool, bool render) {
        OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
        OMBREL_engine_hide_log_window();
        Globals::RootGrp = OMBREL_group_create("the_world");
        group = fill();
        pixels_.assign(kWidth * kHeight * 4, 0);
        surface_ = OMBREL_ext_surface_attach(pixels_.data(), kWidth, kHeight, kWidth * 4);
        camera_ = OMBREL_camera_create("view");
        OMBREL_camera_set_location(camera_, -60, -90, 80);
        OMBREL_camera_set_direction(camera_, 60, 90, -80);
        OMBREL_camera_set_zoom(camera_, 60);
        dc_ = std::make_unique<platform::DeviceContext>(pixels_.data(), kWidth, kHeight, kWidth * 4);
        Globals::CreateOverlayPens();
        Globals::OverlayDC = dc_.get();
        Globals::OverlayLine = std::make_shared<myLine>();
        Globals::SelGrpBndBox = std::make_shared<BoundingBox>();
        Globals::CurrMultiSel = std::make_shared<MultipleSelection>();
        Globals::UndoRedoStack = std::make_shared<ActionUndoRedo_Stack>();
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        Globals::SelGrpBndBox->Initialize(group);
        Globals::CurrToolMode = tool;
        transform::transformHooks().viewWindow = [this](int) { return surface_; };
        if (render)
            core::viewHooks().updateCamerasSingle = [this](int) {
                OMBREL_engine_render_on_dc(surface_, camera_);
                gizmo.Draw(group, camera_, false);
            };
        previous_ = platform::installCursor(&cursor_);
        gizmo.Draw(group, camera_, false);
        const PixelPt c = gizmo.Center2DPx(), e = gizmo.AxisEnd2D(0);
        centre_ = c;
        length_ = std::hypot(e[0] - c[0], e[1] - c[1]);
        ux_ = (e[0] - c[0]) / length_, uy_ = (e[1] - c[1]) / length_;
        moveTo(length_ * 0.6, 0);
        ready = gizmo.TransformationPossible == 0;
    }
    ~HandleScene() {
        platform::setKeyHeld(platform::vk::LButton, false);
        platform::installCursor(previous_);
        core::viewHooks() = {};
        transform::transformHooks() = {};
        Globals::UndoRedoStack->Reset();
        Globals::UndoRedoStack.reset();
        Globals::DeleteOverlayPens();
        Globals::OverlayDC = nullptr;
        OMBREL_ext_surface_destroy(surface_);
        OMBREL_engine_close();
    }
    HandleScene(const HandleScene&) = delete;
    HandleScene& operator=(const HandleScene&) = delete;

    // The mouse t pixels from the handle's centre along the X line.
    void moveTo(double t, int16_t button) {
        cursor_.at = {static_cast<int>(std::lround(centre_[0] + t * ux_)), static_cast<int>(std::lround(centre_[1] + t * uy_))};
        gizmo.MouseMove(button, static_cast<float>(cursor_.at.x), static_cast<float>(cursor_.at.y));
    }
    // The press where the mouse hovers; its first report of the pointer there fixes the start.
    void press() {
        moveTo(length_ * 0.6, 0);
        platform::setKeyHeld(platform::vk::LButton, true);
        gizmo.MouseDown(1, static_cast<float>(cursor_.at.x), static_cast<float>(cursor_.at.y));
        moveTo(length_ * 0.6, 1);
    }
    void release() {
        platform::setKeyHeld(platform::vk::LButton, false);
        gizmo.MouseUp(1, static_cast<float>(cursor_.at.x), static_cast<float>(cursor_.at.y));
    }
    double lineLength() const { return length_; }

    int32_t group = 0;
    bool ready = false;
    TransformGizmo gizmo{0};

private:
    std::vector<uint8_t> pixels_;
    int32_t surface_ = 0, camera_ = 0;
    std::unique_ptr<platform::DeviceContext> dc_;
    BenchCursor cursor_;
    platform::Cursor* previous_ = nullptr;
    PixelPt centre_ = {0, 0};
    double length_ = 1, ux_ = 1, uy_ = 0;
};

void BM_DragStepOfALargeGroup(benchmark::State& state) {
    HandleScene s(
        [&] {
            const int32_t g = makeGrid();
            if (state.range(0) == 1) {
                addSurroundings();
                // A new light is re-bound before each render, as the sample world's lamp.
                const double at[3] = {0, 0, 40};
                OMBREL_light_create("lamp", at);
            }
            return g;
        },
        ToolMove, true);
    if (!s.ready) state.SkipWithError("the X line is not under the mouse");
    s.press();
    int step = 0;
    for (auto _ : state) {
        // Back and forth along the line, 4 pixels a step.
        const double t = s.lineLength() * 0.6 + ((step / 10) % 2 ? -4.0 : 4.0) * (step % 10);
        ++step;
        s.moveTo(t, 1);
    }
    s.release();
}
BENCHMARK(BM_DragStepOfALargeGroup)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"world100kLit"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });

int64_t placementNumbers(int32_t handle) { return OMBREL_ext_get_placement(handle, nullptr, 0); }

// Reading what a turn of the whole group changes: every number of its subtree,
// in one pass.
void BM_ReadGroupPlacements(benchmark::State& state) {
    HandleScene s([&] { return makeQuads(static_cast<int>(state.range(0))); }, ToolRotate, false);
    for (auto _ : state) {
        undo::Placements p = transform::ReadSelectionPlacements(transform::EditMode::Object);
        benchmark::DoNotOptimize(p);
    }
    state.counters["numbers"] = static_cast<double>(placementNumbers(s.group));
}

// A press of the turn handle and its first motion, 5 pixels along the line: the
// placements are read there, then the group turns; the release (the record) is
// not timed.
void BM_HandleTurnFirstMotion(benchmark::State& state) {
    HandleScene s([&] { return makeQuads(static_cast<int>(state.range(0))); }, ToolRotate, false);
    if (!s.ready) state.SkipWithError("the X line is not under the mouse");
    for (auto _ : state) {
        state.PauseTiming();
        s.press();
        state.ResumeTiming();
        s.moveTo(s.lineLength() * 0.6 + 5, 1);
        state.PauseTiming();
        s.release();
        Globals::UndoRedoStack->Reset();
        state.ResumeTiming();
    }
}

// A press and release of the turn handle without motion: nothing to read.
void BM_HandleTurnClick(benchmark::State& state) {
    HandleScene s([&] { return makeQuads(static_cast<int>(state.range(0))); }, ToolRotate, false);
    if (!s.ready) state.SkipWithError("the X line is not under the mouse");
    for (auto _ : state) {
        s.press();
        s.release();
    }
}

double heldMiB() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

// The memory three turn records of a large group hold (heap in use after the
// three handle turns less before), beside what one copy of its numbers takes.
void BM_ThreeTurnRecordsMemory(benchmark::State& state) {
    HandleScene s([&] { return makeQuads(static_cast<int>(state.range(0))); }, ToolRotate, false);
    if (!s.ready) state.SkipWithError("the X line is not under the mouse");
    double held = 0;
    for (auto _ : state) {
        Globals::UndoRedoStack->Reset();
        const double before = heldMiB();
        for (int i = 0; i < 3; ++i) {
            s.press();
            s.moveTo(s.lineLength() * 0.6 + 5, 1);
            s.release();
        }
        held = heldMiB() - before;
    }
    state.counters["records_MiB"] = held;
    state.counters["one_copy_MiB"] = static_cast<double>(placementNumbers(s.group)) * sizeof(double) / (1024.0 * 1024.0);
}

BENCHMARK(BM_ReadGroupPlacements)->Arg(120000)->Arg(480000)->ArgNames({"quads"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandleTurnFirstMotion)->Arg(120000)->Arg(480000)->ArgNames({"quads"})->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_HandleTurnClick)->Arg(480000)->ArgNames({"quads"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ThreeTurnRecordsMemory)->Arg(250000)->ArgNames({"polygons"})->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return runEditorBenchmarks(argc, argv); }
