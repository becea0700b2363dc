// Light maps: the light of the bound lights at each texel, shadows through the
// occluders of the receiver's tree, the map's size, the two ways of installing
// it, and the batch whose workers compute ahead of the calls that claim.
#include "bmp_writer.h"
#include "lightmap_helpers.h"
#include "world_file_helpers.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Params {
    int32_t max = 256, min = 1;
    double rate = 1;
    int32_t ray = 1, number = 2;
};

int32_t bake(int32_t polygon, const Params& p = {}) {
    return OMBREL_polygon_create_lightmap(polygon, p.max, p.min, p.rate, p.ray, p.number);
}

// Six faces between the corners, in group.
void makeBox(int32_t group, P3 lo, P3 hi) {
    const double x0 = lo[0], y0 = lo[1], z0 = lo[2], x1 = hi[0], y1 = hi[1], z1 = hi[2];
    makePolygon(group, {{x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1}});
    makePolygon(group, {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}});
    makePolygon(group, {{x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}});
    makePolygon(group, {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}});
    makePolygon(group, {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}});
    makePolygon(group, {{x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}});
}

using LightMapTest = EngineTest;

TEST_F(LightMapTest, AQuadUnderALampIsBrightestBelowItAndMatchesTheLightingFormula) {
    const int32_t group = OMBREL_group_create("g");
    const int32_t floor = makeSquareFacingUp(group, 0, 0, 0, 20);
    plainLight("lamp", {0, 0, 10}, 0.1, 0.8);
    const int32_t map = bake(floor);
    ASSERT_NE(map, 0) << OMBREL_ext_get_last_error();
    const MapPixels px = mapPixels(map);
    ASSERT_EQ(px.width, 20);
    ASSERT_EQ(px.height, 20);
    // Each corner texel's centre lies 9.5 and 9.5 off the middle, 10 below the lamp.
    const double facing = 10 / std::sqrt(9.5 * 9.5 * 2 + 100);
    const int corner = static_cast<int>(std::lround((0.1 + 0.8 * facing) * 255));
    for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}})
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(px.at(x, y)[c], corner, 1) << x << ", " << y;
    EXPECT_GT(px.brightness(10, 10), px.brightness(0, 0) + 100);
    EXPECT_NEAR(px.at(10, 10)[0], std::lround((0.1 + 0.8 * 10 / std::sqrt(0.25 + 100)) * 255), 1);
}

TEST_F(LightMapTest, TheRectanglesSidesFollowTheRateWithinTheBounds) {
    const int32_t group = OMBREL_group_create("g");
    // A 10 x 20 rectangle whose first edge is its 10-unit side.
    const int32_t rect = makePolygon(group, {{0, 0, 0}, {10, 0, 0}, {10, 20, 0}, {0, 20, 0}});
    const int32_t lamp = OMBREL_light_create("lamp", nullptr);
    OMBREL_light_set_type_of_light(lamp, 8);
    OMBREL_light_set_ambient(lamp, 1);
    struct Case {
        Params params;
        int width, height;
    } cases[] = {
        {{256, 1, 1}, 10, 20},
        {{256, 1, 2}, 5, 10},
        {{256, 15, 1}, 15, 20},
        {{12, 1, 1}, 10, 12},
        {{64, 1, 0}, 64, 64},
        {{64, 1, -3}, 64, 64},
        {{2147483647, 1, 1e-9}, 4096, 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.params.max) + " " + std::to_string(c.params.min) + " " +
                     std::to_string(c.params.rate));
        const int32_t map = bake(rect, c.params);
        ASSERT_NE(map, 0) << OMBREL_ext_get_last_error();
        EXPECT_EQ(OMBREL_bitmap_get_width(map), c.width);
        EXPECT_EQ(OMBREL_bitmap_get_height(map), c.height);
    }
}

