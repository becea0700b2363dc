// Redo of the creation of a box of 200 x 200 x 200 segments (240,000 polygons)
// in a new world shown in a 1280 x 1024 window while the points are edited: the
// group comes back selected and the four views are redrawn with a marker on every
// point of the box.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "platform/NumericField.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include <cstdlib>

namespace {

void BM_RedoBoxOf200SegmentsWithPointMarkers(benchmark::State& state) {
    EditorWithWorld editor;
    Form1* window = ShownEditorWithNewWorld(editor, state);
    if (!window) return;
    Form1& f = *window;
    f.tabWorkspace->setCurrentIndex(1);
    f.tabWorkspace_Click(0);
    f.cmbObj->setCurrentText("New Object");
    f.cmbNewObjType->setCurrentText("BOX");
    for (QLineEdit* segments : f.txtBoxSegments) segments->setText("200");
    f.cmdCreate_Click();
    const int32_t box = Globals::CurrSelEntityHandle;
    if (!f.WorldLoaded || OMBREL_group_get_number_of_polygons(box) != 240000) {
        state.SkipWithError("the box was not created");
        return;
    }
    f.cmbObj->setCurrentText("Edit Geometry");
    f.cmbObjEditGeom->setCurrentText("Point");
    if (!f.EditingPoints()) {
        state.SkipWithError("the points are not edited");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        f.mnuUndo_Click();
        state.ResumeTiming();
        f.mnuRedo_Click();
    }
    state.counters["selected"] = Globals::CurrSelEntityHandle == box ? 1 : 0;
}
BENCHMARK(BM_RedoBoxOf200SegmentsWithPointMarkers)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here: the template chooser is turned down.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
