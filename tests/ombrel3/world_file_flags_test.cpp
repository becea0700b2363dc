// What the save flags put into a world file: a whole world (0x1203) against a
// portable gallery model (0x243) with its bitmaps copied beside it.
#include "world_file_helpers.h"

namespace {

class WorldFileFlags : public EngineTest {
protected:
    FileFolder dir;
    int32_t root = 0, model = 0, bitmap = 0;

    void SetUp() override {
        EngineTest::SetUp();
        writeBmp(dir.file("textures/wood.bmp"), 4, 4, {120, 80, 40});
        writeBmp(dir.file("textures/unused.bmp"), 2, 2, {1, 2, 3});
        root = OMBREL_group_create("the_world");
        model = OMBREL_group_create("chair");
        OMBREL_group_set_father_group(model, root);
        bitmap = OMBREL_bitmap_load(dir.file("textures/wood.bmp").c_str(), -1);
        ASSERT_NE(bitmap, 0) << lastError();
        ASSERT_NE(OMBREL_bitmap_load(dir.file("textures/unused.bmp").c_str(), -1), 0);
        OMBREL_polygon_set_bitmap_fill(makeSquareFacingUp(model, 0, 0, 0, 2), bitmap);
        makeSquareFacingUp(root, 5, 5, 0, 2);
        OMBREL_camera_create("cam");
        double at[3] = {0, 0, 10};
        OMBREL_light_create("lamp", at);
        double pts[3] = {1, 2, 3};
        OMBREL_track_create("path", 0, pts, 1);
        OMBREL_background_use(OMBREL_background_create("sky", bitmap));
    }
};

TEST_F(WorldFileFlags, WorldFlagsWriteWorldObjectsAndEveryFileBitmap) {
    std::string path = dir.file("out/world.wld");
    std::filesystem::create_directories(dir.file("out"));
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD), 0) << lastError();
    auto kinds = recordKinds(readText(path));
    EXPECT_EQ(countOf(kinds, "atmosphere"), 1);
    EXPECT_EQ(countOf(kinds, "bitmap"), 2);
    EXPECT_EQ(countOf(kinds, "group"), 2);
    EXPECT_EQ(countOf(kinds, "polygon"), 2);
    EXPECT_EQ(countOf(kinds, "camera"), 1);
    EXPECT_EQ(countOf(kinds, "light"), 1);
    EXPECT_EQ(countOf(kinds, "track"), 1);
    EXPECT_EQ(countOf(kinds, "background"), 1);
    EXPECT_EQ(countOf(kinds, "use-background"), 1);
    // Bitmaps stay where they are, referenced by absolute path.
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/bitmaps")));
    EXPECT_NE(readText(path).find(dir.file("textures/wood.bmp")), std::string::npos);
}

TEST_F(WorldFileFlags, ModelFlagsWriteTheSubtreeAndCopyItsBitmaps) {
    std::string path = dir.file("gallery/chair.wld");
    std::filesystem::create_directories(dir.file("gallery"));
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), model, OMBREL_SAVE_MODEL), 0) << lastError();
    std::string text = readText(path);
    auto kinds = recordKinds(text);
    EXPECT_EQ(countOf(kinds, "group"), 1);
    EXPECT_EQ(countOf(kinds, "polygon"), 1);
    EXPECT_EQ(countOf(kinds, "bitmap"), 1);  // only the one its polygons use
    for (const char* absent : {"atmosphere", "camera", "light", "track", "background", "use-background"})
        EXPECT_EQ(countOf(kinds, absent), 0) << absent;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("gallery/bitmaps/wood.bmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("gallery/bitmaps/unused.bmp")));
    EXPECT_EQ(text.find(dir.path().string()), std::string::npos) << "a portable model names no absolute path";

    // Moved elsewhere with its bitmaps folder, the model still finds its picture.
    std::filesystem::rename(dir.file("gallery"), dir.file("moved"));
    std::filesystem::remove_all(dir.file("textures"));
    std::string moved = dir.file("moved/chair.wld");
    ASSERT_EQ(OMBREL_engine_load_world(moved.c_str(), "", dir.file("moved/Bitmaps").c_str(), 0), 0) << lastError();
    int32_t poly = OMBREL_group_get_first_polygon(OMBREL_group_get_using_name("chair"));
    int32_t tex = OMBREL_polygon_get_bitmap_handle(poly);
    EXPECT_EQ(OMBREL_bitmap_get_width(tex), 4);
    EXPECT_EQ(entityName(tex), dir.file("moved/bitmaps/wood"));
}

TEST_F(WorldFileFlags, FillsWithoutWorldObjectsStillCarryAnimationsAndTheirFrames) {
    int32_t anim = OMBREL_animation_create("flicker");
    OMBREL_animation_add_bitmap(anim, 1, bitmap, 0);
    OMBREL_polygon_set_animation(OMBREL_group_get_first_polygon(model), anim);
    std::string path = dir.file("anim.wld");
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), model, OMBREL_SAVE_GEOMETRY | OMBREL_SAVE_FILLS), 0);
    auto kinds = recordKinds(readText(path));
    EXPECT_EQ(countOf(kinds, "animation"), 1);
    EXPECT_EQ(countOf(kinds, "bitmap"), 1);
}

TEST_F(WorldFileFlags, ObjectsWithSaveFlagZeroAreLeftOut) {
    OMBREL_camera_set_save_flag(OMBREL_camera_get_using_name("cam"), 0);
    OMBREL_light_set_save_flag(OMBREL_light_get_using_name("lamp"), 0);
    std::string path = dir.file("w.wld");
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD), 0);
    auto kinds = recordKinds(readText(path));
    EXPECT_EQ(countOf(kinds, "camera"), 0);
    EXPECT_EQ(countOf(kinds, "light"), 0);
    EXPECT_EQ(countOf(kinds, "track"), 1);
}

}  // namespace
