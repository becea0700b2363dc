// The rendered image: coverage, visible sides, render groups, clearing, presenting.
#include "bmp_writer.h"
#include "render_fixture.h"

#include <algorithm>

#include <vector>

namespace {

const Rgb kBlack{0, 0, 0}, kGrey{192, 192, 192};

TEST_F(RenderTest, SquareFillsTheCentre) {
    makeSquareFacingUp(group, 0, 0, 0, 8);  // 8 units at depth 10: 25.6 pixels wide
    render();
    EXPECT_TRUE(region(22, 14, 20, 20, kGrey));
    EXPECT_TRUE(region(0, 0, 8, 8, kBlack));
    EXPECT_TRUE(region(56, 40, 8, 8, kBlack));
    // Alpha is always opaque.
    uint8_t* px = nullptr;
    OMBREL_ext_surface_get_pixels(surface, &px, nullptr, nullptr, nullptr);
    EXPECT_EQ(px[3], 255);
    EXPECT_EQ(px[(24 * kWidth + 32) * 4 + 3], 255);
}

TEST_F(RenderTest, BackFaceIsNotDrawn) {
    // Anticlockwise from above: the visible side faces down, away from the camera.
    makePolygon(group, {{-4, -4, 1}, {4, -4, 1}, {4, 4, 1}, {-4, 4, 1}});
    render();
    EXPECT_TRUE(region(0, 0, kWidth, kHeight, kBlack));
    // A square below it shows through.
    makeSquareFacingUp(group, 0, 0, 0, 8);
    render();
    EXPECT_TRUE(region(26, 18, 12, 12, kGrey));
}

TEST_F(RenderTest, NearPlaneAndFarGeometry) {
    makeSquareFacingUp(group, -0.5, 0, 8.5, 1);     // at depth 1.5: pixels 10..32 across
    makeSquareFacingUp(group, 2e4, 0, -1e5, 4e4);  // at depth 1e5: pixels 32..44, no far plane
    OMBREL_camera_set_distance_from_eye(camera, 1);
    render();
    EXPECT_TRUE(region(12, 16, 18, 16, kGrey));
    EXPECT_TRUE(region(34, 20, 9, 8, kGrey));
    OMBREL_camera_set_distance_from_eye(camera, 2);  // the near square is now too near
    render();
    EXPECT_TRUE(region(12, 16, 18, 16, kBlack));
    EXPECT_TRUE(region(34, 20, 9, 8, kGrey));
}

// A ground far wider than the eye's height above it, where float vertices would
// land pixels off their place (or nowhere), looks exactly as the same ground of
// ordinary size does: its picture, its lighting and the near plane cutting it
// included. (The light is a sun: lighting is worked out at the corners, so a
// lamp's would depend on where the ground's corners are.)
TEST_F(RenderTest, AGroundFarWiderThanTheEyesHeightLooksAsAnOrdinaryGround) {
    TempFolder dir;
    const auto path = dir.path() / "checker.bmp";
    writeBmp24(path, 2, 2, {{220, 40, 40}, {40, 40, 220}, {40, 40, 220}, {220, 40, 40}});
    const int32_t checker = OMBREL_bitmap_load(path.c_str(), -1);
    ASSERT_NE(checker, 0);
    const int32_t sun = makeSun(0.3, 0.2, -1, 0.2, 0.5);
    OMBREL_camera_set_location(camera, 0, 0, 3);
    OMBREL_camera_set_direction(camera, 1, 0.3, -1.2);
    OMBREL_camera_set_zoom(camera, 70);
    OMBREL_camera_set_distance_from_eye(camera, 0.5);
    std::vector<Rgb> ordinary;
    for (double size : {200.0, 2e8}) {
        SCOPED_TRACE(size);
        const int32_t ground = OMBREL_group_create("ground");
        const double h = size / 2;
        const int32_t p = OMBREL_polygon_create();
        for (P3 q : {P3{-h, -h, 0}, P3{-h, h, 0}, P3{h, h, 0}, P3{h, -h, 0}}) {
            double rec[6] = {q[0], q[1], q[2], q[0] / 4, q[1] / 4, 100};  // a checker square every 2 units
            OMBREL_polygon_add_point(p, rec);
        }
        OMBREL_polygon_set_group(p, ground);
        OMBREL_engine_add_polygon(p);
        OMBREL_polygon_set_bitmap_fill(p, checker);
        render();  // the sun lights every polygon of the world
        ASSERT_EQ(OMBREL_ext_polygon_is_lit_by(p, sun), 1);
        std::vector<Rgb> image;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) image.push_back(at(x, y));
        OMBREL_group_disable(ground, 1);
        if (ordinary.empty()) {
            ordinary = image;
            EXPECT_FALSE(near(at(32, 24), kBlack, 20));
            continue;
        }
        // Pixels on a square's edge may fall either way.
        auto edge = [&](int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = std::clamp(x + dx, 0, kWidth - 1), ny = std::clamp(y + dy, 0, kHeight - 1);
                    if (!near(ordinary[ny * kWidth + nx], ordinary[y * kWidth + x], 30)) return true;
                }
            return false;
        };
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Rgb want = ordinary[y * kWidth + x], seen = image[y * kWidth + x];
                if (near(seen, want, 8) || edge(x, y)) continue;
                if (differing++ == 0) ADD_FAILURE() << "pixel " << x << ", " << y << " is " << seen << ", not " << want;
            }
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(RenderTest, RenderGroupShowsOnlyItsSubtree) {
    int32_t other = OMBREL_group_create("other");
    makeSquareFacingUp(group, -5, 0, 0, 4);
    makeSquareFacingUp(other, 5, 0, 0, 4);
    ASSERT_EQ(OMBREL_engine_set_group_to_render(other), 0);
    render();
    EXPECT_TRUE(region(13, 21, 6, 6, kBlack));
    EXPECT_TRUE(region(45, 21, 6, 6, kGrey));
    OMBREL_engine_set_group_to_render(0);
    render();
    EXPECT_TRUE(region(13, 21, 6, 6, kGrey));
}

