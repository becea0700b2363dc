// Saving and loading our world text: every kind of object comes back exactly and a
// reloaded world writes the same bytes.
#include "world_file_helpers.h"

#include <cmath>
#include <cstring>

namespace {

class WorldFileRoundTrip : public EngineTest {
protected:
    FileFolder dir;

    std::string saveRoot(const std::string& name, int32_t flags = OMBREL_SAVE_WORLD) {
        std::string path = dir.file(name);
        EXPECT_EQ(OMBREL_engine_save(path.c_str(), OMBREL_group_get_using_name("the_world"), flags), 0) << lastError();
        return path;
    }
    void load(const std::string& path) {
        ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", (dir.path() / "bitmaps").c_str(), OMBREL_LOAD_EDITOR), 0)
            << lastError();
    }
};

// A file holding every record kind and field, in the writer's own form: reading it
// and writing it again must give it back byte for byte.
TEST_F(WorldFileRoundTrip, EveryRecordKindReadsAndWritesBackUnchanged) {
    std::string d = dir.path().string();
    writeBmp(dir.file("red.bmp"), 2, 2, {255, 0, 0});
    writeBmp(dir.file("blue.bmp"), 4, 2, {0, 0, 255});
    std::string text =
        "OMBREL-WORLD 1\n"
        "atmosphere 10 20 30 6e-04\n"
        "bitmap 1 \"" + d + "/red\" \"" + d + "/red.bmp\" \"red.bmp\" -1\n"
        "bitmap 2 \"" + d + "/blue\" \"" + d + "/blue.bmp\" \"blue.bmp\" 3\n"
        "animation 1 \"walk\" save 1 dirs 2 0 1 0 0 frames 1 2 2 times 3 10 20 30\n"
        "group 1 \"the_world\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n"
        "chase 0 0 0.1 200 0 0.5 200 offset 0 0 0 trackoffset 0 0 0 force 0 0 0 \"\" \"\" track 0 falling 0 0 0\n"
        "group 2 \"box \\\"one\\\" \\\\ two\" father 1 static 0 disabled 1 pivot 1.5 -2 3 origin 0.1 0.2 0.3 axes 0 1 0 -1 0 0 0 0 1\n"
        "chase 135 12.5 0.25 300 0.1 0.75 400 offset 1 2 3 trackoffset 4 5 6 force 0 0 -9.81 \"cam\" \"path\" track 0 falling 1 50 1\n"
        "polygon 1 \"floor\" group 1 enabled 1 fill bitmap 1 rgb 1 2 3 second 2 blend 82 dim 12.5 rotated 1 lights 1 1 map 0 0 0 1 0 0 0 1 0\n"
        "p 0 0 0 0 0 100\n"
        "p 0 10 0 0 1 100 n 0 0 127\n"
        "p 10 10 0 1 1 65280 c 10 20 30\n"
        "polygon 2 \"\" group 2 enabled 0 fill animation 1 rgb 200 100 50 second 0 blend 0 dim 0 rotated 0 lights 0\n"
        "p 0.1 1e-300 -0 0 0 100\n"
        "p 5e-324 1.7976931348623157e+308 -2.5 0.5 0.25 50 n -0 1 0 c 0 0 0\n"
        "p 1 2 3 -1.25 7 100\n"
        "camera 1 \"cam\" save 1 eye 1 2 3 a1 -1 0 0 a2 0 -1 0 a3 0 0 1 zoom 60 near 1\n"
        "chase 4 100 0.5 200 0 0.5 200 offset 0 0 0 trackoffset 0 0 0 force 0 0 0 \"box\" \"\" track 1 falling 0 0 0\n"
        "light 1 \"sun\" save 1 pos 100 200 300 dir 0 0 -1 rgb 255 240 200 0.2 0.8 0.3 20 5000 59 0 1 1 target 2\n"
        "track 1 \"path\" save 1 cyclic 1 n 3\n"
        "0 0 0\n"
        "100 0 0\n"
        "100 100 50\n"
        "background 1 \"sky\" save 1 bitmap 1 bottom -5500 bottomint 0 distance 30000 step 0.3\n"
        "use-background 1\n"
        "end\n";
    writeText(dir.file("all.wld"), text);
    load(dir.file("all.wld"));
    std::string again = saveRoot("again.wld");
    EXPECT_EQ(readText(again), text);
}

TEST_F(WorldFileRoundTrip, ObjectsMadeThroughTheInterfaceComeBackAndSaveIdentically) {
    writeBmp(dir.file("tex.bmp"), 8, 4, {10, 200, 30});
    int32_t root = OMBREL_group_create("the_world");
    int32_t child = OMBREL_group_create("crate");
    OMBREL_group_set_father_group(child, root);
    OMBREL_group_set_dynamic(child);
    OMBREL_group_set_chase_type(child, OMBREL_CHASE_TRACK);
    OMBREL_group_set_chase_distance(child, 42.5);
    OMBREL_group_set_track_name(child, "rail");
    double pivot[3] = {1, 2, 3};
    OMBREL_group_set_rotate_reference_point(child, pivot);

    int32_t bmp = OMBREL_bitmap_load(dir.file("tex.bmp").c_str(), 5);
    ASSERT_NE(bmp, 0) << lastError();
    int32_t poly = makeSquareFacingUp(child, 0, 0, 0, 10);
    OMBREL_polygon_set_name(poly, "top");
    OMBREL_polygon_set_bitmap_fill(poly, bmp);
    OMBREL_polygon_set_translucent(poly, OMBREL_BLEND_NORMAL);
    OMBREL_polygon_set_light_diminution(poly, 33);
    int32_t first = OMBREL_polygon_get_first_point(poly);
    double uv[2] = {0.25, 0.75};
    OMBREL_point_set_bitmap_xy(first, poly, uv);
    uint8_t rgb[3] = {9, 8, 7};
    OMBREL_point_set_rgb(first, poly, rgb);
    double normal[3] = {0, 0, 127};
    OMBREL_point_set_normal(first, normal);

    int32_t anim = OMBREL_animation_create("flames");
    OMBREL_animation_add_bitmap(anim, 1, bmp, 0);
    OMBREL_animation_set_frame_time(anim, 0, 25);
    int32_t animated = makeSquareFacingUp(root, 20, 0, 0, 5);
    OMBREL_polygon_set_animation(animated, anim);

    double track[6] = {0, 0, 0, 10, 20, 30};
    int32_t tr = OMBREL_track_create("rail", 1, track, 2);
    int32_t cam = OMBREL_camera_create("scene");
    OMBREL_camera_set_location(cam, 5, 6, 7);
    OMBREL_camera_set_zoom(cam, 45);
    OMBREL_camera_set_track(cam, tr);
    double at[3] = {1, 1, 50};
    int32_t light = OMBREL_light_create("lamp", at);
    OMBREL_light_set_entity_to_light(light, child);
    OMBREL_light_activate(light, 0);
    int32_t bg = OMBREL_background_create("sky", bmp);
    OMBREL_background_set_distance(bg, 123);
    OMBREL_background_use(bg);
    OMBREL_engine_set_atmospheric_effect(1, 2, 3);
    OMBREL_engine_set_atmospheric_effect_intensity(0.25);

    std::string first_save = saveRoot("one.wld");
    load(first_save);

    int32_t crate = OMBREL_group_get_using_name("crate");
    ASSERT_NE(crate, 0);
    EXPECT_EQ(OMBREL_group_get_father_group(crate), OMBREL_group_get_using_name("the_world"));
    EXPECT_EQ(OMBREL_group_is_static(crate), 0);
    EXPECT_EQ(OMBREL_group_get_chase_type(crate), OMBREL_CHASE_TRACK);
    EXPECT_EQ(OMBREL_group_get_chase_distance(crate), 42.5);
    double p[3];
    OMBREL_group_get_rotate_reference_point(crate, p);
    EXPECT_EQ(p[0], 1);
    EXPECT_EQ(p[2], 3);
    int32_t top = OMBREL_polygon_get_handle_using_name("top");
    ASSERT_NE(top, 0);
    EXPECT_EQ(OMBREL_polygon_get_group(top), crate);
    EXPECT_EQ(OMBREL_polygon_get_translucent(top), OMBREL_BLEND_NORMAL);
    EXPECT_EQ(OMBREL_polygon_get_light_diminution(top), 33);
    int32_t tex = OMBREL_polygon_get_bitmap_handle(top);
    EXPECT_EQ(OMBREL_bitmap_get_transparent_index(tex), 5);
    EXPECT_EQ(OMBREL_bitmap_get_width(tex), 8);
    EXPECT_EQ(entityName(tex), (dir.path() / "tex").string());
    double got_uv[2];
    OMBREL_point_get_bitmap_xy(OMBREL_polygon_get_first_point(top), got_uv);
    EXPECT_EQ(got_uv[0], 0.25);
    EXPECT_EQ(got_uv[1], 0.75);

    int32_t lamp = OMBREL_light_get_using_name("lamp");
    EXPECT_EQ(OMBREL_light_get_entity_to_light(lamp), crate);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(top, lamp), 1);
    int32_t scene = OMBREL_camera_get_using_name("scene");
    EXPECT_EQ(OMBREL_camera_get_zoom(scene), 45);
    EXPECT_EQ(OMBREL_camera_get_track_handle(scene), OMBREL_track_get_using_name("rail"));
    EXPECT_EQ(OMBREL_track_get_number_of_points(OMBREL_track_get_using_name("rail")), 2);
    int32_t flames = OMBREL_animation_get_handle("flames");
    EXPECT_EQ(OMBREL_animation_get_frame_time(flames, 0), 25);
    EXPECT_EQ(OMBREL_animation_get_bitmap(flames, 1, 0), tex);
    int32_t sky = OMBREL_background_get_handle("sky");
    EXPECT_EQ(OMBREL_background_get_distance(sky), 123);
    EXPECT_EQ(OMBREL_background_get_bitmap(sky), tex);
    int32_t r, g, b;
    OMBREL_engine_get_atmospheric_effect(&r, &g, &b);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(OMBREL_engine_get_atmospheric_effect_intensity(), 0.25);

