// One navigation drag step in a view of the main window with the sample world
// open: the revolve tool's camera step and the redraw of that view alone, as
// every mouse move of the drag does it.
#include "bench_cursor.h"
#include "editor_bench_main.h"
#include "core/Camera.h"
#include "core/Globals.h"
#include "engine/ombrel_loader.h"
#include "mainwindow/Form1.h"
#include "platform/cursor.h"
#include "views/PicWindow.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_RevolveDragStep(benchmark::State& state) {
    const std::string folder = TALVORA_PROGRAM_DIR;
    if (ombrel_loader::load(folder + "/" + ombrel_loader::libraryFileName()).status != ombrel_loader::Status::Loaded) {
        state.SkipWithError("the engine did not load");
        return;
    }
    Globals::AppTerminating = false;
    BenchCursor cursor({900, 500});
    platform::Cursor* previous = platform::installCursor(&cursor);
    {
        Form1 form;
        form.ShowTips = nullptr;
        form.Form_Load();
        form.LoadWorld(folder + "/Sample/Sample.wld");
        QApplication::processEvents();
        if (form.WorldLoaded) {
                state.counters["view_pixels"] = form.picWindow[2]->Area();
            Globals::CurrToolMode = ToolRevolve;
            form.picWindow_MouseDown(2, 1, 0, 100, 100);
            int step = 0;
            for (auto _ : state) {
                // Back and forth, so the pointer never reaches a screen edge.
                cursor.at.x += (step++ / 50) % 2 == 0 ? 2 : -2;
                form.picWindow_MouseMove(2, 1, 0, static_cast<float>(cursor.at.x), 500);
            }
        } else {
            state.SkipWithError("the sample world did not open");
        }
        Globals::AppTerminating = true;
        form.close();
    }
    platform::installCursor(previous);
    ombrel_loader::unload();
}
BENCHMARK(BM_RevolveDragStep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runEditorBenchmarks(argc, argv); }