TEST_F(RenderTest, EditsShowAtTheNextRender) {
    int32_t first = makeSquareFacingUp(group, -5, 0, 0, 4);
    render();
    EXPECT_TRUE(region(13, 21, 6, 6, kGrey));
    // Another polygon joins the group: its mesh must be rebuilt.
    makeSquareFacingUp(group, 5, 0, 0, 4);
    render();
    EXPECT_TRUE(region(45, 21, 6, 6, kGrey));
    // The first leaves the group for one outside the world tree, still drawn there.
    int32_t other = OMBREL_group_create("other");
    OMBREL_polygon_set_group(first, other);
    render();
    EXPECT_TRUE(region(13, 21, 6, 6, kGrey));
    OMBREL_polygon_set_group(first, 0);
    render();
    EXPECT_TRUE(region(13, 21, 6, 6, kBlack));
}

// Projected corners fall on the border of the drawn pixels, and picking the
// centre pixel of each drawn polygon returns that polygon.
TEST_F(RenderTest, ImageProjectionAndPickingAgree) {
    // A tilted view of a few polygons at different depths.
    OMBREL_camera_set_location(camera, -3, -14, 9);
    OMBREL_camera_set_direction(camera, 0.2, 1, -0.7);
    OMBREL_camera_set_zoom(camera, 70);
    OMBREL_camera_set_distance_from_eye(camera, 0.5);
    const std::vector<std::vector<P3>> shapes = {
        {{-3.5, -1.5, 0}, {-3.5, 1.5, 0}, {-0.5, 1.5, 0}, {-0.5, -1.5, 0}},
        {{1.25, -0.25, 0.5}, {1.25, 2.25, 0.5}, {3.75, 2.25, 0.5}, {3.75, -0.25, 0.5}},
        {{-1, 4, 0}, {-1, 4, 3}, {2, 4, 3}, {3, 4, 0}},  // upright, facing the camera
        {{-1, -6, 0}, {-1, -2, 0}, {0, -2, 0}, {0, -5, 0}, {1.5, -5, 0}, {1.5, -6, 0}},  // an L: not convex
    };
    std::vector<int32_t> polys;
    for (const auto& shape : shapes) {
        int32_t p = OMBREL_polygon_create();
        for (const P3& c : shape) {
            double rec[6] = {c[0], c[1], c[2], 0, 0, 100};
            OMBREL_polygon_add_point(p, rec);
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        polys.push_back(p);
    }
    render();
    ASSERT_EQ(OMBREL_camera_get_current(), camera);
    for (std::size_t k = 0; k < polys.size(); ++k) {
        int32_t poly = polys[k];
        SCOPED_TRACE(k);
        // The pixels where this polygon is the nearest hit.
        long sx = 0, sy = 0, count = 0;
        std::vector<std::array<int32_t, 2>> mine;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                int32_t hit = 0;
                double pt[3];
                if (OMBREL_engine_2D_point_to_3D(x, y, pt, nullptr, &hit) == 0 && hit == poly) {
                    mine.push_back({x, y});
                    sx += x;
                    sy += y;
                    ++count;
                    EXPECT_FALSE(near(at(x, y), kBlack, 20)) << "picked pixel " << x << "," << y << " not drawn";
                }
            }
        ASSERT_GT(count, 10);
        int32_t cx = static_cast<int32_t>(sx / count), cy = static_cast<int32_t>(sy / count);
        int32_t hit = 0;
        ASSERT_EQ(OMBREL_engine_2D_point_to_3D(cx, cy, nullptr, nullptr, &hit), 0);
        EXPECT_EQ(hit, poly);
        // Each visible projected corner lies within one pixel of a drawn pixel of the polygon.
        for (const P3& corner : shapes[k]) {
            int32_t px[2];
            if (OMBREL_engine_3D_point_to_2D(corner.data(), px) != 0) continue;
            bool close = false;
            for (auto& m : mine) close = close || (std::abs(m[0] - px[0]) <= 1 && std::abs(m[1] - px[1]) <= 1);
            EXPECT_TRUE(close) << "corner " << corner[0] << "," << corner[1] << "," << corner[2] << " at " << px[0]
                               << "," << px[1];
        }
    }
}

