// Cameras and lights in the editor: registering every marker of a world with
// 200 cameras and 200 lights (the trees' rebuild, and a whole load of such a
// world), and one change in the light panel on the sample world: the light
// activated again and the four views redrawn.
#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "platform/NumericField.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// A world file with a floor, 200 cameras and 200 lights spread over it.
std::string writeWorldOfCamerasAndLights() {
    const std::string path = "/tmp/talvora_bench_lights_" + std::to_string(::getpid()) + ".wld";
    OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
    const int32_t root = OMBREL_group_create("the_world");
    const int32_t floor = OMBREL_group_create("floor");
    OMBREL_group_set_father_group(floor, root);
    const int32_t p = OMBREL_polygon_create();
    for (const auto& c : {std::array<double, 2>{-1000, -1000}, {-1000, 1000}, {1000, 1000}, {1000, -1000}}) {
        const double record[6] = {c[0], c[1], 0, 0, 0, 100};
        OMBREL_polygon_add_point(p, record);
    }
    OMBREL_polygon_set_group(p, floor);
    OMBREL_engine_add_polygon(p);
    for (int i = 0; i < 200; ++i) {
        const double at[3] = {(i % 20) * 100.0 - 1000, (i / 20) * 100.0 - 1000, 100};
        const int32_t cam = OMBREL_camera_create(("cam" + std::to_string(i)).c_str());
        OMBREL_camera_set_location(cam, at[0], at[1], at[2]);
        OMBREL_camera_set_save_flag(cam, 1);
        const int32_t light = OMBREL_light_create(("light" + std::to_string(i)).c_str(), at);
        if (i % 2) OMBREL_light_set_type_of_light(light, 59);
    }
    OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD);
    OMBREL_engine_close();
    return path;
}

// The camera and light trees rebuilt with every marker registered anew.
void BM_Markers200CamerasAnd200Lights(benchmark::State& state) {
    EditorWithWorld editor;
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const std::string path = writeWorldOfCamerasAndLights();
    editor.form().LoadWorld(path);
    for (auto _ : state) {
        state.PauseTiming();
        Globals::SceneCameras->RemoveAll();
        Globals::SceneLights->RemoveAll();
        state.ResumeTiming();
        editor.form().trwCamTrackBK_Populate();
        editor.form().trwLight_Populate();
    }
    state.counters["markers"] = Globals::SceneCameras->NumOfMarkers() + Globals::SceneLights->NumOfMarkers();
    std::remove(path.c_str());
}
BENCHMARK(BM_Markers200CamerasAnd200Lights)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The whole load of that world: file, trees, markers, views reset.
void BM_Load200CamerasAnd200Lights(benchmark::State& state) {
    EditorWithWorld editor;
    if (!editor.ok()) {
        state.SkipWithError("the engine did not load");
        return;
    }
    const std::string path = writeWorldOfCamerasAndLights();
    for (auto _ : state) editor.form().LoadWorld(path);
    state.counters["markers"] = Globals::SceneCameras->NumOfMarkers() + Globals::SceneLights->NumOfMarkers();
    std::remove(path.c_str());
}
BENCHMARK(BM_Load200CamerasAnd200Lights)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The sample world in a 1280 x 1024 window, its lamp selected: a new ambient
// typed and Enter pressed, as the user does.
void BM_LightPanelChangeOnTheSampleWorld(benchmark::State& state) {
    EditorWithWorld editor;
    Form1* window = ShownEditor(editor, state);
    if (!window) return;
    Form1& f = *window;
    f.LoadWorld(std::string(TALVORA_PROGRAM_DIR) + "/Sample/Sample.wld");
    const int32_t lamp = OMBREL_light_get_first_light();
    if (!f.WorldLoaded || lamp == 0) {
        state.SkipWithError("the sample world has no light");
        return;
    }
    f.tabWorkspace->setCurrentIndex(5);
    f.trwLight_NodeClick(f.trwLight->Item(KeyedTree::NodeKey("Light", lamp)));
    QApplication::processEvents();
    int turn = 0;
    for (auto _ : state) {
        f.fldAmbient->text()->setText(++turn % 2 ? "0.3" : "0.2");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(f.fldAmbient->text(), &enter);
    }
    state.counters["views"] = 4;
}
BENCHMARK(BM_LightPanelChangeOnTheSampleWorld)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // Nothing may wait for a user here.
    setenv("TALVORA_PROMPTS", "log", 0);
    return runEditorBenchmarks(argc, argv);
}
