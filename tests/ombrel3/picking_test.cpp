// Screen to world: the nearest drawable polygon facing the eye under a pixel.
#include "engine_fixture.h"

namespace {

class PickingTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // Looking straight down from z = 10 at 90 degrees on 64 x 48 pixels: image right
        // is +x, image up is +y, and at depth 10 one pixel spans 10 / 32 world units.
        camera = OMBREL_camera_create("down");
        surface = OMBREL_ext_surface_create(64, 48);
        OMBREL_camera_set_location(camera, 0, 0, 10);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        OMBREL_camera_set_zoom(camera, 90);
        OMBREL_camera_set_current(camera, surface);
        group = OMBREL_group_create("g");
    }
    void TearDown() override {
        OMBREL_ext_surface_destroy(surface);
        EngineTest::TearDown();
    }

    struct Result {
        int32_t code, group, polygon;
        double point[3];
    };
    Result pick(int32_t x, int32_t y) {
        Result r{0, -5, -5, {-9, -9, -9}};
        r.code = OMBREL_engine_2D_point_to_3D(x, y, r.point, &r.group, &r.polygon);
        return r;
    }

    int32_t camera = 0, surface = 0, group = 0;
};

TEST_F(PickingTest, HitsTheVisibleSideThroughThePixelCentre) {
    int32_t up = makeSquareFacingUp(group, 0, 0, 0, 4);
    Result r = pick(40, 16);  // pixel centre (40.5, 16.5): x = 8.5 * 10 / 32, y = 7.5 * 10 / 32
    ASSERT_EQ(r.code, -1);    // outside the square
    EXPECT_EQ(r.group, 0);
    EXPECT_EQ(r.polygon, 0);
    EXPECT_EQ(r.point[0], -9);  // untouched on a miss

    r = pick(35, 20);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.polygon, up);
    EXPECT_EQ(r.group, group);
    EXPECT_NEAR(r.point[0], 3.5 * 10 / 32, 1e-9);
    EXPECT_NEAR(r.point[1], 3.5 * 10 / 32, 1e-9);
    EXPECT_NEAR(r.point[2], 0, 1e-9);

    // The hit projects back into the pixel it came from.
    int32_t px[2];
    EXPECT_EQ(OMBREL_engine_3D_point_to_2D(r.point, px), 0);
    EXPECT_EQ(px[0], 35);
    EXPECT_EQ(px[1], 20);

    // Out pointers may be null.
    EXPECT_EQ(OMBREL_engine_2D_point_to_3D(32, 24, nullptr, nullptr, nullptr), 0);
}

TEST_F(PickingTest, BackFacesAreNotHit) {
    // Seen from above these points run anticlockwise: the visible side faces down.
    makePolygon(group, {{-2, -2, 0}, {2, -2, 0}, {2, 2, 0}, {-2, 2, 0}});
    EXPECT_EQ(pick(32, 24).code, -1);
    int32_t below = makeSquareFacingUp(group, 0, 0, -1, 4);
    Result r = pick(32, 24);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.polygon, below);  // seen through the back face
}

TEST_F(PickingTest, NearestHitBeyondTheNearDistanceWins) {
    int32_t low = makeSquareFacingUp(group, 0, 0, 0, 4);
    int32_t high = makeSquareFacingUp(group, 0, 0, 5, 4);
    EXPECT_EQ(pick(32, 24).polygon, high);
    OMBREL_camera_set_distance_from_eye(camera, 6);  // the high square is now too near
    EXPECT_EQ(pick(32, 24).polygon, low);
    OMBREL_camera_set_distance_from_eye(camera, 10.5);
    EXPECT_EQ(pick(32, 24).code, -1);
}

TEST_F(PickingTest, OnlyDrawablePolygonsAreHit) {
    int32_t other = OMBREL_group_create("other");
    int32_t mine = makeSquareFacingUp(group, 0, 0, 0, 4);
    int32_t above = makeSquareFacingUp(other, 0, 0, 1, 4);
    EXPECT_EQ(pick(32, 24).polygon, above);

    // A render group limits picking to its subtree.
    ASSERT_EQ(OMBREL_engine_set_group_to_render(group), 0);
    EXPECT_EQ(pick(32, 24).polygon, mine);
    EXPECT_EQ(OMBREL_engine_set_group_to_render(above), -1);  // not a group: unchanged
    EXPECT_EQ(pick(32, 24).polygon, mine);
    ASSERT_EQ(OMBREL_engine_set_group_to_render(0), 0);
    EXPECT_EQ(pick(32, 24).polygon, above);

    // A polygon never added to the world, or without a group, is not there.
    int32_t loose = OMBREL_polygon_create();
    for (P3 c : {P3{-2, -2, 2}, P3{-2, 2, 2}, P3{2, 2, 2}, P3{2, -2, 2}}) {
        double rec[6] = {c[0], c[1], c[2], 0, 0, 100};
        OMBREL_polygon_add_point(loose, rec);
    }
    OMBREL_polygon_set_group(loose, group);
    EXPECT_EQ(pick(32, 24).polygon, above);
    int32_t groupless = makeSquareFacingUp(0, 0, 0, 3, 4);
    EXPECT_NE(groupless, 0);
    EXPECT_EQ(pick(32, 24).polygon, above);
}

TEST_F(PickingTest, EditsAreSeenAtTheNextPick) {
    int32_t first = makeSquareFacingUp(group, 0, 0, 0, 4);
    EXPECT_EQ(pick(32, 24).polygon, first);
    // A polygon added later to the same group, above the first.
    int32_t later = makeSquareFacingUp(group, 0, 0, 2, 1);
    EXPECT_EQ(pick(32, 24).polygon, later);
    // Moving it to another group keeps it pickable there.
    int32_t other = OMBREL_group_create("other");
    OMBREL_polygon_set_group(later, other);
    Result r = pick(32, 24);
    EXPECT_EQ(r.polygon, later);
    EXPECT_EQ(r.group, other);
}

TEST_F(PickingTest, ManyPolygonsInOneGroup) {
    // A 60 x 60 grid of unit tiles: the hierarchy must find the one under the pixel.
    std::vector<int32_t> tiles;
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j) tiles.push_back(makeSquareFacingUp(group, i - 29.5, j - 29.5, 0, 1));
    struct Case {
        int32_t x, y, i, j;
    } cases[] = {{32, 24, 30, 29}, {0, 0, 20, 37}, {63, 47, 39, 22}, {10, 40, 23, 24}};
    for (auto c : cases) {
        Result r = pick(c.x, c.y);
        ASSERT_EQ(r.code, 0);
        EXPECT_EQ(r.polygon, tiles[c.i * 60 + c.j]) << c.x << "," << c.y;
    }
}

}  // namespace
