// Light maps on screen: shadows show, a lit polygon with a map is not lit twice,
// live lighting comes back when the map goes, a reloaded world draws the same,
// many small maps show texel for texel up to their edges whether they share a
// texture or not (and when the workers that upload them cannot start), and a
// computation replaces what earlier ones installed.
#include "bmp_writer.h"
#include "lightmap_helpers.h"
#include "render_fixture.h"
#include "world_file_helpers.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class LightMapRenderTest : public RenderTest {
protected:
    // A white floor of 16 x 16 facing the camera; a lamp to its right; a box in the
    // lamp's way whose shadow falls left of the box, where the camera sees the floor.
    void makeScene() {
        root = OMBREL_group_create("root");
        OMBREL_group_set_father_group(group, root);
        floor = makeSquareFacingUp(group, 0, 0, 0, 16);
        OMBREL_polygon_set_color_fill(floor, 255, 255, 255);
        const int32_t box = OMBREL_group_create("box");
        OMBREL_group_set_father_group(box, root);
        makePolygon(box, {{-1, -1, 3}, {-1, 1, 3}, {1, 1, 3}, {1, -1, 3}});
        OMBREL_polygon_set_color_fill(OMBREL_group_get_first_polygon(box), 0, 0, 255);
        lamp = plainLight("lamp", {3, 0, 8}, 0.2, 0.8);
        OMBREL_light_set_ray_tracing(lamp, 1);
    }

    int brightness(int x, int y) const {
        const Rgb c = at(x, y);
        return c.r + c.g + c.b;
    }

    std::vector<Rgb> picture() const {
        std::vector<Rgb> out;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) out.push_back(at(x, y));
        return out;
    }

    int32_t root = 0, floor = 0, lamp = 0;
};

// One pixel spans 10 / 32 units at the floor: x = -2.5 is pixel 24, x = 2.5 pixel 40.
TEST_F(LightMapRenderTest, TheShadowedPartOfTheFloorIsDarkerOnScreen) {
    makeScene();
    render();
    const int liveShadow = brightness(24, 24), liveLit = brightness(40, 24);
    ASSERT_NE(OMBREL_polygon_create_lightmap(floor, 256, 1, 0.25, 1, 2), 0) << OMBREL_ext_get_last_error();
    render();
    const int shadow = brightness(24, 24), lit = brightness(40, 24);
    EXPECT_LT(shadow, 3 * 255 * 3 / 10) << "only the ambient term is left there";
    EXPECT_GT(lit, 3 * 255 * 8 / 10);
    EXPECT_LT(shadow, liveShadow - 200) << "live lighting has no shadows";
    EXPECT_GE(lit, liveLit) << "the map lights each texel, live light only the corners";
}

TEST_F(LightMapRenderTest, AMappedPolygonIsNotLitTwiceAndLiveLightReturnsWithoutTheMap) {
    const int32_t sq = makeSquareFacingUp(group, 0, 0, 0, 16);
    OMBREL_polygon_set_color_fill(sq, 255, 255, 255);
    const int32_t lamp = OMBREL_light_create("half", nullptr);
    OMBREL_light_set_type_of_light(lamp, 8);
    OMBREL_light_set_ambient(lamp, 0.5);
    render();
    EXPECT_TRUE(region(28, 20, 8, 8, {128, 128, 128}, 3)) << "live ambient light";
    ASSERT_NE(OMBREL_polygon_create_lightmap(sq, 64, 1, 1, 0, 2), 0);
    render();
    EXPECT_TRUE(region(28, 20, 8, 8, {128, 128, 128}, 3)) << "the map's light, not map x live light";
    OMBREL_light_set_ambient(lamp, 0.25);
    render();
    EXPECT_TRUE(region(28, 20, 8, 8, {128, 128, 128}, 3)) << "the map holds the light of its computation";
    ASSERT_EQ(OMBREL_polygon_set_second_bitmap(sq, 0), 0);  // Remove Light Maps
    render();
    EXPECT_TRUE(region(28, 20, 8, 8, {64, 64, 64}, 3)) << "live lighting is back";
}

