// Views rendered in one call look exactly as each rendered alone, whatever the
// views share or do not: groups first seen by a later view, a ground that a later
// view draws cut in double, fog over every group, moves between calls; refused
// calls render nothing; the engine is left as after the last view.
#include "render_fixture.h"

#include "ombrel_views.h"

#include <array>
#include <string>
#include <vector>

namespace {

class RenderViewsTest : public RenderTest {
protected:
    static constexpr int kViews = 4;

    void SetUp() override {
        RenderTest::SetUp();
        // Down from very high up, far to the right of the groups; down over the
        // right-hand groups only; straight down over the middle; slanting in from
        // far away on the left.
        cameras = {OMBREL_camera_create("high"), OMBREL_camera_create("right"), camera, OMBREL_camera_create("far")};
        OMBREL_camera_set_location(cameras[0], 3e6, 0, 1e6);
        OMBREL_camera_set_direction(cameras[0], 0, 0, -1);
        OMBREL_camera_set_location(cameras[1], 14, 0, 6);
        OMBREL_camera_set_direction(cameras[1], 0, 0, -1);
        OMBREL_camera_set_zoom(cameras[1], 60);
        OMBREL_camera_set_location(cameras[3], -60, -20, 25);
        OMBREL_camera_set_direction(cameras[3], 60, 20, -25);
        OMBREL_camera_set_zoom(cameras[3], 40);
        for (int32_t& s : surfaces) s = OMBREL_ext_surface_create(kWidth, kHeight);
    }
    void TearDown() override {
        for (int32_t s : surfaces) OMBREL_ext_surface_destroy(s);
        RenderTest::TearDown();
    }

    static std::vector<uint8_t> pixelsOf(int32_t s) {
        uint8_t* px = nullptr;
        int32_t w = 0, h = 0, stride = 0;
        OMBREL_ext_surface_get_pixels(s, &px, &w, &h, &stride);
        return {px, px + static_cast<std::ptrdiff_t>(h) * stride};
    }

    std::array<int32_t, kViews> cameras{}, surfaces{};
};

::testing::AssertionResult samePixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return ::testing::AssertionFailure() << "byte " << i << " is " << int(a[i]) << " at once and "
                                                 << int(b[i]) << " alone";
    return a.size() == b.size() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "sizes differ";
}

TEST_F(RenderViewsTest, ViewsAtOnceLookAsEachRenderedAlone) {
    // Rows of small groups across both views, some only right of the first view.
    std::vector<int32_t> groups;
    for (int i = 0; i < 30; ++i) {
        const int32_t g = OMBREL_group_create("square");
        const int32_t p = makeSquareFacingUp(g, -12 + (i % 10) * 3.2, -6 + (i / 10) * 4.0, 0, 2.5);
        OMBREL_polygon_set_color_fill(p, 30 + 7 * i, 200 - 5 * i, 90);
        groups.push_back(g);
    }
    const struct {
        const char* after;
        void (*edit)(const std::vector<int32_t>&);
    } steps[] = {
        {"the first render", [](const std::vector<int32_t>&) {}},
        {"groups moved and turned",
         [](const std::vector<int32_t>& gs) {
             for (std::size_t i = 0; i + 1 < gs.size(); i += 4) {
                 const double by[3] = {1.5, -0.5, 0.25};
                 OMBREL_group_move(gs[i], by, 0);
                 OMBREL_group_rotate(gs[i + 1], 30, 0, 2);
             }
         }},
        {"a fill changed", [](const std::vector<int32_t>& gs) {
             OMBREL_polygon_set_color_fill(OMBREL_group_get_first_polygon(gs[17]), 250, 250, 10);
         }},
        {"fog over every group",
         [](const std::vector<int32_t>&) {
             OMBREL_engine_set_atmospheric_effect(90, 90, 90);
             OMBREL_engine_set_atmospheric_effect_intensity(0.02);
         }},
        // The high view draws it in float, first; the others near it cut in double.
        {"a ground so wide that views near it draw it cut in double, the fog gone",
         [](const std::vector<int32_t>&) {
             OMBREL_engine_set_atmospheric_effect_intensity(0);
             const int32_t ground = OMBREL_group_create("ground");
             const int32_t p = makePolygon(ground, {{-1e6, -1e6, -1}, {-1e6, 1e6, -1}, {5e6, 1e6, -1}, {5e6, -1e6, -1}});
             OMBREL_polygon_set_color_fill(p, 60, 60, 200);
         }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.after);
        step.edit(groups);
        ASSERT_EQ(OMBREL_ext_render_views_on_dcs(kViews, surfaces.data(), cameras.data()), kViews);
        std::array<std::vector<uint8_t>, kViews> atOnce;
        for (int v = 0; v < kViews; ++v) atOnce[v] = pixelsOf(surfaces[v]);
        for (int v = 0; v < kViews; ++v) {
            SCOPED_TRACE(v);
            ASSERT_EQ(OMBREL_engine_render_on_dc(surface, cameras[v]), surface);
            EXPECT_TRUE(samePixels(atOnce[v], pixelsOf(surface)));
        }
        // The views near the groups saw different things: the test compares
        // pictures, not blanks.
        EXPECT_FALSE(samePixels(atOnce[1], atOnce[2]));
        EXPECT_FALSE(samePixels(atOnce[1], atOnce[3]));
        EXPECT_FALSE(samePixels(atOnce[2], atOnce[3]));
    }
}

