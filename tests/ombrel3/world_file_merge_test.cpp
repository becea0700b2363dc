// Adding a world file to the open world: the added root's name and place, what
// the open world keeps, and shared bitmaps.
#include "world_file_helpers.h"

#include <vector>

namespace {

class WorldFileMerge : public EngineTest {
protected:
    FileFolder dir;
    std::string chair;

    void SetUp() override {
        EngineTest::SetUp();
        writeBmp(dir.file("bitmaps/oak.bmp"), 2, 2, {90, 60, 30});
        // A saved world: the_world holding a seat from (0,0,0) to (2,4,6) with a fill.
        int32_t root = OMBREL_group_create("the_world");
        int32_t seat = OMBREL_group_create("seat");
        OMBREL_group_set_father_group(seat, root);
        int32_t poly = makePolygon(seat, {{0, 0, 0}, {0, 4, 6}, {2, 4, 6}, {2, 0, 0}});
        OMBREL_polygon_set_bitmap_fill(poly, OMBREL_bitmap_load(dir.file("bitmaps/oak.bmp").c_str(), -1));
        OMBREL_engine_set_atmospheric_effect(1, 1, 1);
        OMBREL_background_use(OMBREL_background_create("night", 0));
        OMBREL_camera_create("their camera");
        chair = dir.file("Chair.wld");
        ASSERT_EQ(OMBREL_engine_save(chair.c_str(), root, OMBREL_SAVE_WORLD), 0) << lastError();

        ASSERT_EQ(OMBREL_engine_load_world(nullptr, nullptr, nullptr, OMBREL_LOAD_EDITOR), 0);
        OMBREL_group_create("the_world");
        OMBREL_engine_set_atmospheric_effect(200, 100, 50);
    }

    int32_t add(const std::string& file, std::array<double, 3> at) {
        return OMBREL_engine_add_world(file.c_str(), "", (dir.path() / "Bitmaps").c_str(), at.data());
    }
};

TEST_F(WorldFileMerge, TheAddedWorldIsRenamedAfterItsFileAndPlacedAtTheLocation) {
    int32_t first = add(chair, {10, 20, 30});
    ASSERT_NE(first, 0) << lastError();
    EXPECT_EQ(entityName(first), "Chair");
    EXPECT_EQ(OMBREL_group_get_father_group(first), 0);
    double x, y, z;
    OMBREL_group_get_location(first, &x, &y, &z);
    EXPECT_DOUBLE_EQ(x, 10);
    EXPECT_DOUBLE_EQ(y, 20);
    EXPECT_DOUBLE_EQ(z, 30);
    int32_t seat = OMBREL_group_get_first_included_group(first);
    EXPECT_EQ(entityName(seat), "seat");
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(first), 1);

    int32_t second = add(chair, {0, 0, 0});
    ASSERT_NE(second, 0);
    EXPECT_EQ(entityName(second), "Chair01");
    EXPECT_EQ(entityName(add(chair, {0, 0, 0})), "Chair02");
    // Still one the_world: the open world's.
    int n = 0;
    for (int32_t g = OMBREL_group_get_first_group(); g; g = OMBREL_group_get_next(g)) n += entityName(g) == "the_world";
    EXPECT_EQ(n, 1);
}

TEST_F(WorldFileMerge, TheOpenWorldKeepsItsFogAndBackgroundAndSharesBitmaps) {
    ASSERT_NE(add(chair, {0, 0, 0}), 0);
    ASSERT_NE(add(chair, {5, 0, 0}), 0);
    int32_t r, g, b;
    OMBREL_engine_get_atmospheric_effect(&r, &g, &b);
    EXPECT_EQ(r, 200);
    int bitmaps = 0;
    for (int32_t h = OMBREL_bitmap_get_first_bitmap(); h; h = OMBREL_bitmap_get_next(h)) ++bitmaps;
    EXPECT_EQ(bitmaps, 1);
    int cameras = 0;
    for (int32_t h = OMBREL_camera_get_first_camera(); h; h = OMBREL_camera_get_next_camera(h)) ++cameras;
    EXPECT_EQ(cameras, 2);
    EXPECT_NE(OMBREL_background_get_handle("night"), 0);
}

