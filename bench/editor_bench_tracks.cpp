// A track of 10,000 points in the sample world, edited in the top view: its
// overlay (the track and 1,000 selected points) drawn in one view, a rubber band
// over its points, the edge search of one mouse move in insert mode, and the
// deletion of 1,000 selected points.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/TrackPointEdits.h"
#include "mainwindow/Form1.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"
#include "views/ViewOverlays.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr int kView = 0;  // the top view
constexpr int kPoints = 10000;

// 100 rows of 100 points raster-scanning the sample world's room at height 150.
std::vector<double> rasterTrack() {
    std::vector<double> points;
    for (int i = 0; i < kPoints; ++i) {
        const int row = i / 100, column = row % 2 == 0 ? i % 100 : 99 - i % 100;
        points.insert(points.end(), {-450 + 900.0 * column / 99, -350 + 700.0 * row / 99, 150});
    }
    return points;
}

// The main window with the sample world open and the raster track selected, its
// points edited on the camera page.
class SampleWithTrack {
public:
    SampleWithTrack() {
        if (!editor_.ok()) return;
        Form1& f = editor_.form();
        f.LoadWorld(std::string(TALVORA_PROGRAM_DIR) + "/Sample/Sample.wld");
        QApplication::processEvents();
        if (!f.WorldLoaded) return;
        const std::vector<double> points = rasterTrack();
        track_ = OMBREL_track_create("Raster", 1, points.data(), kPoints);
        OMBREL_track_set_save_flag(track_, 1);
        Globals::CurrSelEntityType = SelTrack;
        Globals::CurrSelEntityHandle = track_;
        f.tabWorkspace->setCurrentIndex(2);
        f.cmbTrackPoint->setCurrentText("Point");
        f.PicBoxFocused = kView;
        makeViewCurrent();
        ok_ = true;
    }
    bool ok() const { return ok_; }
    Form1& form() { return editor_.form(); }
    int32_t track() const { return track_; }
    PicWindow& view() { return *form().picWindow[kView]; }
    void makeViewCurrent() {
        OMBREL_camera_set_current(Globals::ViewCams[kView]->lngSceneCamera, view().hWnd());
        Globals::OverlayDC = &view().dc();
    }
    // Every tenth point selected.
    static void selectEveryTenth() {
        Globals::SelTrkPts.assign(1, 0);
        for (int i = 0; i < kPoints; i += 10) Globals::SelTrkPts.push_back(i);
        Globals::NumSelTrkPts = kPoints / 10;
    }

private:
    EditorWithWorld editor_;
    int32_t track_ = 0;
    bool ok_ = false;
};

void BM_TrackOverlayOneView(benchmark::State& state) {
    SampleWithTrack sample;
    if (!sample.ok()) {
        state.SkipWithError("the sample world did not open");
        return;
    }
    SampleWithTrack::selectEveryTenth();
    for (auto _ : state) {
        sample.makeViewCurrent();
        views::DrawSelTrack(kView);
        views::DrawSelectedTrackPts(kView);
    }
    state.counters["view_pixels"] = sample.view().Area();
}
BENCHMARK(BM_TrackOverlayOneView)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The release of a band over the middle of the view, then over the whole view,
// in turn: each release changes the selection and records it.
void BM_TrackRubberBand(benchmark::State& state) {
    SampleWithTrack sample;
    if (!sample.ok()) {
        state.SkipWithError("the sample world did not open");
        return;
    }
    const auto w = static_cast<float>(sample.view().width()), h = static_cast<float>(sample.view().height());
    bool whole = false;
    for (auto _ : state) {
        whole = !whole;
        Globals::MouseDownX = whole ? 0 : w / 4;
        Globals::MouseDownY = whole ? 0 : h / 4;
        Globals::MouseUpX = whole ? w - 1 : 3 * w / 4;
        Globals::MouseUpY = whole ? h - 1 : 3 * h / 4;
        sample.form().SelectTrackPts();
        benchmark::DoNotOptimize(Globals::NumSelTrkPts);
    }
    state.counters["selected"] = Globals::NumSelTrkPts;
}
BENCHMARK(BM_TrackRubberBand)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Arg 0: the pointer off every edge, so each edge is projected and tried; arg 1:
// over the track's last row.
void BM_TrackEdgeSearchOneMove(benchmark::State& state) {
    SampleWithTrack sample;
    if (!sample.ok()) {
        state.SkipWithError("the sample world did not open");
        return;
    }
    int32_t pixel[2] = {2, 2};
    if (state.range(0) == 1) {
        const double onLastRow[3] = {0, 350, 150};
        OMBREL_engine_3D_point_to_2D(onLastRow, pixel);
    }
    for (auto _ : state) {
        sample.form().FindTrackEdgeUnderCursor(0, static_cast<float>(pixel[0]), static_cast<float>(pixel[1]));
        benchmark::DoNotOptimize(sample.form().TrkInsertEdgeFound);
    }
    state.counters["found"] = sample.form().TrkInsertEdgeFound ? 1 : 0;
}
BENCHMARK(BM_TrackEdgeSearchOneMove)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The Delete button's work on 1,000 of the 10,000 points once the question was
// answered: the selection sorted and the track rewritten (the redraw after it
// is a view's render).
void BM_DeleteThousandTrackPoints(benchmark::State& state) {
    SampleWithTrack sample;
    if (!sample.ok()) {
        state.SkipWithError("the sample world did not open");
        return;
    }
    const std::vector<double> points = rasterTrack();
    std::vector<int32_t> sorted;
    for (auto _ : state) {
        state.PauseTiming();
        OMBREL_track_set_points_buffer(sample.track(), points.data(), kPoints);
        SampleWithTrack::selectEveryTenth();
        state.ResumeTiming();
        Globals::SortSelTrackPts(sorted);
        Globals::DeleteTrackPts(sample.track(), std::span<const int32_t>(sorted).subspan(1));
    }
    state.counters["points_left"] = OMBREL_track_get_number_of_points(sample.track());
}
BENCHMARK(BM_DeleteThousandTrackPoints)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