TEST_F(LightMapTest, PolygonsThatCanHaveNoMapAndStaleHandlesFail) {
    const int32_t group = OMBREL_group_create("g");
    plainLight("lamp", {0, 0, 10}, 0.5, 0.5);
    const int32_t two = makePolygon(group, {{0, 0, 0}, {1, 0, 0}});
    const int32_t line = makePolygon(group, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    const int32_t empty = OMBREL_polygon_create();
    OMBREL_polygon_set_group(empty, group);
    for (int32_t p : {two, line, empty, int32_t{0x7fff1234}}) {
        OMBREL_ext_clear_last_error();
        EXPECT_EQ(bake(p), 0);
        EXPECT_STRNE(OMBREL_ext_get_last_error(), "") << p;
    }
}

// A floor under a lamp with a box between them; the texel below the box's middle
// is shaded when the box blocks the lamp.
class ShadowTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        root = OMBREL_group_create("root");
        const int32_t floorGroup = OMBREL_group_create("floor");
        OMBREL_group_set_father_group(floorGroup, root);
        floor = makeSquareFacingUp(floorGroup, 0, 0, 0, 40);
        lamp = plainLight("lamp", {0, 0, 20}, 0.2, 0.8);
        OMBREL_light_set_ray_tracing(lamp, 1);
        box = OMBREL_group_create("box");
    }

    // The middle texel's red and a corner texel's.
    std::pair<int, int> middleAndCorner(int32_t ray = 1) {
        const int32_t map = bake(floor, {64, 1, 1, ray, 2});
        EXPECT_NE(map, 0) << OMBREL_ext_get_last_error();
        const MapPixels px = mapPixels(map);
        if (px.width != 40) return {-1, -1};
        return {px.at(20, 20)[0], px.at(0, 0)[0]};
    }

    int32_t root = 0, floor = 0, lamp = 0, box = 0;
};