// Two groups moved since they were built, one turned and one shifted, are sent
// out of a page that a busy group's rebuilds reuse within the walk, and are built
// again where they stand: they are drawn there, not moved a second time, in
// every view of the call.
TEST_F(RenderViewsTest, MovedMeshesBuiltAgainWithinTheWalkShowWhereTheyStand) {
    const int32_t left = OMBREL_group_create("left"), right = OMBREL_group_create("right");
    // A bar 6 units wide and 1.5 high at (-8, 0), and a square at (-3, 0).
    OMBREL_polygon_set_color_fill(makePolygon(left, {{-11, -0.75, 0}, {-11, 0.75, 0}, {-5, 0.75, 0}, {-5, -0.75, 0}}),
                                  255, 0, 0);
    OMBREL_polygon_set_color_fill(makeSquareFacingUp(right, -3, 0, 0, 3), 0, 255, 0);
    const int32_t busy = OMBREL_group_create("busy");
    // 1,900 quads: about a seventh of a page, given up at each rebuild.
    for (int i = 0; i < 1900; ++i) makeSquareFacingUp(busy, 3 + (i % 50) * 0.1, -3 + (i / 50) * 0.1, 0, 0.1);
    const int32_t first = OMBREL_group_get_first_polygon(busy);
    render();
    const double pivot[3] = {-8, 0, 0}, up[3] = {0, 4, 0};
    OMBREL_group_set_rotate_reference_point(left, pivot);
    OMBREL_group_rotate(left, 90, 0, 2);  // the bar stands upright
    OMBREL_group_move(right, up, 0);
    const std::array<int32_t, kViews> same = {camera, camera, camera, camera};
    for (int edit = 0; edit < 24; ++edit) {
        SCOPED_TRACE(edit);
        OMBREL_polygon_set_color_fill(first, 0, 0, edit % 2 ? 255 : 128);
        ASSERT_EQ(OMBREL_ext_render_views_on_dcs(kViews, surfaces.data(), same.data()), kViews);
        for (int v = 0; v < kViews; ++v) {
            SCOPED_TRACE(v);
            const std::vector<uint8_t> px = pixelsOf(surfaces[v]);
            auto colourAt = [&](int x, int y) {
                const uint8_t* p = &px[(static_cast<std::size_t>(y) * kWidth + x) * 4];
                return Rgb{p[0], p[1], p[2]};
            };
            // A unit is 3.2 pixels; (0, 0) is pixel (32, 24).
            EXPECT_TRUE(near(colourAt(6, 17), {255, 0, 0}, 3)) << "the bar's top: " << colourAt(6, 17);
            EXPECT_TRUE(near(colourAt(14, 24), {0, 0, 0}, 3)) << "the bar lying: " << colourAt(14, 24);
            EXPECT_TRUE(near(colourAt(22, 11), {0, 255, 0}, 3)) << "the square moved up: " << colourAt(22, 11);
            EXPECT_TRUE(near(colourAt(22, 0), {0, 0, 0}, 3)) << "the square moved twice: " << colourAt(22, 0);
        }
    }
}

