// The textures page over large worlds: rebuilding the textures tree (2,000
// bitmaps, 200 animations of 20 frames), updating a bitmap used by 100,000
// polygons whose handle changes (only its ".jpg" left; a 2 x 2 picture, so the
// decode is negligible), and applying a bitmap to a multiple selection of 1,000
// groups of 100 polygons with its record (no view is attached: no redraw).
#include "core/Globals.h"
#include "mainwindow/Form1.h"
#include "ombrel.h"
#include "textures/TextureCommands.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"

#include "EditorBenchWorld.h"
#include "editor_bench_main.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A folder of its own, removed afterwards.
struct Folder {
    Folder() : path(fs::temp_directory_path() / ("talvora_bench_textures_" + std::to_string(::getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

// A 2 x 2 24-bit BMP.
void writeBmp(const fs::path& path, uint8_t shade) {
    const uint8_t header[54] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2,
                                0,   0,   0,  1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                0,   0,   0,  0, 0, 0, 0, 0, 0, 0};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    for (int row = 0; row < 2; ++row) {
        const uint8_t pixels[8] = {shade, 0, 0, shade, 0, 0, 0, 0};
        out.write(reinterpret_cast<const char*>(pixels), sizeof pixels);
    }
}

// 1,000 groups of 100 squares under the root.
std::vector<int32_t> groupsOfSquares() {
    std::vector<int32_t> groups;
    for (int g = 0; g < 1000; ++g) {
        const int32_t group = OMBREL_group_create("group");
        OMBREL_group_set_father_group(group, Globals::RootGrp);
        AddQuadGrid(group, 100, 1, 0, g, 0);
        groups.push_back(group);
    }
    return groups;
}

void BM_TexturesTreePopulate(benchmark::State& state) {
    Folder folder;
    openBenchWorld();
    std::vector<int32_t> bitmaps;
    for (int i = 0; i < 2000; ++i) {
        const fs::path path = folder.path / ("bitmap" + std::to_string(i) + ".bmp");
        writeBmp(path, static_cast<uint8_t>(i));
        bitmaps.push_back(OMBREL_bitmap_load(path.c_str(), -1));
    }
    // The animations' frames are the last 400 bitmaps, 20 to each animation, each twice.
    for (int a = 0; a < 200; ++a) {
        const int32_t anim = OMBREL_animation_create(("animation" + std::to_string(a)).c_str());
        for (int f = 0; f < 20; ++f)
            OMBREL_animation_add_bitmap(anim, 1 + f % 5, bitmaps[static_cast<std::size_t>(1600 + (a * 20 + f) % 400)],
                                        f / 5);
    }
    {
        Form1 form;
        for (auto _ : state) form.trwTextures_Populate();
        state.counters["nodes"] = form.trwTextures->Count();
    }
    closeBenchWorld();
}
BENCHMARK(BM_TexturesTreePopulate)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_UpdateMovesUsersOf100000Polygons(benchmark::State& state) {
    Folder folder;
    openBenchWorld();
    const std::vector<int32_t> groups = groupsOfSquares();
    const fs::path bmp = folder.path / "crate.bmp", jpg = folder.path / "crate.jpg";
    writeBmp(bmp, 200);
    int32_t bitmap = OMBREL_bitmap_load(bmp.c_str(), -1);
    OMBREL_utilities_save_bitmap24(bitmap, jpg.c_str());
    for (int32_t g : groups) OMBREL_group_set_bitmap(g, bitmap);
    int64_t moved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Back to a bitmap of the ".bmp", with the ".bmp" gone again and an apply of
        // every polygon naming it in the history.
        writeBmp(bmp, 200);
        const int32_t fromBmp = OMBREL_bitmap_load(bmp.c_str(), -1);
        if (fromBmp != bitmap) {
            textures::MoveBitmapUsers(textures::CollectBitmapUsers(bitmap), fromBmp);
            OMBREL_bitmap_unload(bitmap);
            bitmap = fromBmp;
        }
        Globals::UndoRedoStack->Reset();
        auto record = std::make_unique<ActionUndoRedo>();
        record->ActionType = ActApplyTextureToGrp;
        record->SetActionObjects();
        record->ApplyTexture->SetSelToGroups(groups);
        Globals::UndoRedoStack->Push(std::move(record));
        fs::remove(bmp);
        state.ResumeTiming();
        const textures::UpdateResult result = textures::UpdateBitmapFromFile(bitmap);
        if (result.outcome != textures::UpdateResult::Moved) state.SkipWithError("the bitmap kept its handle");
        bitmap = result.bitmap;
        ++moved;
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(0);
    state.counters["updates"] = static_cast<double>(moved);
    closeBenchWorld();
}
BENCHMARK(BM_UpdateMovesUsersOf100000Polygons)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ApplyToAMultipleSelectionOf1000Groups(benchmark::State& state) {
    Folder folder;
    openBenchWorld();
    const std::vector<int32_t> groups = groupsOfSquares();
    std::vector<int32_t> bitmaps;
    for (int i = 0; i < 2; ++i) {
        const fs::path path = folder.path / ("pic" + std::to_string(i) + ".bmp");
        writeBmp(path, static_cast<uint8_t>(50 + i));
        bitmaps.push_back(OMBREL_bitmap_load(path.c_str(), -1));
    }
    for (int32_t g : groups) Globals::CurrMultiSel->AddGrpHandles(g);
    Globals::CurrSelEntityType = SelMultiple;
    int turn = 0;
    for (auto _ : state) {
        const textures::TextureNode node{textures::TextureKind::Bitmap, bitmaps[static_cast<std::size_t>(turn++ % 2)]};
        if (!textures::ApplyTextureToSel(0, node)) state.SkipWithError("nothing was applied");
    }
    state.counters["polygons"] = OMBREL_group_get_number_of_polygons(0);
    closeBenchWorld();
}
BENCHMARK(BM_ApplyToAMultipleSelectionOf1000Groups)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runEditorBenchmarks(argc, argv); }