TEST_F(ShadowTest, OnlyAnOccluderOfTheTreeShadesWhenBothFlagsAreOn) {
    const int lit = static_cast<int>(std::lround(255.0));  // 0.2 + 0.8 straight below
    const int shaded = static_cast<int>(std::lround(0.2 * 255));
    struct Case {
        const char* what;
        std::function<void(int32_t box, int32_t lamp)> setUp;
        int32_t ray;
        bool shadow;
    } cases[] = {
        {"a box in another top-level group", [](int32_t box, int32_t lamp) { makeBox(box, {-2, -2, 8}, {2, 2, 12}); }, 1, true},
        {"without ray tracing", [](int32_t box, int32_t lamp) { makeBox(box, {-2, -2, 8}, {2, 2, 12}); }, 0, false},
        {"the light's own flag off",
         [](int32_t box, int32_t lamp) {
             makeBox(box, {-2, -2, 8}, {2, 2, 12});
             OMBREL_light_set_ray_tracing(lamp, 0);
         },
         1, false},
        {"a hidden box",
         [](int32_t box, int32_t lamp) {
             makeBox(box, {-2, -2, 8}, {2, 2, 12});
             OMBREL_group_disable(box, 1);
         },
         1, false},
        {"a box outside the tree, as a marker is", [](int32_t box, int32_t lamp) { makeBox(box, {-2, -2, 8}, {2, 2, 12}); }, 1,
         false},
        // One quad whose visible side faces the floor, away from the lamp.
        {"a one-sided occluder facing away",
         [](int32_t box, int32_t lamp) { makePolygon(box, {{-2, -2, 10}, {2, -2, 10}, {2, 2, 10}, {-2, 2, 10}}); }, 1, true},
        // Lying in the floor's own plane: never in the way.
        {"an occluder in the receiver's plane",
         [](int32_t box, int32_t lamp) { makePolygon(box, {{-2, -2, 0}, {2, -2, 0}, {2, 2, 0}, {-2, 2, 0}}); }, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (std::string(c.what).find("marker") == std::string::npos) OMBREL_group_set_father_group(box, root);
        c.setUp(box, lamp);
        const auto [middle, corner] = middleAndCorner(c.ray);
        EXPECT_NEAR(middle, c.shadow ? shaded : lit, 1);
        EXPECT_GT(corner, shaded + 50) << "the corner sees the lamp";
    }
}

TEST_F(LightMapTest, NumberTwoOwnsTheSecondBitmapAndASecondComputationReplacesIt) {
    const int32_t group = OMBREL_group_create("g");
    const int32_t floor = makeSquareFacingUp(group, 0, 0, 0, 8);
    plainLight("lamp", {0, 0, 10}, 0.3, 0.5);
    const int32_t first = bake(floor);
    ASSERT_NE(first, 0);
    const std::string firstFile = mapFile(first);
    EXPECT_TRUE(fs::exists(firstFile));
    EXPECT_NE(entityName(first).find("/LIGHTMAP_"), std::string::npos);
    const int32_t second = bake(floor);
    ASSERT_NE(second, 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(first), 0) << "the older map is unloaded";
    EXPECT_FALSE(fs::exists(firstFile)) << "and its file deleted";
    // Remove Light Maps: the owned map goes with its file.
    const std::string secondFile = mapFile(second);
    ASSERT_EQ(OMBREL_polygon_set_second_bitmap(floor, 0), 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(second), 0);
    EXPECT_FALSE(fs::exists(secondFile));
    // Unloading a map deletes its file too.
    const int32_t third = bake(floor);
    const std::string thirdFile = mapFile(third);
    ASSERT_TRUE(fs::exists(thirdFile));
    ASSERT_EQ(OMBREL_bitmap_unload(third), 0);
    EXPECT_FALSE(fs::exists(thirdFile));
}

TEST_F(LightMapTest, LightsWithoutReachOrDirectionAreHandled) {
    const int32_t group = OMBREL_group_create("g");
    const int32_t floor = makeSquareFacingUp(group, 0, 0, 0, 4);
    // No reach: no decay however far; a zero direction: no diffuse term at all.
    const int32_t far = plainLight("far", {0, 0, 1000}, 0, 1);
    OMBREL_light_set_type_of_light(far, 8 | 16 | 4);
    OMBREL_light_set_distance_reach(far, -5);
    const int32_t sun = OMBREL_light_create("sun", nullptr);
    OMBREL_light_set_type_of_light(sun, 1 | 8 | 16);
    OMBREL_light_set_ambient(sun, 0);
    const double zero[3] = {0, 0, 0};
    OMBREL_light_set_direction(sun, zero);
    const int32_t map = bake(floor, {64, 1, 1, 1, 2});
    ASSERT_NE(map, 0) << OMBREL_ext_get_last_error();
    const MapPixels px = mapPixels(map);
    ASSERT_EQ(px.width, 4);
    EXPECT_NEAR(px.at(1, 1)[0], 255, 1) << "straight below the far lamp, undimmed";
}

TEST_F(LightMapTest, WithoutAnEnabledBoundLightThereIsNoMapAndAnOwnedOneGoes) {
    const int32_t group = OMBREL_group_create("g");
    const int32_t floor = makeSquareFacingUp(group, 0, 0, 0, 8);
    OMBREL_ext_clear_last_error();
    EXPECT_EQ(bake(floor), 0) << "no light at all";
    EXPECT_STREQ(OMBREL_ext_get_last_error(), "");
    const int32_t lamp = plainLight("lamp", {0, 0, 10}, 0.3, 0.5);
    const int32_t map = bake(floor);
    ASSERT_NE(map, 0);
    OMBREL_light_disable(lamp, 1);
    EXPECT_EQ(bake(floor), 0);
    EXPECT_STREQ(OMBREL_ext_get_last_error(), "");
    EXPECT_EQ(OMBREL_ext_handle_kind(map), 0) << "the number-2 map was taken off";
}

TEST_F(LightMapTest, NumberOneBakesTheTiledFillTimesTheLightAndMovesTheTextureCoordinates) {
    FileFolder folder;
    const std::string picture = folder.file("checker.bmp");
    // 2 x 2: red, green on top; blue, white below.
    writeBmp24(picture, 2, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}});
    const int32_t fill = OMBREL_bitmap_load(picture.c_str(), -1);
    ASSERT_NE(fill, 0) << OMBREL_ext_get_last_error();
    const int32_t group = OMBREL_group_create("g");
    // 8 x 8 facing up, its first edge along +x, the picture repeated twice across
    // each side: (u, v) = (x, y) / 4.
    const int32_t floor = makePolygon(group, {{0, 8, 0}, {8, 8, 0}, {8, 0, 0}, {0, 0, 0}});
    ASSERT_EQ(OMBREL_polygon_set_bitmap_fill(floor, fill), 0);
    const double uvs[4][2] = {{0, 2}, {2, 2}, {2, 0}, {0, 0}};
    int k = 0;
    for (int32_t pt = OMBREL_polygon_get_first_point(floor); pt; pt = OMBREL_point_get_next_point(pt), ++k)
        OMBREL_point_set_bitmap_xy(pt, floor, uvs[k]);
    const int32_t lamp = OMBREL_light_create("half", nullptr);
    OMBREL_light_set_type_of_light(lamp, 8);
    OMBREL_light_set_ambient(lamp, 0.5);

    const int32_t baked = bake(floor, {256, 1, 1, 0, 1});
    ASSERT_NE(baked, 0) << OMBREL_ext_get_last_error();
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(floor), baked);
    const MapPixels px = mapPixels(baked);
    ASSERT_EQ(px.width, 8);
    ASSERT_EQ(px.height, 8);
    // The map runs along the first edge (+x), then along normal x first edge (+y),
    // from the corner (0, 0): each 2 x 2 block of texels is one picture texel, halved.
    const int half = 128;
    struct Expect {
        int x, y, r, g, b;
    } expects[] = {{0, 0, half, 0, 0}, {2, 0, 0, half, 0}, {4, 1, half, 0, 0}, {1, 2, 0, 0, half},
                   {3, 3, half, half, half}, {7, 7, half, half, half}};
    for (const Expect& e : expects) {
        SCOPED_TRACE(std::to_string(e.x) + ", " + std::to_string(e.y));
        EXPECT_NEAR(px.at(e.x, e.y)[0], e.r, 1);
        EXPECT_NEAR(px.at(e.x, e.y)[1], e.g, 1);
        EXPECT_NEAR(px.at(e.x, e.y)[2], e.b, 1);
    }
    // The points now map the baked picture once across the rectangle.
    const double want[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    k = 0;
    for (int32_t pt = OMBREL_polygon_get_first_point(floor); pt; pt = OMBREL_point_get_next_point(pt), ++k) {
        double uv[2] = {-1, -1};
        OMBREL_point_get_bitmap_xy(pt, uv);
        EXPECT_NEAR(uv[0], want[k][0], 1e-12);
        EXPECT_NEAR(uv[1], want[k][1], 1e-12);
    }
    // Removing light maps leaves a baked fill as it is.
    EXPECT_EQ(OMBREL_polygon_set_second_bitmap(floor, 0), 0);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(floor), baked);
    EXPECT_EQ(OMBREL_ext_handle_kind(baked), OMBREL_ext_handle_kind(fill));
}