void presentInto(int32_t s, void* user) { static_cast<std::vector<int32_t>*>(user)->push_back(s); }

TEST_F(RenderViewsTest, TheEngineIsLeftAsAfterTheLastViewAndEachViewCanBeShown) {
    makeSquareFacingUp(group, 0, 0, 0, 8);
    std::vector<int32_t> presented;
    OMBREL_ext_set_present_callback(presentInto, &presented);
    ASSERT_EQ(OMBREL_ext_render_views_on_dcs(kViews, surfaces.data(), cameras.data()), kViews);
    EXPECT_EQ(OMBREL_camera_get_current(), cameras[kViews - 1]);
    EXPECT_EQ(OMBREL_engine_copy_image_from_dc_to_screen(), 0);
    EXPECT_EQ(OMBREL_ext_copy_dc_to_screen(surfaces[0]), 0);
    EXPECT_EQ(presented, (std::vector<int32_t>{surfaces[kViews - 1], surfaces[0]}));
    EXPECT_EQ(OMBREL_ext_copy_dc_to_screen(cameras[0]), -1);  // not a surface
    EXPECT_EQ(OMBREL_ext_render_views_on_dcs(0, nullptr, nullptr), 0);
    OMBREL_ext_set_present_callback(nullptr, nullptr);
}

// A camera gone since the views were set up clears its view, as rendering it
// alone does; the others render, and the current camera is the last one left.
TEST_F(RenderViewsTest, AViewWhoseCameraIsGoneIsClearedAndTheOthersRender) {
    makeSquareFacingUp(group, 0, 0, 0, 8);
    OMBREL_ext_set_clear_color(10, 20, 30);
    const int32_t gone = OMBREL_camera_create("gone");
    OMBREL_camera_delete(gone);
    const std::array<int32_t, kViews> withGone = {camera, cameras[1], gone, camera};
    const std::array<int32_t, kViews> aloneFirst = {camera, cameras[1], camera, camera};
    ASSERT_EQ(OMBREL_ext_render_views_on_dcs(kViews, surfaces.data(), withGone.data()), kViews);
    EXPECT_EQ(OMBREL_camera_get_current(), camera);
    for (int v = 0; v < kViews; ++v) {
        SCOPED_TRACE(v);
        const std::vector<uint8_t> atOnce = pixelsOf(surfaces[v]);
        ASSERT_EQ(OMBREL_engine_render_on_dc(surface, withGone[v]), surface);
        EXPECT_TRUE(samePixels(atOnce, pixelsOf(surface)));
        ASSERT_EQ(OMBREL_engine_render_on_dc(surface, aloneFirst[v]), surface);
        EXPECT_EQ(samePixels(atOnce, pixelsOf(surface)), v != 2) << "only the view whose camera is gone is cleared";
    }
}

TEST_F(RenderViewsTest, ARefusedCallRendersNothing) {
    makeSquareFacingUp(group, 0, 0, 0, 8);
    const int32_t gone = OMBREL_ext_surface_create(kWidth, kHeight);
    OMBREL_ext_surface_destroy(gone);
    const std::array<int32_t, kViews> withGone = {surfaces[0], gone, surfaces[2], surfaces[3]};
    const struct {
        const char* what;
        int32_t count;
        const int32_t *windows, *cameras;
    } refused[] = {
        {"a count below 0", -1, surfaces.data(), cameras.data()},
        {"no windows", kViews, nullptr, cameras.data()},
        {"no cameras", kViews, surfaces.data(), nullptr},
        {"a window that is no surface", kViews, withGone.data(), cameras.data()},
    };
    const std::vector<uint8_t> untouched = pixelsOf(surfaces[0]);  // a new surface: alpha 0 everywhere
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(OMBREL_ext_render_views_on_dcs(r.count, r.windows, r.cameras), -1);
        EXPECT_NE(std::string(OMBREL_ext_get_last_error()), "");
        EXPECT_TRUE(samePixels(pixelsOf(surfaces[0]), untouched));
    }
    EXPECT_EQ(OMBREL_camera_get_current(), 0);
}

}  // namespace