// Within one file and with the open world: one bitmap per file and transparent
// index; a light map of the same file stays its own.
TEST_F(WorldFileMerge, BitmapsAreSharedByFileAndTransparentIndex) {
    const int32_t open = OMBREL_bitmap_load(dir.file("bitmaps/oak.bmp").c_str(), 7);
    ASSERT_NE(open, 0) << lastError();
    writeBmp(dir.file("bitmaps/elm.bmp"), 3, 3, {10, 20, 30});
    const std::string oak = dir.file("bitmaps/oak.bmp"), elm = dir.file("bitmaps/elm.bmp");
    std::string text = "OMBREL-WORLD 1\n"
                       "bitmap 1 \"\" \"" + oak + "\" \"oak.bmp\" -1\n"
                       "bitmap 2 \"\" \"" + oak + "\" \"oak.bmp\" -1\n"
                       "bitmap 3 \"\" \"" + oak + "\" \"oak.bmp\" 7\n"
                       "bitmap 4 \"\" \"" + elm + "\" \"elm.bmp\" -1\n"
                       "bitmap 5 \"\" \"" + oak + "\" \"oak.bmp\" -1 lightmap 2 2\n"
                       "bitmap 6 \"\" \"" + oak + "\" \"oak.bmp\" -1 lightmap 2 2\n"
                       "group 1 \"parts\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n";
    for (int i = 1; i <= 4; ++i)
        text += "polygon " + std::to_string(i) + " \"\" group 1 enabled 1 fill bitmap " + std::to_string(i) +
                " rgb 1 2 3 second " + std::to_string(i < 3 ? i + 4 : 0) +
                " blend 0 dim 0 rotated 0 lights 0\np 0 0 0 0 0 100\np 0 1 0 0 0 100\np 1 1 0 0 0 100\n";
    text += "end\n";
    writeText(dir.file("parts.wld"), text);
    ASSERT_NE(add(dir.file("parts.wld"), {0, 0, 0}), 0) << lastError();

    const int32_t parts = OMBREL_group_get_using_name("parts");
    std::vector<int32_t> fills;
    for (int32_t p = OMBREL_group_get_first_polygon(parts); p; p = OMBREL_group_get_next_polygon(parts, p))
        fills.push_back(OMBREL_polygon_get_bitmap_handle(p));
    ASSERT_EQ(fills.size(), 4u);
    EXPECT_NE(fills[0], 0);
    EXPECT_EQ(fills[1], fills[0]);
    EXPECT_EQ(fills[2], open);
    EXPECT_NE(fills[3], fills[0]);
    EXPECT_NE(fills[3], open);
    int bitmaps = 0;
    for (int32_t h = OMBREL_bitmap_get_first_bitmap(); h; h = OMBREL_bitmap_get_next(h)) ++bitmaps;
    EXPECT_EQ(bitmaps, 5);  // the open one, oak and elm, two light maps
}

// Files that moved with their world and changed case on the way (as copies
// through another file system do) are still found under bitmaps/.
TEST_F(WorldFileMerge, MovedBitmapsAreFoundUnderNamesInAnyCase) {
    writeBmp(dir.file("bitmaps/WALL.BMP"), 3, 1, {1, 2, 3});
    writeBmp(dir.file("bitmaps/Lightmap_7.Bmp"), 5, 1, {4, 5, 6});
    writeText(dir.file("moved.wld"),
              "OMBREL-WORLD 1\n"
              "bitmap 1 \"\" \"/gone/bitmaps/wall.bmp\" \"wall.bmp\" -1\n"
              "bitmap 2 \"\" \"/gone/bitmaps/LIGHTMAP_7.bmp\" \"LIGHTMAP_7.bmp\" -1 lightmap 5 1\n"
              "group 1 \"walls\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n"
              "polygon 1 \"\" group 1 enabled 1 fill bitmap 1 rgb 1 2 3 second 2 blend 0 dim 0 rotated 0 lights 0\n"
              "p 0 0 0 0 0 100\np 0 1 0 0 0 100\np 1 1 0 0 0 100\n"
              "end\n");
    std::string log;
    OMBREL_ext_set_log_callback(
        [](int32_t, const char* line, void* user) { static_cast<std::string*>(user)->append(line).append("\n"); }, &log);
    const int32_t root = add(dir.file("moved.wld"), {0, 0, 0});
    OMBREL_ext_set_log_callback(nullptr, nullptr);
    ASSERT_NE(root, 0) << lastError();
    EXPECT_EQ(log.find("placeholder"), std::string::npos) << log;
    const int32_t wall = OMBREL_polygon_get_bitmap_handle(OMBREL_group_get_first_polygon(OMBREL_group_get_using_name("walls")));
    EXPECT_EQ(OMBREL_bitmap_get_width(wall), 3);
    EXPECT_EQ(entityName(wall), dir.file("bitmaps/WALL"));
}

TEST_F(WorldFileMerge, FatherlessGroupsOfAFileWithoutTheWorldAreAdopted) {
    writeText(dir.file("parts.wld"),
              "OMBREL-WORLD 1\n"
              "group 1 \"leg\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n"
              "group 2 \"arm\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n"
              "polygon 1 \"\" group 2 enabled 1 fill colour rgb 1 2 3 second 0 blend 0 dim 0 rotated 0 lights 0\n"
              "p 0 0 0 0 0 100\np 0 1 0 0 0 100\np 1 1 0 0 0 100\n"
              "end\n");
    int32_t root = add(dir.file("parts.wld"), {0, 0, 0});
    ASSERT_NE(root, 0) << lastError();
    EXPECT_EQ(entityName(root), "parts");
    EXPECT_EQ(OMBREL_group_get_father_group(OMBREL_group_get_using_name("leg")), root);
    EXPECT_EQ(OMBREL_group_get_father_group(OMBREL_group_get_using_name("arm")), root);
}

}  // namespace
