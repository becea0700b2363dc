// The light-map dialog's whole computation over the light-map world (10,000
// quads, about 4 million texels) with 8 workers, with and without shadows: its
// time, the extra memory at its peak, how often the progress was painted and the
// longest wait between two event pumps (how long Esc could wait for an answer).
// Then the dialog's run on the sample world with its start values, and the
// first redraw of the four views after the maps of the light-map world.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"
#include "lightmap_world.h"

#include "mainwindow/frmLightMapParameterInput.h"
#include "platform/event_pump.h"
#include "views/ViewRedraw.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include <malloc.h>

namespace {

using Clock = std::chrono::steady_clock;

// The real pump, timed: the longest gap between two pumps and the paints seen.
class TimedPump : public platform::EventPump {
public:
    explicit TimedPump(const QLabel* progress) : progress_(progress), last_(Clock::now()) {}
    void doEvents() override {
        const auto now = Clock::now();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
        if (progress_->text() != shown_) {
            shown_ = progress_->text();
            ++paints;
        }
        QCoreApplication::processEvents();
    }
    double longest = 0;
    int paints = 0;

private:
    const QLabel* progress_;
    Clock::time_point last_;
    QString shown_;
};

long statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::string(field).size(), nullptr, 10);
    return 0;
}

void BM_ComputeLightMaps(benchmark::State& state) {
    setenv("OMBREL_THREADS", "8", 1);
    EditorWithWorld editor;
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    lightmap_bench::build(Globals::RootGrp);
    double longest = 0, paintsPerSecond = 0, peakMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        frmLightMapParameterInput dialog;
        dialog.txtSamplingRate->setText("1");
        dialog.chkRaytracing->setChecked(state.range(0) == 1);
        TimedPump pump(dialog.lblPolsProcessed);
        platform::EventPump* previous = platform::installEventPump(&pump);
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts from here
        const long before = statusKb("VmRSS:");
        const auto start = Clock::now();
        state.ResumeTiming();
        dialog.cmdCompute_Click();
        state.PauseTiming();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        peakMb = std::max(peakMb, (statusKb("VmHWM:") - before) / 1024.0);
        longest = std::max(longest, pump.longest);
        paintsPerSecond = pump.paints / seconds;
        platform::installEventPump(previous);
        state.ResumeTiming();
    }
    state.counters["longest_pump_gap_ms"] = longest;
    state.counters["progress_paints_per_s"] = paintsPerSecond;
    state.counters["peak_extra_MB"] = peakMb;
    unsetenv("OMBREL_THREADS");
}
BENCHMARK(BM_ComputeLightMaps)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("raytracing")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// The sample world loaded into the window shown at 1280 x 1024; false, with the
// run marked skipped, when it did not open.
bool openSample(EditorWithWorld& editor, benchmark::State& state) {
    if (editor.ok()) {
        Form1& f = editor.form();
        f.resize(1280, 1024);
        f.show();
        f.LoadWorld(std::string(TALVORA_PROGRAM_DIR) + "/Sample/Sample.wld");
        QApplication::processEvents();
        if (f.WorldLoaded) return true;
    }
    state.SkipWithError("the sample world did not open");
    return false;
}

void BM_ComputeLightMapsOnTheSampleWorld(benchmark::State& state) {
    setenv("OMBREL_THREADS", "8", 1);
    EditorWithWorld editor;
    if (!openSample(editor, state)) return;
    for (auto _ : state) {
        state.PauseTiming();
        frmLightMapParameterInput dialog;
        state.ResumeTiming();
        dialog.cmdCompute_Click();
    }
    unsetenv("OMBREL_THREADS");
}
BENCHMARK(BM_ComputeLightMapsOnTheSampleWorld)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The light-map world added to the sample world, its maps computed at rate 0.5
// without shadows; then the first redraw of the four views and the memory it adds.
void BM_FirstRedrawAfterLightMaps(benchmark::State& state) {
    setenv("OMBREL_THREADS", "8", 1);
    EditorWithWorld editor;
    if (!openSample(editor, state)) return;
    lightmap_bench::build(Globals::RootGrp);
    UpdateCameras();
    double addedMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            frmLightMapParameterInput dialog;
            dialog.txtSamplingRate->setText("0.5");
            dialog.chkRaytracing->setChecked(false);
            dialog.cmdCompute_Click();
        }
        malloc_trim(0);  // memory freed before the redraw does not hide what it adds
        const long before = statusKb("VmRSS:");
        state.ResumeTiming();
        UpdateCameras();
        state.PauseTiming();
        addedMb = std::max(addedMb, (statusKb("VmRSS:") - before) / 1024.0);
        state.ResumeTiming();
    }
    state.counters["added_MiB"] = addedMb;
    unsetenv("OMBREL_THREADS");
}
BENCHMARK(BM_FirstRedrawAfterLightMaps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv) { return runEditorBenchmarks(argc, argv); }
