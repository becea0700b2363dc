// A track of 10,000 points in the sample world, edited in the top view: its
// overlay (the track and 1,000 selected points) drawn in one view, a rubber band
// over its points, the edge search of one mouse move in insert mode, and the
// deletion of 1,000 selected points.
#include "core/Camera.h"
#include "core/Globals.h"
#include "core/TrackPointEdits.h"
#include "engine/ombrel_loader.h"
#include "mainwindow/Form1.h"
#include "ombrel.h"
#include "platform/prompts.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"
#include "views/ViewOverlays.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
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
        const std::string folder = TALVORA_PROGRAM_DIR;
        if (ombrel_loader::load(folder + "/" + ombrel_loader::libraryFileName()).status != ombrel_loader::Status::Loaded)
            return;
        Globals::AppTerminating = false;
        form_ = std::make_unique<Form1>();
        form_->ShowTips = nullptr;
        form_->Form_Load();
        form_->LoadWorld(folder + "/Sample/Sample.wld");
        QApplication::processEvents();
        if (!form_->WorldLoaded) return;
        const std::vector<double> points = rasterTrack();
        track_ = OMBREL_track_create("Raster", 1, points.data(), kPoints);
        OMBREL_track_set_save_flag(track_, 1);
        Globals::CurrSelEntityType = SelTrack;
        Globals::CurrSelEntityHandle = track_;
        form_->tabWorkspace->setCurrentIndex(2);
        form_->cmbTrackPoint->setCurrentText("Point");
        form_->PicBoxFocused = kView;
        makeViewCurrent();
        ok_ = true;
    }
    ~SampleWithTrack() {
        if (form_) {
            Globals::AppTerminating = true;
            form_->close();
            form_.reset();
        }
        ombrel_loader::unload();
    }
    bool ok() const { return ok_; }
    Form1& form() { return *form_; }
    int32_t track() const { return track_; }
    PicWindow& view() { return *form_->picWindow[kView]; }
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
    std::unique_ptr<Form1> form_;
    int32_t track_ = 0;
    bool ok_ = false;
};

// Answers every question with Yes.
class YesToAll : public platform::Prompts {
public:
    platform::MsgResult msgBox(const std::string&, platform::MsgButtons, platform::MsgIcon, const std::string&) override {
        return platform::MsgResult::Yes;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string openFileName(const platform::FileRequest&) override { return {}; }
    std::string saveFileName(const platform::FileRequest&) override { return {}; }
    std::optional<int32_t> chooseColour(int32_t) override { return std::nullopt; }
    int showModal(QDialog&) override { return 0; }
    QAction* popupMenu(QMenu&, const QPoint&) override { return nullptr; }
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

// The Delete button's work on 1,000 of the 10,000 points after the Yes: the
// history emptied, the selection sorted, the track rewritten; without the
// redraw that follows.
void BM_DeleteThousandTrackPoints(benchmark::State& state) {
    SampleWithTrack sample;
    if (!sample.ok()) {
        state.SkipWithError("the sample world did not open");
        return;
    }
    YesToAll yes;
    platform::Prompts* previous = platform::installPrompts(&yes);
    const std::vector<double> points = rasterTrack();
    // The world counts as closed while timed, so the handler's redraw is skipped.
    for (auto _ : state) {
        state.PauseTiming();
        OMBREL_track_set_points_buffer(sample.track(), points.data(), kPoints);
        SampleWithTrack::selectEveryTenth();
        sample.form().WorldLoaded = false;
        state.ResumeTiming();
        sample.form().cmdTrkPtDelete_Click();
        state.PauseTiming();
        sample.form().WorldLoaded = true;
        state.ResumeTiming();
    }
    state.counters["points_left"] = OMBREL_track_get_number_of_points(sample.track());
    platform::installPrompts(previous);
}
BENCHMARK(BM_DeleteThousandTrackPoints)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
