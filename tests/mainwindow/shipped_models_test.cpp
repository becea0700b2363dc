// The models shipped in the gallery beside the program: each one a world the
// engine reads, textured from its own folder's "bitmaps", centred on the origin,
// with its preview picture beside it.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "mainwindow/ModelGallery.h"
#include "ombrel.h"

#include <QImage>

#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool isModel(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".wld" || extension == ".vandel";
}

// Some pixel differs clearly from the corner's: the model was drawn into it.
bool showsSomething(const QImage& picture) {
    const int corner = qGray(picture.pixel(0, 0));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (std::abs(qGray(picture.pixel(x, y)) - corner) > 40) return true;
    return false;
}

// One model, checked apart so that a broken one does not hide the others.
void checkModel(const fs::path& model) {
    SCOPED_TRACE(model.string());
    const std::string bitmaps = (model.parent_path() / "bitmaps").string();
    // Not the editor's lenient mode: a texture that cannot be found fails the load.
    ASSERT_EQ(OMBREL_engine_load_world(model.c_str(), "", bitmaps.c_str(), 0), 0) << OMBREL_ext_get_last_error();
    const int32_t group = OMBREL_group_get_using_name(model.stem().c_str());
    ASSERT_NE(group, 0);
    EXPECT_GT(OMBREL_group_get_number_of_polygons(group), 0);
    double centre[3] = {1, 1, 1};
    OMBREL_group_get_location(group, &centre[0], &centre[1], &centre[2]);
    for (double c : centre) EXPECT_NEAR(c, 0.0, 1e-6);
    for (int32_t p = OMBREL_group_get_first_polygon(group); p != 0; p = OMBREL_group_get_next_polygon(group, p)) {
        const int32_t texture = OMBREL_polygon_get_bitmap_handle(p);
        if (texture == 0) continue;
        EXPECT_EQ(Globals::GetEntityName(texture).rfind(bitmaps + "/", 0), 0u) << Globals::GetEntityName(texture);
    }

    const QImage preview(QString::fromStdString(ModelGallery::PreviewPath(model.string())));
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(preview.size(), QSize(128, 128));
    EXPECT_TRUE(showsSomething(preview));
}

using ShippedModelsTest = EditorFixture;

TEST_F(ShippedModelsTest, EveryShippedModelLoadsTexturedFromItsFolderWithItsPreview) {
    const fs::path gallery = fs::path(TALVORA_PROGRAM_DIR) / "Models";
    int models = 0;
    for (auto it = fs::recursive_directory_iterator(gallery); it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_directory() && ModelGallery::IsReservedFolderName(it->path().filename().string())) {
            it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file() || !isModel(it->path())) continue;
        ++models;
        checkModel(it->path());
    }
    EXPECT_GT(models, 0);
}

}  // namespace
