// The rendered image: fills, pictures, blending, fog, lights, background, hiding.
#include "bmp_writer.h"
#include "render_fixture.h"

#include <cfloat>
#include <fstream>
#include <string>
#include <vector>

namespace {

const Rgb kBlack{0, 0, 0};

int brightness(Rgb c) { return c.r + c.g + c.b; }

class RenderFillTest : public RenderTest {
protected:
    TempFolder dir;

    // A square at height z, visible from above, with uv (0, 0) at its top-left corner.
    int32_t texturedSquare(double cx, double cy, double z, double size) {
        double h = size / 2;
        int32_t p = OMBREL_polygon_create();
        const double recs[4][6] = {{cx - h, cy - h, z, 0, 1, 100},
                                   {cx - h, cy + h, z, 0, 0, 100},
                                   {cx + h, cy + h, z, 1, 0, 100},
                                   {cx + h, cy - h, z, 1, 1, 100}};
        for (const auto& r : recs) OMBREL_polygon_add_point(p, r);
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        return p;
    }
    int32_t plainBitmap(const std::string& name, TestRgb c, int32_t transparent = -1) {
        auto path = dir.path() / (name + ".bmp");
        writeBmp24(path, 2, 2, {c, c, c, c});
        int32_t b = OMBREL_bitmap_load(path.c_str(), transparent);
        EXPECT_NE(b, 0) << OMBREL_ext_get_last_error();
        return b;
    }
};

TEST_F(RenderFillTest, ColourFillTimesBrightnessAndDiminution) {
    struct Case {
        double brightness, diminution;
        Rgb want;
    } cases[] = {{100, 0, {255, 0, 0}}, {50, 0, {128, 0, 0}}, {100, 25, {191, 0, 0}}, {65280, 0, {255, 0, 0}},
                 {100, 150, {0, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.brightness);
        int32_t p = OMBREL_polygon_create();
        for (P3 q : {P3{-4, -4, 0}, P3{-4, 4, 0}, P3{4, 4, 0}, P3{4, -4, 0}}) {
            double rec[6] = {q[0], q[1], q[2], 0, 0, c.brightness};
            OMBREL_polygon_add_point(p, rec);
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        OMBREL_polygon_set_color_fill(p, 255, 0, 0);
        OMBREL_polygon_set_light_diminution(p, c.diminution);
        OMBREL_ext_set_clear_color(0, 0, 40);
        render();
        EXPECT_TRUE(region(22, 14, 20, 20, c.want));
        EXPECT_TRUE(region(0, 0, 8, 8, {0, 0, 40}));
        OMBREL_polygon_set_group(p, 0);
    }
}

TEST_F(RenderFillTest, TransparentTexelShowsWhatLiesBehind) {
    // Left texels green (index 1), right texels blue (index 2, transparent).
    auto path = dir.path() / "keyed.bmp";
    writeBmp8(path, 4, 1, {{0, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {1, 1, 2, 2});
    int32_t keyed = OMBREL_bitmap_load(path.c_str(), 2);
    ASSERT_NE(keyed, 0) << OMBREL_ext_get_last_error();
    int32_t below = makeSquareFacingUp(group, 0, 0, -1, 12);
    OMBREL_polygon_set_color_fill(below, 255, 0, 0);
    int32_t top = texturedSquare(0, 0, 0, 8);
    ASSERT_EQ(OMBREL_polygon_set_bitmap_fill(top, keyed), 0);
    render();
    EXPECT_TRUE(region(22, 16, 6, 16, {0, 255, 0}, 8));  // left half: the green texel
    EXPECT_TRUE(region(36, 16, 6, 16, {255, 0, 0}, 8));  // right half: the red square behind
}

TEST_F(RenderFillTest, TranslucentPolygonMixesPerItsCode) {
    struct Case {
        int code;
        Rgb want;
    } cases[] = {
        {0x52, {150, 75, 50}},    {0x43, {175, 62, 25}},   {0x44, {125, 87, 75}}, {0x32, {255, 150, 100}},
        {0x31, {78, 20, 0}},      {0x42, {222, 130, 100}}, {0x22, {255, 150, 100}}, {0x51, {100, 50, 100}},
        {0x99, {200, 50, 0}},  // unknown: opaque
    };
    int32_t base = makeSquareFacingUp(group, 0, 0, 0, 12);
    OMBREL_polygon_set_color_fill(base, 100, 100, 100);
    int32_t glass = makeSquareFacingUp(group, 0, 0, 1, 6);
    OMBREL_polygon_set_color_fill(glass, 200, 50, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_EQ(OMBREL_polygon_set_translucent(glass, c.code), 0);
        render();
        EXPECT_TRUE(region(28, 20, 8, 8, c.want, 3));
        EXPECT_TRUE(region(14, 22, 2, 2, {100, 100, 100}));  // the base beside the glass
    }
}

TEST_F(RenderFillTest, FogDarkensFarPolygonsMore) {
    int32_t nearSq = makeSquareFacingUp(group, -4, 0, 4, 4);
    int32_t farSq = makeSquareFacingUp(group, 6, 0, -30, 16);
    OMBREL_polygon_set_color_fill(nearSq, 255, 255, 255);
    OMBREL_polygon_set_color_fill(farSq, 255, 255, 255);
    OMBREL_engine_set_atmospheric_effect(0, 0, 0);
    OMBREL_engine_set_atmospheric_effect_intensity(0.02);
    render();
    Rgb n = at(14, 24), f = at(40, 24);
    EXPECT_GT(brightness(n), brightness(f) + 60) << n << " vs " << f;
    EXPECT_GT(brightness(f), 0);
    EXPECT_TRUE(region(0, 0, 4, 4, kBlack));  // cleared to the fog colour
    OMBREL_engine_set_atmospheric_effect_intensity(0);
    render();
    EXPECT_TRUE(region(38, 22, 4, 4, {255, 255, 255}));
}

TEST_F(RenderFillTest, LightBrightensTheLitSide) {
    int32_t sq = makeSquareFacingUp(group, 0, 0, 0, 12);
    OMBREL_polygon_set_color_fill(sq, 255, 255, 255);
    render();
    EXPECT_TRUE(region(20, 20, 24, 8, {255, 255, 255}));  // no light bound: as authored
    const double at_[3] = {-6, 0, 1};
    int32_t light = OMBREL_light_create("lamp", at_);
    OMBREL_light_set_specular(light, 0);
    OMBREL_light_set_ambient(light, 0.1);
    OMBREL_light_set_distance_reach(light, 20);
    render();  // auto update binds the light to the world's polygons
    Rgb lit = at(16, 24), dark = at(48, 24);
    EXPECT_GT(brightness(lit), brightness(dark) + 60) << lit << " vs " << dark;
}

// A light at the largest values the engine takes lights a polygon it faces or
// is turned away from like any bright light: no term overflows into a NaN that
// would blacken another light's share. A value beyond a float is refused.
TEST_F(RenderFillTest, TheLargestLightValuesLightWithoutOverflow) {
    int32_t sq = makeSquareFacingUp(group, 0, 0, 0, 12);
    OMBREL_polygon_set_color_fill(sq, 255, 255, 255);
    auto directional = [](const char* name, const uint8_t (&rgb)[3]) {
        const int32_t l = OMBREL_light_create(name, nullptr);
        OMBREL_light_set_type_of_light(l, OMBREL_LIGHT_DIRECTIONAL | OMBREL_LIGHT_AMBIENT | OMBREL_LIGHT_DIFFUSE |
                                              OMBREL_LIGHT_SPECULAR);
        OMBREL_light_set_color(l, rgb);
        return l;
    };
    const int32_t huge = directional("huge", {255, 0, 0});
    for (auto set : {OMBREL_light_set_ambient, OMBREL_light_set_diffuse, OMBREL_light_set_specular,
                     OMBREL_light_set_specular_shining, OMBREL_light_set_distance_reach})
        ASSERT_EQ(set(huge, FLT_MAX), 0);
    const int32_t soft = directional("soft", {0, 255, 0});
    OMBREL_light_set_ambient(soft, 0.5);
    OMBREL_light_set_diffuse(soft, 0);
    OMBREL_light_set_specular(soft, 0);
    const Rgb want{255, 128, 0};
    struct Case {
        const char* what;
        double dz;
    } cases[] = {{"facing the square", -1}, {"turned away", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const double dir[3] = {0, 0, c.dz};
        OMBREL_light_set_direction(huge, dir);
        render();
        EXPECT_TRUE(region(20, 14, 24, 20, want));
        EXPECT_EQ(OMBREL_light_set_diffuse(huge, 1e39), -1);
        render();
        EXPECT_TRUE(region(20, 14, 24, 20, want));
    }
}

TEST_F(RenderFillTest, SwitchedOffOrDeletedLightsLeaveTheWorldAsAuthored) {
    const Rgb authored{255, 0, 0};
    int32_t sq = makeSquareFacingUp(group, 0, 0, 0, 12);
    OMBREL_polygon_set_color_fill(sq, 255, 0, 0);
    // Straight down, no decay: the square is lit evenly to 0.4 of its colour.
    int32_t light = makeSun(0, 0, -1, 0.1, 0.3);
    const Rgb lit{102, 0, 0};
    render();
    ASSERT_TRUE(region(20, 14, 24, 20, lit));

    struct Case {
        const char* what;
        int disabled, save;
        Rgb want;
    } cases[] = {{"switched off", 1, 1, authored},
                 {"not saved", 0, 0, authored},
                 {"deleted", 1, 0, authored},
                 {"deletion undone", 0, 1, lit},
                 {"switched off again", 1, 1, authored}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OMBREL_light_disable(light, c.disabled);
        OMBREL_light_set_save_flag(light, c.save);
        render();
        EXPECT_TRUE(region(20, 14, 24, 20, c.want));
    }

    // Saved and opened again with the light switched off, the world looks the same.
    const std::string path = (dir.path() / "off.wld").string();
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), group, OMBREL_SAVE_WORLD), 0) << OMBREL_ext_get_last_error();
    ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << OMBREL_ext_get_last_error();
    camera = OMBREL_camera_get_using_name("down");
    light = OMBREL_light_get_using_name("sun");
    ASSERT_NE(light, 0);
    EXPECT_EQ(OMBREL_light_is_disabled(light), 1);
    render();
    EXPECT_TRUE(region(20, 14, 24, 20, authored));
    OMBREL_light_disable(light, 0);
    render();
    EXPECT_TRUE(region(20, 14, 24, 20, lit));
}

// However many lights a polygon is bound to, each adds its share: fifty ambient
// lights of 0.016 light the square to 0.8 of its colour, and switching one off
// takes its share away.
TEST_F(RenderFillTest, EveryBoundLightAddsItsShareHoweverMany) {
    int32_t sq = makeSquareFacingUp(group, 0, 0, 0, 12);
    OMBREL_polygon_set_color_fill(sq, 255, 0, 0);
    std::vector<int32_t> lights;
    for (int i = 0; i < 50; ++i) {
        int32_t l = OMBREL_light_create(("ambient" + std::to_string(i)).c_str(), nullptr);
        OMBREL_light_set_type_of_light(l, OMBREL_LIGHT_DIRECTIONAL | OMBREL_LIGHT_AMBIENT);
        OMBREL_light_set_ambient(l, 0.016);
        lights.push_back(l);
    }
    render();
    EXPECT_TRUE(region(20, 14, 24, 20, {204, 0, 0}));
    OMBREL_light_disable(lights[37], 1);
    render();
    EXPECT_TRUE(region(20, 14, 24, 20, {200, 0, 0}));
}

TEST_F(RenderFillTest, TheTransparentColourNeverFringesTheVisibleTexels) {
    // A white disc on magenta, magenta transparent, over a green background.
    std::vector<uint8_t> disc(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const double dx = x + 0.5 - 4, dy = y + 0.5 - 4;
            disc[static_cast<std::size_t>(y * 8 + x)] = dx * dx + dy * dy <= 9 ? 1 : 0;
        }
    auto path = dir.path() / "disc.bmp";
    writeBmp8(path, 8, 8, {{255, 0, 255}, {255, 255, 255}}, disc);
    int32_t keyed = OMBREL_bitmap_load(path.c_str(), 0);
    ASSERT_NE(keyed, 0) << OMBREL_ext_get_last_error();
    int32_t p = texturedSquare(0, 0, 0, 12);
    ASSERT_EQ(OMBREL_polygon_set_bitmap_fill(p, keyed), 0);
    OMBREL_ext_set_clear_color(0, 255, 0);

    struct Case {
        const char* what;
        double height;  // of the camera above the square
        bool centreShows;
    } cases[] = {{"magnified five times", 10, true},
                 {"minified three times", 100, true},
                 {"minified five times", 160, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OMBREL_camera_set_location(camera, 0, 0, c.height);
        render();
        int pink = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Rgb px = at(x, y);
                if (px.r > px.g + 8 && px.b > px.g + 8 && pink++ == 0)
                    ADD_FAILURE() << "pink at (" << x << ", " << y << "): " << px;
            }
        EXPECT_EQ(pink, 0);
        if (c.centreShows) {
            EXPECT_TRUE(region(31, 23, 2, 2, {255, 255, 255}, 4));
        }
    }
}

TEST_F(RenderFillTest, AFileChangedOnDiskShowsItsNewPictureThroughEveryHandle) {
    auto path = dir.path() / "tex.bmp";
    writeBmp24(path, 2, 2, std::vector<TestRgb>(4, TestRgb{255, 0, 0}));
    int32_t first = OMBREL_bitmap_load(path.c_str(), -1);
    ASSERT_NE(first, 0) << OMBREL_ext_get_last_error();
    int32_t p = texturedSquare(0, 0, 0, 8);
    ASSERT_EQ(OMBREL_polygon_set_bitmap_fill(p, first), 0);
    render();
    ASSERT_TRUE(region(28, 20, 8, 8, {255, 0, 0}));

    writeBmp24(path, 3, 3, std::vector<TestRgb>(9, TestRgb{0, 0, 255}));
    EXPECT_EQ(OMBREL_bitmap_load(path.c_str(), -1), first);
    int32_t keyed = OMBREL_bitmap_load(path.c_str(), 5);
    ASSERT_NE(keyed, 0);
    EXPECT_NE(keyed, first);
    for (int32_t h : {first, keyed}) {
        EXPECT_EQ(OMBREL_bitmap_get_width(h), 3) << h;
        EXPECT_EQ(OMBREL_bitmap_get_height(h), 3) << h;
        EXPECT_GE(OMBREL_bitmap_rgb_color_to_index(h, 0, 0, 255), 0) << h;
        EXPECT_EQ(OMBREL_bitmap_rgb_color_to_index(h, 255, 0, 0), -1) << h;
    }
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(p), first);
    render();
    EXPECT_TRUE(region(28, 20, 8, 8, {0, 0, 255}));

    // A file that can no longer be read leaves the loaded picture as it was.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "BM no longer a picture";
    OMBREL_ext_clear_last_error();
    EXPECT_EQ(OMBREL_bitmap_load(path.c_str(), -1), 0);
    EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
    EXPECT_EQ(OMBREL_bitmap_get_width(first), 3);
    render();
    EXPECT_TRUE(region(28, 20, 8, 8, {0, 0, 255}));
}

TEST_F(RenderFillTest, BackgroundFillsWhereNoPolygonIs) {
    int32_t sky = plainBitmap("sky", {0, 200, 0});
    int32_t bg = OMBREL_background_create("bg", sky);
    OMBREL_background_set_bottom_intensity(bg, 1);
    ASSERT_EQ(OMBREL_background_use(bg), 0);
    makeSquareFacingUp(group, 0, 0, 0, 8);
    render();
    EXPECT_TRUE(region(0, 0, 10, 48, {0, 200, 0}));
    EXPECT_TRUE(region(28, 20, 8, 8, {192, 192, 192}));
    OMBREL_background_set_bottom_intensity(bg, 0.5);  // looking down: below the lower edge
    render();
    EXPECT_TRUE(region(0, 0, 10, 48, {0, 100, 0}));
    OMBREL_engine_set_group_to_render(group);  // previews show no background
    render();
    EXPECT_TRUE(region(0, 0, 10, 48, kBlack));
}

TEST_F(RenderFillTest, DisabledGroupDisappearsWithItsSubtree) {
    int32_t child = OMBREL_group_create("child");
    OMBREL_group_set_father_group(child, group);
    makeSquareFacingUp(child, 0, 0, 0, 8);
    render();
    EXPECT_TRUE(region(28, 20, 8, 8, {192, 192, 192}));
    OMBREL_group_disable(group, 1);
    render();
    EXPECT_TRUE(region(0, 0, kWidth, kHeight, kBlack));
    int32_t hit = -1;
    EXPECT_EQ(OMBREL_engine_2D_point_to_3D(32, 24, nullptr, nullptr, &hit), -1);
    OMBREL_group_disable(group, 0);
    render();
    EXPECT_TRUE(region(28, 20, 8, 8, {192, 192, 192}));
}

TEST_F(RenderFillTest, AnimationShowsTheFrameOfTheClock) {
    int32_t red = plainBitmap("red", {255, 0, 0}), blue = plainBitmap("blue", {0, 0, 255});
    int32_t side = plainBitmap("side", {0, 255, 0});
    int32_t anim = OMBREL_animation_create("blink");
    OMBREL_animation_add_bitmap(anim, 1, red, 0);
    OMBREL_animation_add_bitmap(anim, 1, blue, 1);
    OMBREL_animation_add_bitmap(anim, 3, side, 0);
    OMBREL_animation_set_frame_time(anim, 1, 30);  // red 0.1 s (default), blue 0.3 s
    int32_t p = texturedSquare(0, 0, 0, 8);
    ASSERT_EQ(OMBREL_polygon_set_animation(p, anim), 0);
    struct Case {
        double seconds;
        Rgb want;
    } cases[] = {{0.05, {255, 0, 0}}, {0.15, {0, 0, 255}}, {0.35, {0, 0, 255}}, {0.45, {255, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        OMBREL_ext_set_time(c.seconds);
        render();
        EXPECT_TRUE(region(28, 20, 8, 8, c.want, 4));
    }
    // Seen edge-on from 80 degrees the side direction's frame shows.
    OMBREL_camera_set_location(camera, -57, 0, 10);
    OMBREL_camera_set_direction(camera, 1, 0, -0.176);
    OMBREL_camera_set_zoom(camera, 20);
    render();
    EXPECT_TRUE(region(30, 23, 4, 2, {0, 255, 0}, 4));
    OMBREL_ext_use_system_clock();
}

}  // namespace