// ---- the batch

// Floors with boxes and four kinds of light, in one tree.
class BatchTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        root = OMBREL_group_create("root");
        const int32_t floors = OMBREL_group_create("floors");
        OMBREL_group_set_father_group(floors, root);
        const int32_t boxes = OMBREL_group_create("boxes");
        OMBREL_group_set_father_group(boxes, root);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                makeSquareFacingUp(floors, i * 10.0, j * 10.0, 0, 10);
                if ((i + j) % 2 == 0) makeBox(boxes, {i * 10.0 - 2, j * 10.0 - 2, 3}, {i * 10.0 + 2, j * 10.0 + 2, 6});
            }
        const int32_t a = plainLight("a", {5, 5, 15}, 0.1, 0.6);
        OMBREL_light_set_ray_tracing(a, 1);
        b = plainLight("b", {20, 0, 8}, 0.05, 0.4);
        OMBREL_light_set_type_of_light(b, 8 | 16 | 2);
        OMBREL_light_set_distance_reach(b, 30);
        OMBREL_light_set_ray_tracing(b, 1);
        sun = OMBREL_light_create("sun", nullptr);
        OMBREL_light_set_type_of_light(sun, 1 | 16);
        const double down[3] = {0.3, 0.2, -1};
        OMBREL_light_set_direction(sun, down);
        OMBREL_light_set_diffuse(sun, 0.3);
        OMBREL_light_set_ray_tracing(sun, 1);
        for (int32_t p = OMBREL_group_get_first_polygon(root); p; p = OMBREL_group_get_next_polygon(root, p))
            walk.push_back(p);
    }

    // Every polygon's map in walk order, each call claiming the next one.
    std::vector<MapPixels> bakeAll(bool batch, const Params& params = {128, 1, 2, 1, 2}) {
        if (batch) {
            EXPECT_EQ(OMBREL_ext_lightmap_begin(root, params.max, params.min, params.rate, params.ray, params.number),
                      0);
        }
        std::vector<MapPixels> maps;
        for (int32_t p : walk) {
            const int32_t map = bake(p, params);
            EXPECT_NE(map, 0) << OMBREL_ext_get_last_error();
            maps.push_back(mapPixels(map));
        }
        EXPECT_EQ(OMBREL_ext_lightmap_end(), 0);
        return maps;
    }

    int32_t root = 0, b = 0, sun = 0;
    std::vector<int32_t> walk;
};