TEST_F(LightMapRenderTest, AWorldSavedWithItsMapsDrawsTheSameAfterAReload) {
    makeScene();
    ASSERT_EQ(OMBREL_ext_lightmap_begin(root, 256, 1, 0.5, 1, 2), 0);
    for (int32_t p = OMBREL_group_get_first_polygon(root); p; p = OMBREL_group_get_next_polygon(root, p))
        ASSERT_NE(OMBREL_polygon_create_lightmap(p, 256, 1, 0.5, 1, 2), 0) << OMBREL_ext_get_last_error();
    OMBREL_ext_lightmap_end();
    render();
    const std::vector<Rgb> before = picture();
    FileFolder folder;
    const std::string file = folder.file("lit.wld");
    ASSERT_EQ(OMBREL_engine_save(file.c_str(), root, 0x1203), 0) << OMBREL_ext_get_last_error();
    OMBREL_ext_surface_destroy(surface);
    OMBREL_engine_close();
    ASSERT_EQ(OMBREL_engine_load_world(file.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << OMBREL_ext_get_last_error();
    surface = OMBREL_ext_surface_create(kWidth, kHeight);
    camera = OMBREL_camera_create("down again");
    OMBREL_camera_set_location(camera, 0, 0, 10);
    OMBREL_camera_set_direction(camera, 0, 0, -1);
    OMBREL_camera_set_zoom(camera, 90);
    render();
    const std::vector<Rgb> after = picture();
    int differing = 0;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (!near(before[i], after[i], 3)) ++differing;
    EXPECT_EQ(differing, 0);
    EXPECT_LT(brightness(24, 24), 3 * 255 * 3 / 10) << "the shadow came back with the map";
}

// The map sampled as the renderer filters it, held at its edges: (u, v) in 0..1
// over the map, v = 0 its first row.
Rgb sample(const MapPixels& map, double u, double v) {
    const double s = u * map.width - 0.5, t = v * map.height - 0.5;
    const int i = static_cast<int>(std::floor(s)), j = static_cast<int>(std::floor(t));
    const double fs = s - i, ft = t - j;
    auto texel = [&](int x, int y, int c) {
        return double(map.at(std::clamp(x, 0, map.width - 1), std::clamp(y, 0, map.height - 1))[c]);
    };
    int out[3];
    for (int c = 0; c < 3; ++c) {
        const double top = texel(i, j, c) * (1 - fs) + texel(i + 1, j, c) * fs;
        const double bottom = texel(i, j + 1, c) * (1 - fs) + texel(i + 1, j + 1, c) * fs;
        out[c] = static_cast<int>(std::lround(top * (1 - ft) + bottom * ft));
    }
    return {out[0], out[1], out[2]};
}

// Rectangles of 2 to 5 texels a side (rate 1), white (a white picture under the
// second maps), each with its own map under a lamp whose light falls off steeply
// across them; every other one bakes its map into its fill. On screen each texel
// spans about three pixels, so level 0 draws.
TEST_F(LightMapRenderTest, ManySmallMapsShowTexelForTexelUpToTheirEdges) {
    FileFolder folder;
    const std::string white = folder.file("white.bmp");
    writeBmp24(white, 2, 2, std::vector<TestRgb>(4, {255, 255, 255}));
    const int32_t picture = OMBREL_bitmap_load(white.c_str(), -1);
    ASSERT_NE(picture, 0) << OMBREL_ext_get_last_error();
    struct Rect {
        double x0, y0, x1, y1;
        int32_t polygon, map;
    };
    const double widths[] = {1.5, 2.5, 3.5, 5}, heights[] = {2, 3, 4.5};
    std::vector<Rect> rects;
    double y = -6.5;
    for (double h : heights) {
        double x = -8;
        for (double w : widths) {
            // The first edge runs along +x from (x0, y1): the map's u is x, its v is y.
            const int32_t p = makePolygon(group, {{x, y + h, 0}, {x + w, y + h, 0}, {x + w, y, 0}, {x, y, 0}});
            OMBREL_polygon_set_color_fill(p, 255, 255, 255);
            rects.push_back({x, y, x + w, y + h, p, 0});
            x += w + 0.5;
        }
        y += h + 1;
    }
    const int32_t falling = plainLight("lamp", {-1, 0, 1.5}, 0.05, 1);
    OMBREL_light_set_type_of_light(falling, 8 | 16 | 2);
    OMBREL_light_set_distance_reach(falling, 10);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (i % 2 == 0) OMBREL_polygon_set_bitmap_fill(rects[i].polygon, picture);
        rects[i].map = OMBREL_polygon_create_lightmap(rects[i].polygon, 64, 1, 1, 0, i % 2 ? 1 : 2);
        ASSERT_NE(rects[i].map, 0) << OMBREL_ext_get_last_error();
    }
    std::vector<MapPixels> maps;
    for (const Rect& r : rects) maps.push_back(mapPixels(r.map));
    // Drawn once, then a large map beside them: the shared texture grows under them.
    render();
    const int32_t large = makePolygon(group, {{7, -4.5, 0}, {9, -4.5, 0}, {9, -6.5, 0}, {7, -6.5, 0}});
    ASSERT_NE(OMBREL_polygon_create_lightmap(large, 256, 1, 0.005, 0, 2), 0) << OMBREL_ext_get_last_error();

    // A return to the shared textures uploads every map again; the workers that
    // prepare them may not all start.
    const struct {
        const char* how;
        const char* atlas;    // OMBREL_LIGHTMAP_ATLAS
        const char* workers;  // OMBREL_WORKER_STARTS
    } ways[] = {{"sharing textures", nullptr, nullptr},
                {"each alone", "0", nullptr},
                {"sharing textures, no worker started", nullptr, "0"},
                {"each alone again", "0", nullptr},
                {"sharing textures, one worker started", nullptr, "1"}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        const EnvVariable atlas("OMBREL_LIGHTMAP_ATLAS", way.atlas);
        const EnvVariable workers("OMBREL_WORKER_STARTS", way.workers);
        render();
        constexpr double kPixel = 10.0 / 32, kMargin = 0.6 * kPixel;
        int checked = 0, edge = 0;
        for (int py = 0; py < kHeight; ++py)
            for (int px = 0; px < kWidth; ++px) {
                const double wx = (px + 0.5 - kWidth / 2) * kPixel, wy = (kHeight / 2 - (py + 0.5)) * kPixel;
                for (std::size_t i = 0; i < rects.size(); ++i) {
                    const Rect& r = rects[i];
                    if (wx < r.x0 + kMargin || wx > r.x1 - kMargin || wy < r.y0 + kMargin || wy > r.y1 - kMargin)
                        continue;
                    const double u = (wx - r.x0) / (r.x1 - r.x0), v = (wy - r.y0) / (r.y1 - r.y0);
                    const Rgb want = sample(maps[i], u, v);
                    ASSERT_TRUE(near(at(px, py), want, 3))
                        << "pixel (" << px << ", " << py << ") of map " << i << " is " << at(px, py) << ", expected "
                        << want;
                    ++checked;
                    const double texelsIn = std::min({u * maps[i].width, (1 - u) * maps[i].width,
                                                      v * maps[i].height, (1 - v) * maps[i].height});
                    edge += texelsIn < 0.5;
                }
            }
        EXPECT_GT(checked, 500);
        EXPECT_GT(edge, 100) << "pixels within half a texel of an edge were seen";
    }
}

// A textured floor of four squares under a lamp, the picture repeated twice over
// each, so that a number-1 map moves the texture coordinates.
class ReplacedMapsTest : public LightMapRenderTest {
protected:
    void makeFloor(const std::string& picture) {
        const int32_t fill = OMBREL_bitmap_load(picture.c_str(), -1);
        ASSERT_NE(fill, 0) << OMBREL_ext_get_last_error();
        for (double cx : {-4.0, 4.0})
            for (double cy : {-4.0, 4.0}) {
                const int32_t p = makePolygon(group, {{cx - 3.5, cy + 3.5, 0}, {cx + 3.5, cy + 3.5, 0},
                                                      {cx + 3.5, cy - 3.5, 0}, {cx - 3.5, cy - 3.5, 0}});
                OMBREL_polygon_set_bitmap_fill(p, fill);
                const double uvs[4][2] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
                int k = 0;
                for (int32_t pt = OMBREL_polygon_get_first_point(p); pt; pt = OMBREL_point_get_next_point(pt), ++k)
                    OMBREL_point_set_bitmap_xy(pt, p, uvs[k]);
                squares.push_back(p);
            }
        plainLight("lamp", {0, 0, 6}, 0.2, 0.7);
    }

    void compute(int number) {
        for (int32_t p : squares) ASSERT_NE(OMBREL_polygon_create_lightmap(p, 64, 1, 1, 0, number), 0);
    }

    // The light-map records a save to file writes.
    int savedMaps(const std::string& file) {
        EXPECT_EQ(OMBREL_engine_save(file.c_str(), group, 0x1203), 0) << OMBREL_ext_get_last_error();
        std::ifstream in(file);
        int n = 0;
        for (std::string line; std::getline(in, line);) n += line.find(" lightmap ") != std::string::npos;
        return n;
    }

    std::vector<int32_t> squares;
};

TEST_F(ReplacedMapsTest, AComputationReplacesTheMapsEarlierOnesInstalled) {
    FileFolder folder;
    const std::string checker = folder.file("checker.bmp");
    writeBmp24(checker, 2, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}});
    struct Case {
        int first, then;
    } cases[] = {{2, 1}, {1, 1}, {1, 2}, {2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE("number " + std::to_string(c.first) + ", then number " + std::to_string(c.then));
        TearDown();
        SetUp();
        squares.clear();
        makeFloor(checker);
        compute(c.first);
        compute(c.then);
        EXPECT_EQ(savedMaps(folder.file("saved.wld")), 4) << "one map per polygon";
        render();
        const std::vector<Rgb> replaced = picture();

        TearDown();
        SetUp();
        squares.clear();
        makeFloor(checker);
        compute(c.then);
        render();
        const std::vector<Rgb> fresh = picture();
        int differing = 0;
        for (std::size_t i = 0; i < fresh.size(); ++i) differing += !near(replaced[i], fresh[i], 3);
        EXPECT_EQ(differing, 0) << "the light of one computation";
    }
}

}  // namespace
