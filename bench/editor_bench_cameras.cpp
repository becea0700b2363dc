// Cameras and views on the sample world in a 1280 x 1024 window: a view switched
// to another type from its label's menu (that view redrawn alone), and one edit
// in the camera panel with the four views redrawn.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "platform/NumericField.h"
#include "views/ViewRedraw.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>

#include <cstdlib>
#include <string>

namespace {

// The sample world loaded and shown; false when it has no camera.
bool openSample(Form1& f) {
    f.resize(1280, 1024);
    f.show();
    f.LoadWorld(std::string(TALVORA_PROGRAM_DIR) + "/Sample/Sample.wld");
    QApplication::processEvents();
    return f.WorldLoaded && OMBREL_camera_get_first_camera() != 0;
}

// The window on the sample world, or null with the run marked skipped.
Form1* sampleEditor(EditorWithWorld& editor, benchmark::State& state) {
    if (editor.ok() && openSample(editor.form())) return &editor.form();
    state.SkipWithError("the sample world did not open");
    return nullptr;
}

// The menu's choice for the active view, then its redraw, as the label's release
// carries them out; Top and Front in turn.
void BM_ViewTypeSwitchOnTheSampleWorld(benchmark::State& state) {
    EditorWithWorld editor;
    Form1* window = sampleEditor(editor, state);
    if (!window) return;
    Form1& f = *window;
    const uint64_t before = views::LastPaintSerial(2);
    int turn = 0;
    for (auto _ : state) {
        f.SetViewType(2, ++turn % 2 ? ViewTop : ViewFront);
        f.PicBoxFocused = 2;
        f.SetWindowFocus();
        UpdateCamerasSingle(2);
    }
    state.counters["redrawn"] = views::LastPaintSerial(2) != before ? 1 : 0;
}
BENCHMARK(BM_ViewTypeSwitchOnTheSampleWorld)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The sample's camera selected from the tree (the active view looks through it),
// then a new location x typed into the camera panel and Enter pressed.
void BM_CameraPanelLocationOnTheSampleWorld(benchmark::State& state) {
    EditorWithWorld editor;
    Form1* window = sampleEditor(editor, state);
    if (!window) return;
    Form1& f = *window;
    f.tabWorkspace->setCurrentIndex(2);
    f.CamTrkBkMouseButton = 1;
    f.trwCamTrackBK_NodeClick(f.trwCamTrackBK->Item(KeyedTree::NodeKey("Camera", OMBREL_camera_get_first_camera())));
    QApplication::processEvents();
    uint64_t before[4];
    for (int v = 0; v < 4; ++v) before[v] = views::LastPaintSerial(v);
    int turn = 0;
    for (auto _ : state) {
        f.fldCamLoc[0]->text()->setText(++turn % 2 ? "-440" : "-450");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(f.fldCamLoc[0]->text(), &enter);
    }
    int redrawn = 0;
    for (int v = 0; v < 4; ++v) redrawn += views::LastPaintSerial(v) != before[v] ? 1 : 0;
    state.counters["redrawn"] = redrawn;
}
BENCHMARK(BM_CameraPanelLocationOnTheSampleWorld)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