bool samePixels(const std::vector<MapPixels>& a, const std::vector<MapPixels>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].width != b[i].width || a[i].height != b[i].height || a[i].rgb != b[i].rgb) return false;
    return true;
}

TEST_F(BatchTest, OneWorkerEightWorkersAndNoBatchGiveTheSamePixels) {
    std::vector<MapPixels> one, eight, alone;
    {
        ThreadsVariable threads("1");
        one = bakeAll(true);
    }
    {
        ThreadsVariable threads("8");
        eight = bakeAll(true);
        alone = bakeAll(false);
    }
    ASSERT_EQ(one.size(), walk.size());
    EXPECT_TRUE(samePixels(one, eight));
    EXPECT_TRUE(samePixels(one, alone));
    // Shadows are there: some floor texel is darker than its neighbours' brightest.
    int darkest = 1000, brightest = 0;
    for (const MapPixels& m : one)
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x) {
                darkest = std::min(darkest, m.brightness(x, y));
                brightest = std::max(brightest, m.brightness(x, y));
            }
    EXPECT_GT(brightest, darkest + 100);
}

TEST_F(BatchTest, WorkersThatCannotStartLeaveTheirMapsToThoseThatDid) {
    const ThreadsVariable threads("8");
    const std::vector<MapPixels> reference = bakeAll(false);
    ASSERT_EQ(reference.size(), walk.size());
    for (const char* starts : {"0", "1", "3"}) {
        SCOPED_TRACE(std::string("workers started: ") + starts);
        const EnvVariable refused("OMBREL_WORKER_STARTS", starts);
        // The dialog waits on this before each claim: it must come, workers or not.
        const Params params{128, 1, 2, 1, 2};
        ASSERT_EQ(OMBREL_ext_lightmap_begin(root, params.max, params.min, params.rate, params.ray, params.number), 0);
        EXPECT_EQ(OMBREL_ext_lightmap_ready(walk.back(), 60000), 1);
        EXPECT_EQ(OMBREL_ext_lightmap_end(), 0);
        EXPECT_TRUE(samePixels(bakeAll(true), reference)) << "in a batch";
        EXPECT_TRUE(samePixels(bakeAll(false), reference)) << "one polygon at a time";
    }
}