    std::string second_save = saveRoot("two.wld");
    EXPECT_EQ(readText(second_save), readText(first_save));
}

TEST_F(WorldFileRoundTrip, CoordinatesComeBackBitForBit) {
    const double values[] = {0.1, 1e-300, -0.0, 5e-324, 3.4028234663852886e38, -123456.789012345678, 1.0 / 3.0};
    int32_t root = OMBREL_group_create("the_world");
    int32_t poly = OMBREL_polygon_create();
    for (double v : values) {
        double rec[6] = {v, -v, v * 0.5, v, v, v};
        OMBREL_polygon_add_point(poly, rec);
    }
    OMBREL_polygon_set_group(poly, root);
    OMBREL_engine_add_polygon(poly);
    std::string path = saveRoot("exact.wld");
    load(path);
    int32_t loaded = OMBREL_group_get_first_polygon(OMBREL_group_get_using_name("the_world"));
    int32_t pt = OMBREL_polygon_get_first_point(loaded);
    for (double v : values) {
        ASSERT_NE(pt, 0);
        double xyz[3], uv[2];
        OMBREL_point_get_xyz(pt, xyz);
        OMBREL_point_get_bitmap_xy(pt, uv);
        EXPECT_EQ(std::memcmp(&xyz[0], &v, sizeof v), 0) << v;
        double neg = -v, half = v * 0.5;
        EXPECT_EQ(std::memcmp(&xyz[1], &neg, sizeof v), 0) << v;
        EXPECT_EQ(std::memcmp(&xyz[2], &half, sizeof v), 0) << v;
        EXPECT_EQ(std::memcmp(&uv[1], &v, sizeof v), 0) << v;
        double bright = OMBREL_point_get_brightness(pt);
        EXPECT_EQ(std::memcmp(&bright, &v, sizeof v), 0) << v;
        pt = OMBREL_point_get_next_point(pt);
    }
    EXPECT_EQ(pt, 0);
}

}  // namespace
