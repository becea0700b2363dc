// The texture-coordinate editor on a group of 5,000 quads (20,000 points) with one
// 1024 x 1024 bitmap: opening the editor, a full redraw of its picture, a rubber
// band over every coordinate, one move, rotate or scale step over all of them,
// and planar mapping of the 20,000 points with its undo record.
#include "bench_cursor.h"
#include "editor_bench_main.h"
#include "core/Globals.h"
#include "core/WindowHooks.h"
#include "engine/ombrel_loader.h"
#include "ombrel.h"
#include "platform/cursor.h"
#include "textures/PlanarMapping.h"
#include "textures/TexturePicture.h"
#include "textures/frmTextureMapping.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

// The engine, a world with the group, the bitmap on every quad, the editor's
// shared state and the editor itself (closed).
class TextureScene {
public:
    TextureScene() {
        const std::string folder = TALVORA_PROGRAM_DIR;
        ok_ = ombrel_loader::load(folder + "/" + ombrel_loader::libraryFileName()).status ==
                  ombrel_loader::Status::Loaded &&
              OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR) == 0;
        if (!ok_) return;
        OMBREL_engine_hide_log_window();
        QImage picture(1024, 1024, QImage::Format_RGB888);
        picture.fill(QColor(90, 140, 60));
        const QString file = dir_.filePath("bench_texture.bmp");
        picture.save(file, "BMP");
        const int32_t bitmap = OMBREL_bitmap_load(file.toStdString().c_str(), -1);
        Globals::RootGrp = OMBREL_group_create("the_world");
        group = OMBREL_group_create("mesh");
        OMBREL_group_set_father_group(group, Globals::RootGrp);
        // 100 x 50 quads, each with its own corners, spread over the texture.
        for (int r = 0; r < 50; ++r)
            for (int c = 0; c < 100; ++c) {
                const int32_t p = OMBREL_polygon_create();
                const double corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
                for (const auto& k : corners) {
                    const double record[6] = {c + k[0], r + k[1], 0, (c + k[0]) / 100, (r + k[1]) / 50, 100};
                    OMBREL_polygon_add_point(p, record);
                }
                OMBREL_polygon_set_group(p, group);
                OMBREL_engine_add_polygon(p);
                OMBREL_polygon_set_bitmap_fill(p, bitmap);
                Globals::SelPols[++Globals::NumSelPols] = p;
            }
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        Globals::UndoRedoStack = std::make_shared<ActionUndoRedo_Stack>();
        frmTextureMapping::ConnectHooks(core::windowHooks());
        previous_ = platform::installCursor(&cursor);
    }
    ~TextureScene() {
        delete frmTextureMapping::Instance();
        platform::installCursor(previous_);
        core::windowHooks() = {};
        if (Globals::UndoRedoStack) Globals::UndoRedoStack->Reset();
        Globals::UndoRedoStack.reset();
        Globals::NumSelPols = 0;
        Globals::CurrSelEntityType = SelNone;
        Globals::CurrSelEntityHandle = Globals::RootGrp = 0;
        if (ok_) OMBREL_engine_close();
        ombrel_loader::unload();
    }
    bool ok() const { return ok_; }

    frmTextureMapping& open() {
        frmTextureMapping& e = frmTextureMapping::ShowEditor(nullptr);
        e.resize(900, 800);
        QApplication::processEvents();
        return e;
    }

    // Every coordinate in the main list, through a band over the whole picture.
    void selectAll(frmTextureMapping& e) {
        e.MouseDownX = e.MouseDownY = 0;
        e.MouseUpX = e.PicMain->width();
        e.MouseUpY = e.PicMain->height();
        e.SelectCoordsInRubberBand();
    }

    int32_t group = 0;
    BenchCursor cursor;

private:
    QTemporaryDir dir_;
    bool ok_ = false;
    platform::Cursor* previous_ = nullptr;
};

#define NEED_ENGINE(scene)                              \
    if (!(scene).ok()) {                                \
        state.SkipWithError("the engine did not load"); \
        return;                                         \
    }

void BM_OpenEditor(benchmark::State& state) {
    TextureScene scene;
    NEED_ENGINE(scene);
    frmTextureMapping& e = scene.open();
    for (auto _ : state) {
        e.close();
        frmTextureMapping::ShowEditor(nullptr);
    }
    state.counters["listed"] = e.cmbTextures->count();
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond);

void BM_RedrawPicture(benchmark::State& state) {
    TextureScene scene;
    NEED_ENGINE(scene);
    frmTextureMapping& e = scene.open();
    scene.selectAll(e);
    for (auto _ : state) e.PicMain_Paint();
    state.counters["selected"] = e.TexSel.Count;
}
BENCHMARK(BM_RedrawPicture)->Unit(benchmark::kMillisecond);

void BM_RubberBandOverEveryCoordinate(benchmark::State& state) {
    TextureScene scene;
    NEED_ENGINE(scene);
    frmTextureMapping& e = scene.open();
    for (auto _ : state) {
        state.PauseTiming();
        e.ResetSelections();
        state.ResumeTiming();
        scene.selectAll(e);
    }
    state.counters["selected"] = e.TexSel.Count;
}
BENCHMARK(BM_RubberBandOverEveryCoordinate)->Unit(benchmark::kMillisecond);

// One drag step of the tool over all 20,000 selected coordinates.
void BM_DragStep(benchmark::State& state) {
    TextureScene scene;
    NEED_ENGINE(scene);
    frmTextureMapping& e = scene.open();
    scene.selectAll(e);
    e.SetToolMode(static_cast<int32_t>(state.range(0)));
    e.DragOverSel = true;
    scene.cursor.at = {400, 400};
    e.PicMain_MouseDown(1, 0, 300, 300);
    int step = 1;
    for (auto _ : state) {
        step = -step;  // back and forth, so the coordinates stay in sight
        scene.cursor.at.y += step;
        e.PicMain_MouseMove(1, 0, 300, static_cast<float>(300 + step));
    }
    e.PicMain_MouseUp(1, 0, 300, 300);
    state.counters["coordinates"] = e.TexSel.Count;
}
BENCHMARK(BM_DragStep)
    ->Arg(frmTextureMapping::TexMove)
    ->Arg(frmTextureMapping::TexRotate)
    ->Arg(frmTextureMapping::TexScale)
    ->Unit(benchmark::kMillisecond);

void BM_PlanarMapping(benchmark::State& state) {
    TextureScene scene;
    NEED_ENGINE(scene);
    int32_t option = textures::NormalX;
    for (auto _ : state) {
        // Alternating planes: every mapping changes the coordinates and is recorded.
        option = option == textures::NormalX ? textures::NormalZ : textures::NormalX;
        textures::PlanarMapSelPols(option);
    }
    state.counters["polygons"] = Globals::NumSelPols;
}
BENCHMARK(BM_PlanarMapping)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runEditorBenchmarks(argc, argv); }