TEST_F(BatchTest, ALightChangedBetweenClaimsLightsTheLaterClaims) {
    const Params params{128, 1, 2, 1, 2};
    ASSERT_EQ(OMBREL_ext_lightmap_begin(root, params.max, params.min, params.rate, params.ray, params.number), 0);
    const int32_t early = bake(walk[0], params);
    ASSERT_NE(early, 0);
    OMBREL_light_disable(sun, 1);
    std::vector<MapPixels> later;
    for (std::size_t i = 1; i < walk.size(); ++i) later.push_back(mapPixels(bake(walk[i], params)));
    OMBREL_ext_lightmap_end();
    // The same without a batch, the sun off from the start.
    std::vector<MapPixels> fresh;
    for (std::size_t i = 1; i < walk.size(); ++i) fresh.push_back(mapPixels(bake(walk[i], params)));
    EXPECT_TRUE(samePixels(later, fresh));
}

TEST_F(BatchTest, AClaimOutOfOrderEndsTheBatchAndGetsItsOwnMap) {
    // One worker and one lamp; maps of 2048 x 2048 (12 MB of values each), so the
    // worker pauses once eleven wait to be claimed.
    ThreadsVariable threads("1");
    OMBREL_light_disable(b, 1);
    OMBREL_light_disable(sun, 1);
    const Params big{2048, 2048, 1, 0, 2};
    ASSERT_EQ(OMBREL_ext_lightmap_begin(root, big.max, big.min, big.rate, big.ray, big.number), 0);
    ASSERT_GT(walk.size(), 12u);
    ASSERT_EQ(OMBREL_ext_lightmap_ready(walk[10], 60000), 1);
    EXPECT_EQ(OMBREL_ext_lightmap_ready(walk[11], 300), 0) << "paused at the bound";
    // A claim in walk order is served by the batch, which goes on.
    ASSERT_NE(bake(walk[0], big), 0);
    const int32_t last = walk.back();
    EXPECT_EQ(OMBREL_ext_lightmap_ready(last, 0), 0) << "the batch still runs";
    const int32_t map = bake(last, big);
    ASSERT_NE(map, 0) << OMBREL_ext_get_last_error();
    EXPECT_EQ(OMBREL_ext_lightmap_ready(walk[0], 0), 1) << "no batch any more";
    EXPECT_EQ(OMBREL_bitmap_get_width(map), 2048);
    // Its pixels are those of a call without a batch.
    const MapPixels claimed = mapPixels(map);
    const MapPixels again = mapPixels(bake(last, big));
    EXPECT_EQ(claimed.width, 2048);
    EXPECT_TRUE(claimed.rgb == again.rgb);
}

TEST_F(BatchTest, BeginAndEndTwiceAreHarmlessAndAStaleGroupIsRefused) {
    const Params params{128, 1, 2, 1, 2};
    EXPECT_EQ(OMBREL_ext_lightmap_begin(root, params.max, params.min, params.rate, params.ray, params.number), 0);
    EXPECT_EQ(OMBREL_ext_lightmap_begin(root, params.max, params.min, params.rate, params.ray, params.number), 0);
    EXPECT_EQ(OMBREL_ext_lightmap_ready(walk[0], 10000), 1);
    EXPECT_EQ(OMBREL_ext_lightmap_end(), 0);
    EXPECT_EQ(OMBREL_ext_lightmap_end(), 0);
    EXPECT_EQ(OMBREL_ext_lightmap_begin(0x7fff1234, 8, 1, 1, 0, 2), -1);
    EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
    // Other parameters than the batch's: computed on the calling thread all the same.
    EXPECT_EQ(OMBREL_ext_lightmap_begin(root, params.max, params.min, params.rate, params.ray, params.number), 0);
    const int32_t map = bake(walk[0], {16, 16, 1, 0, 2});
    EXPECT_EQ(OMBREL_bitmap_get_width(map), 16);
    OMBREL_engine_close();  // ends a batch too
    EXPECT_EQ(OMBREL_ext_lightmap_ready(walk[1], 0), 1);
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
}

}  // namespace