TEST_F(RenderTest, InvalidCameraClearsAndStillReturnsTheSurface) {
    makeSquareFacingUp(group, 0, 0, 0, 8);
    render();
    OMBREL_ext_set_clear_color(10, 20, 30);
    int32_t gone = OMBREL_camera_create("gone");
    OMBREL_camera_delete(gone);
    EXPECT_EQ(OMBREL_engine_render_on_dc(surface, gone), surface);
    EXPECT_TRUE(region(0, 0, kWidth, kHeight, {10, 20, 30}, 0));
    EXPECT_EQ(OMBREL_engine_render_on_dc(gone, camera), 0);  // not a surface
}

void presentInto(int32_t s, void* user) { static_cast<std::vector<int32_t>*>(user)->push_back(s); }

TEST_F(RenderTest, PresentingHandsOverTheLastRenderedSurface) {
    std::vector<int32_t> presented;
    OMBREL_ext_set_present_callback(presentInto, &presented);
    EXPECT_EQ(OMBREL_engine_copy_image_from_dc_to_screen(), -1);
    render();
    EXPECT_EQ(OMBREL_engine_copy_image_from_dc_to_screen(), 0);
    EXPECT_EQ(presented, std::vector<int32_t>{surface});
    OMBREL_ext_set_present_callback(nullptr, nullptr);
}

TEST_F(RenderTest, PreviewPictureLeavesTheCurrentViewAlone) {
    makeSquareFacingUp(group, 0, 0, 0, 8);
    int32_t active = OMBREL_camera_create("active");
    int32_t view = OMBREL_ext_surface_create(16, 16);
    OMBREL_camera_set_current(active, view);

    int32_t first = OMBREL_engine_render_on_bitmap(surface, camera);
    ASSERT_NE(first, 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(first), OMBREL_KIND_PICTURE);
    EXPECT_EQ(OMBREL_camera_get_current(), active);
    int32_t second = OMBREL_engine_render_on_bitmap(surface, camera);
    ASSERT_NE(second, 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(first), OMBREL_KIND_NONE);  // released by the next one

    // The picture holds the image: drawn onto a surface it shows the square.
    ASSERT_EQ(OMBREL_utilities_copy_bitmap_on_dc(view, second, 0, 0, 16, 16), 0);
    uint8_t* px = nullptr;
    int32_t stride = 0;
    OMBREL_ext_surface_get_pixels(view, &px, nullptr, nullptr, &stride);
    EXPECT_TRUE(near({px[8 * stride + 32], px[8 * stride + 33], px[8 * stride + 34]}, kGrey, 3));
    EXPECT_TRUE(near({px[0], px[1], px[2]}, kBlack, 3));
    OMBREL_ext_surface_destroy(view);
}

}  // namespace
