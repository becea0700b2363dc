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

// The menu's choice for the active view, then its redraw, as the label's release
// carries them out; Top and Front in turn.
void BM_ViewTypeSwitchOnTheSampleWorld(benchmark::State& state) {
    EditorWithWorld editor;
    if (!editor.ok() || !openSample(editor.form())) {
        state.SkipWithError("the sample world did not open");
        return;
    }
    Form1& f = editor.form();
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
    if (!editor.ok() || !openSample(editor.form())) {
        state.SkipWithError("the sample world did not open");
        return;
    }
    Form1& f = editor.form();
    f.tabWorkspace->setCurrentIndex(2);
    f.CamTrkBkMouseButton = 1;
    f.trwCamTrackBK_NodeClick(f.trwCamTrackBK->Item(KeyedTree::NodeKey("Camera", OMBREL_camera_get_first_camera())));
    QApplication::processEvents();
    const uint64_t before = views::LastPaintSerial(0);
    int turn = 0;
    for (auto _ : state) {
        f.fldCamLoc[0]->text()->setText(++turn % 2 ? "-440" : "-450");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(f.fldCamLoc[0]->text(), &enter);
    }
    state.counters["redrawn"] = views::LastPaintSerial(0) != before ? 4 : 0;
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
