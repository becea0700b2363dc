// The selection's heavy walks over large geometry: rebuilding the welded points
// of a big group (entering polygon editing, undo of a selection), a rubber band
// over a big world (every point of every group projected until a hit), and
// Select All and Select Invert over many top-level groups and over the polygons
// of one very large group.
#include "EditorBenchWorld.h"

#include "core/Globals.h"
#include "core/BoundingBox.h"
#include "core/MultipleSelection.h"
#include "core/ObjectSelection.h"
#include "core/SelectAllInvert.h"
#include "core/PointSelection.h"
#include "core/PolygonSelection.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "core/WindowHooks.h"
#include "core/WeldedPointsProcedures.h"
#include "core/myLine.h"
#include "engine/ombrel_loader.h"
#include "ombrel.h"
#include "platform/device_context.h"
#include "platform/gdi.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

// The engine with a fresh empty world for the benchmark's lifetime.
class EngineWorld {
public:
    EngineWorld() {
        const std::string folder = TALVORA_PROGRAM_DIR;
        ok_ = ombrel_loader::load(folder + "/" + ombrel_loader::libraryFileName()).status ==
                  ombrel_loader::Status::Loaded &&
              OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR) == 0;
        if (ok_) OMBREL_engine_hide_log_window();
        Globals::RootGrp = ok_ ? OMBREL_group_create("the_world") : 0;
        Globals::CurrMultiSel = std::make_shared<MultipleSelection>();
        Globals::PrevMultiSel = std::make_shared<MultipleSelection>();
        Globals::CurrSelEntityType = Globals::PrevSelEntityType = SelNone;
        Globals::CurrToolMode = ToolSelect;
    }
    ~EngineWorld() {
        Globals::WeldedPts.clear();
        Globals::NumWeldedPts = 0;
        Globals::RootGrp = 0;
        if (ok_) OMBREL_engine_close();
        ombrel_loader::unload();
    }
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

// A 1024 x 768 view looking straight down from the eye, made the current camera.
class ViewFromAbove {
public:
    static constexpr int kW = 1024, kH = 768;
    ViewFromAbove(double x, double y, double z) : pixels_(static_cast<std::size_t>(kW) * kH * 4) {
        surface_ = OMBREL_ext_surface_attach(pixels_.data(), kW, kH, kW * 4);
        const int32_t camera = OMBREL_camera_create("view");
        OMBREL_camera_set_location(camera, x, y, z);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        OMBREL_camera_set_current(camera, surface_);
    }
    ~ViewFromAbove() { OMBREL_ext_surface_destroy(surface_); }
    ViewFromAbove(const ViewFromAbove&) = delete;
    ViewFromAbove& operator=(const ViewFromAbove&) = delete;
    uint8_t* pixels() { return pixels_.data(); }

private:
    std::vector<uint8_t> pixels_;
    int32_t surface_ = 0;
};

void BM_BuildWeldedPoints20000Polygons(benchmark::State& state) {
    EngineWorld world;
    if (!world.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const int32_t group = OMBREL_group_create("mesh");
    OMBREL_group_set_father_group(group, Globals::RootGrp);
    AddQuadGrid(group, 200, 100, 0, 0, 0);
    for (auto _ : state) {
        Globals::BuildWeldedPoints(group);
        benchmark::DoNotOptimize(Globals::NumWeldedPts);
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(group);
    state.counters["entries"] = Globals::NumWeldedPts;
}
BENCHMARK(BM_BuildWeldedPoints20000Polygons)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });

// 100 top-level groups of 1,000 polygons in a 10 x 10 block, seen from above by
// a camera on a 1024 x 768 surface. Arg 0: a band over empty space, so every point
// is projected; arg 1: a band over the whole world (one point per group).
void BM_RubberBand100000Polygons(benchmark::State& state) {
    EngineWorld world;
    if (!world.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    for (int gy = 0; gy < 10; ++gy)
        for (int gx = 0; gx < 10; ++gx) {
            const int32_t g = OMBREL_group_create("block");
            OMBREL_group_set_father_group(g, Globals::RootGrp);
            AddQuadGrid(g, 40, 25, gx * 50.0 - 250, gy * 30.0 - 150, 0);
        }
    ViewFromAbove view(0, 0, 800);
    constexpr int kW = ViewFromAbove::kW, kH = ViewFromAbove::kH;

    const bool wholeWorld = state.range(0) == 1;
    Globals::MouseDownX = wholeWorld ? 0.0f : 2.0f;
    Globals::MouseDownY = wholeWorld ? 0.0f : 2.0f;
    Globals::MouseUpX = wholeWorld ? kW - 1.0f : 12.0f;
    Globals::MouseUpY = wholeWorld ? kH - 1.0f : 12.0f;
    for (auto _ : state) {
        Globals::SelectMultipleObjects();
        benchmark::DoNotOptimize(Globals::CurrMultiSel->TotalEntities());
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(Globals::RootGrp);
    state.counters["selected"] = Globals::CurrMultiSel->TotalEntities();
}
BENCHMARK(BM_RubberBand100000Polygons)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Edit > Select All (arg 0) and Select Invert (arg 1) at object level over n
// top-level groups of one square each, as the menu commands run them in the
// core: the previous selection kept, the new one built, its kind set. Invert
// starts from every other group selected.
void BM_SelectAllAndInvert(benchmark::State& state) {
    EngineWorld world;
    if (!world.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const bool invert = state.range(0) == 1;
    const int n = static_cast<int>(state.range(1));
    std::vector<int32_t> groups;
    groups.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int32_t g = OMBREL_group_create("g");
        OMBREL_group_set_father_group(g, Globals::RootGrp);
        AddQuadGrid(g, 1, 1, 2.0 * (i % 200), 2.0 * (i / 200), 0);
        groups.push_back(g);
    }
    core::windowHooks().topLevelGroups = [&groups] { return groups; };
    for (auto _ : state) {
        state.PauseTiming();
        Globals::CurrMultiSel->Reset();
        Globals::CurrSelEntityType = SelNone;
        if (invert) {
            for (std::size_t i = 0; i < groups.size(); i += 2) Globals::CurrMultiSel->AddGrpHandles(groups[i]);
            Globals::CurrSelEntityType = SelMultiple;
        }
        state.ResumeTiming();
        Globals::SetPrevSelEntityToCurrSelEntity();
        if (invert)
            Globals::InvertEntities();
        else
            Globals::SelectAllEntities();
        Globals::SetSelKindFromMultiSel();
        benchmark::DoNotOptimize(Globals::CurrMultiSel->NumOfGrps());
    }
    state.counters["selected"] = Globals::CurrMultiSel->NumOfGrps();
    core::windowHooks() = {};
}
BENCHMARK(BM_SelectAllAndInvert)
    ->ArgNames({"invert", "groups"})
    ->Args({0, 10000})
    ->Args({1, 10000})
    ->Args({0, 30000})
    ->Args({1, 30000})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Edit > Select All (arg 0) and Select Invert (arg 1) in polygon editing of a
// box of 200 x 200 x 200 segments made of triangles (480,000), as the menu
// commands run them without the redraw: the list, the centre and the welded
// entries the selection moves. Invert starts from every polygon selected.
// Six faces of 200 x 200 quads made into 480,000 triangles, selected and edited
// as the geometry editor has them.
int32_t editedTriangulatedBox() {
    const int32_t quads = OMBREL_group_create("box");
    OMBREL_group_set_father_group(quads, Globals::RootGrp);
    for (int face = 0; face < 6; ++face) AddQuadGrid(quads, 200, 200, 0, 0, face * 10.0);
    const int32_t box = OMBREL_group_create_copy_made_of_triangles(quads);
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = box;
    Globals::BuildWeldedPoints(box);
    return box;
}

void BM_SelectAllPolygonsOfATriangulatedBox(benchmark::State& state) {
    EngineWorld world;
    if (!world.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const int32_t box = editedTriangulatedBox();
    const bool invert = state.range(0) == 1;
    for (auto _ : state) {
        if (invert) {
            state.PauseTiming();
            Globals::SelectAllGrpPols();
            state.ResumeTiming();
            Globals::InvertGrpPols();
        } else {
            Globals::SelectAllGrpPols();
        }
        Globals::ComputeSelPolsAvgCenter();
        Globals::UpdateSelPolsRelatedPtsArray();
        benchmark::DoNotOptimize(Globals::NumSelPolsRelatedPts);
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(box);
    state.counters["selected"] = Globals::NumSelPols;
    Globals::NumSelPols = Globals::NumSelPolsRelatedPts = 0;
    Globals::SelPols.clear();
    Globals::SelPolsRelatedPts.clear();
}
BENCHMARK(BM_SelectAllPolygonsOfATriangulatedBox)
    ->ArgNames({"invert"})
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The red outlines of every selected polygon (arg 0) or the squares of every
// selected point (arg 1) of that box, drawn over a 1024 x 768 view that sees it
// whole: what each redraw adds while such a selection stands.
void BM_DrawSelectionOfATriangulatedBox(benchmark::State& state) {
    EngineWorld world;
    if (!world.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    editedTriangulatedBox();
    const bool points = state.range(0) == 1;
    auto& hooks = core::windowHooks();
    hooks.workspacePage = [] { return 1; };
    hooks.objModeText = [] { return std::string("Edit Geometry"); };
    hooks.editGeomText = [points] { return std::string(points ? "Point" : "Polygon"); };
    if (points) {
        Globals::SelectAllGrpPts();
    } else {
        Globals::SelectAllGrpPols();
    }
    ViewFromAbove view(100, 100, 400);
    platform::DeviceContext dc(view.pixels(), ViewFromAbove::kW, ViewFromAbove::kH, ViewFromAbove::kW * 4);
    Globals::CreateOverlayPens();
    Globals::OverlayDC = &dc;
    Globals::OverlayLine = std::make_shared<myLine>();
    for (auto _ : state) {
        if (points)
            Globals::DrawSelectedPts(0);
        else
            Globals::DrawSelectedPols(0);
        benchmark::DoNotOptimize(view.pixels());
    }
    state.counters["selected"] = points ? Globals::NumSelPts : Globals::NumSelPols;
    Globals::OverlayDC = nullptr;
    Globals::OverlayLine.reset();
    Globals::DeleteOverlayPens();
    Globals::NumSelPols = Globals::NumSelPts = 0;
    Globals::SelPols.clear();
    Globals::SelPts.clear();
    hooks = {};
}
BENCHMARK(BM_DrawSelectionOfATriangulatedBox)
    ->ArgNames({"points"})
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The boxes of 10,000 selected groups of 48 polygons each (480,000 polygons) read
// again from the engine, as every redraw now does before drawing them. Arg 0: no
// edit in between; arg 1: one point of one group moved before each read.
void BM_RefreshBoxesOf10000SelectedGroups(benchmark::State& state) {
    EngineWorld world;
    if (!world.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    std::vector<int32_t> groups;
    for (int i = 0; i < 10000; ++i) {
        const int32_t g = OMBREL_group_create("block");
        OMBREL_group_set_father_group(g, Globals::RootGrp);
        AddQuadGrid(g, 8, 6, (i % 100) * 20.0, (i / 100) * 20.0, 0);
        groups.push_back(g);
        Globals::CurrMultiSel->AddGrpHandles(g);
    }
    const bool edit = state.range(0) == 1;
    const int32_t point = OMBREL_polygon_get_first_point(OMBREL_group_get_first_polygon(groups[0]));
    double at[3] = {0, 0, 0};
    OMBREL_point_get_xyz(point, at);
    for (auto _ : state) {
        if (edit) {
            at[2] += 1e-3;
            OMBREL_point_set_xyz(point, at);
        }
        Globals::CurrMultiSel->InitializeBndBoxes();
        benchmark::ClobberMemory();
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(Globals::RootGrp);
    Globals::CurrMultiSel->Reset();
}
BENCHMARK(BM_RefreshBoxesOf10000SelectedGroups)
    ->ArgNames({"edit"})
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The boxes of 10,000 selected groups of 10 polygons (100,000 polygons) drawn
// over a 1024 x 768 view that sees them all, as the first of the four views
// draws them at every redraw while they are selected.
void BM_DrawBoxesOf10000SelectedGroups(benchmark::State& state) {
    EngineWorld world;
    if (!world.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    for (int i = 0; i < 10000; ++i) {
        const int32_t g = OMBREL_group_create("block");
        OMBREL_group_set_father_group(g, Globals::RootGrp);
        AddQuadGrid(g, 5, 2, (i % 100) * 8.0 - 400, (i / 100) * 4.0 - 200, (i / 100) * 2.0);
        Globals::CurrMultiSel->AddGrpHandles(g);
    }
    ViewFromAbove view(0, 0, 1200);
    platform::DeviceContext dc(view.pixels(), ViewFromAbove::kW, ViewFromAbove::kH, ViewFromAbove::kW * 4);
    Globals::CreateOverlayPens();
    platform::SelectObject(dc, Globals::PenWhite);
    Globals::OverlayDC = &dc;
    Globals::OverlayLine = std::make_shared<myLine>();
    const uint64_t callsBefore = dc.drawingCalls;
    for (auto _ : state) {
        // Read again, as before every redraw: the first view's draw converts the corners.
        state.PauseTiming();
        Globals::CurrMultiSel->InitializeBndBoxes();
        state.ResumeTiming();
        Globals::CurrMultiSel->DrawGrpBndBoxes(0);
        benchmark::DoNotOptimize(view.pixels());
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(Globals::RootGrp);
    state.counters["drawing_calls"] =
        static_cast<double>(dc.drawingCalls - callsBefore) / static_cast<double>(state.iterations());
    Globals::OverlayDC = nullptr;
    Globals::OverlayLine.reset();
    Globals::DeleteOverlayPens();
    Globals::CurrMultiSel->Reset();
}
BENCHMARK(BM_DrawBoxesOf10000SelectedGroups)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });

}  // namespace

BENCHMARK_MAIN();
