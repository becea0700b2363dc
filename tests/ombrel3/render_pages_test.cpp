// Small meshes drawn from shared pages give the image that meshes with buffers of
// their own give: pictures and plain fills side by side, squares of different
// groups lying on one another (the first drawn shows), groups moved and turned,
// translucent polygons among them, and meshes sent out of a page reused while
// the frame was being made.
#include "bmp_writer.h"
#include "render_fixture.h"

#include "../support/EnvVariable.h"

#include <string>
#include <vector>

namespace {

class RenderPagesTest : public RenderTest {
protected:
    TempFolder dir;

    std::vector<Rgb> picture() const {
        std::vector<Rgb> out;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) out.push_back(at(x, y));
        return out;
    }

    // The image drawn with meshes in pages, or each with its own buffers.
    std::vector<Rgb> renderedWith(const char* pages) {
        const EnvVariable way("OMBREL_MESH_PAGES", pages);
        render();
        return picture();
    }

    // A textured square of its own group under root.
    int32_t squareGroup(int32_t root, double cx, double cy, double z, double size) {
        const int32_t g = OMBREL_group_create("square");
        OMBREL_group_set_father_group(g, root);
        const int32_t p = makeSquareFacingUp(g, cx, cy, z, size);
        int k = 0;
        const double uvs[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
        for (int32_t pt = OMBREL_polygon_get_first_point(p); pt; pt = OMBREL_point_get_next_point(pt), ++k)
            OMBREL_point_set_bitmap_xy(pt, p, uvs[k]);
        return g;
    }
};

::testing::AssertionResult same(const std::vector<Rgb>& a, const std::vector<Rgb>& b, int width) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b)
            return ::testing::AssertionFailure() << "pixel (" << i % width << ", " << i / width << ") is " << a[i]
                                                 << " in pages and " << b[i] << " alone";
    return ::testing::AssertionSuccess();
}

TEST_F(RenderPagesTest, ManySmallGroupsDrawAsTheyDoWithBuffersOfTheirOwn) {
    const std::vector<TestRgb> checker = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    writeBmp24(dir.path() / "checker.bmp", 2, 2, checker);
    const int32_t bitmap = OMBREL_bitmap_load((dir.path() / "checker.bmp").c_str(), -1);
    ASSERT_NE(bitmap, 0) << OMBREL_ext_get_last_error();
    const int32_t root = OMBREL_group_create("root");
    OMBREL_group_set_father_group(group, root);
    std::vector<int32_t> groups;
    // A grid of squares, every third textured; each column's squares overlap the
    // next column's on one plane, so that which is drawn first shows.
    for (int i = 0; i < 48; ++i) {
        const int32_t g = squareGroup(root, -9 + (i % 8) * 2.4, -6 + (i / 8) * 2.2, 0, 3);
        const int32_t p = OMBREL_group_get_first_polygon(g);
        if (i % 3 == 0)
            OMBREL_polygon_set_bitmap_fill(p, bitmap);
        else
            OMBREL_polygon_set_color_fill(p, 40 * (i % 6), 255 - 5 * i, 120);
        groups.push_back(g);
    }
    // Translucent squares above some of them, drawn after the opaque ones.
    for (int i = 0; i < 3; ++i) {
        const int32_t g = squareGroup(root, -6 + i * 5, 0, 1, 4);
        const int32_t p = OMBREL_group_get_first_polygon(g);
        OMBREL_polygon_set_color_fill(p, 255, 255, 255);
        OMBREL_polygon_set_translucent(p, 0x52);
    }
    // One group large enough to have buffers of its own, among the paged ones.
    const int32_t large = OMBREL_group_create("large");
    OMBREL_group_set_father_group(large, root);
    for (int i = 0; i < 3000; ++i)
        OMBREL_polygon_set_color_fill(makeSquareFacingUp(large, 6 + (i % 60) * 0.05, -7 + (i / 60) * 0.05, 0.5, 0.05),
                                      200, 100, 0);

    const struct {
        const char* after;
        void (*edit)(const std::vector<int32_t>&);
    } steps[] = {
        {"the first render", [](const std::vector<int32_t>&) {}},
        {"moving and turning groups",
         [](const std::vector<int32_t>& gs) {
             for (std::size_t i = 0; i < gs.size(); i += 5) {
                 const double by[3] = {0.3 * static_cast<double>(i % 3), -0.2, 0};
                 OMBREL_group_move(gs[i], by, 0);
                 OMBREL_group_rotate(gs[i + 1], 17.0 * static_cast<double>(i), 0, 2);
             }
         }},
        {"changing fills",
         [](const std::vector<int32_t>& gs) {
             for (std::size_t i = 1; i < gs.size(); i += 4)
                 OMBREL_polygon_set_color_fill(OMBREL_group_get_first_polygon(gs[i]), 10, 20, 250);
         }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.after);
        step.edit(groups);
        const std::vector<Rgb> paged = renderedWith(nullptr), alone = renderedWith("0");
        EXPECT_TRUE(same(paged, alone, kWidth));
        int lit = 0;
        for (const Rgb& c : paged) lit += c.r + c.g + c.b > 0;
        EXPECT_GT(lit, kWidth * kHeight / 2) << "the squares cover most of the view";
    }
}

// A mesh of about a seventh of a page built again and again fills its page with
// copies given up, until the page is reused and the two small groups drawn before
// it in the frame are sent out and built again: they still show, every time.
TEST_F(RenderPagesTest, MeshesSentOutOfAReusedPageStillShow) {
    const int32_t root = OMBREL_group_create("root");
    OMBREL_group_set_father_group(group, root);
    const int32_t left = squareGroup(root, -7, 0, 0, 4), right = squareGroup(root, -2, 0, 0, 4);
    OMBREL_polygon_set_color_fill(OMBREL_group_get_first_polygon(left), 255, 0, 0);
    OMBREL_polygon_set_color_fill(OMBREL_group_get_first_polygon(right), 0, 255, 0);
    const int32_t busy = OMBREL_group_create("busy");
    OMBREL_group_set_father_group(busy, root);
    // 1,900 quads: 7,600 vertices and 11,400 indices, if each quad has its own four.
    for (int i = 0; i < 1900; ++i) makeSquareFacingUp(busy, 2 + (i % 50) * 0.14, -3 + (i / 50) * 0.14, 0, 0.14);
    const int32_t first = OMBREL_group_get_first_polygon(busy);

    std::vector<Rgb> want[2];
    for (int colour = 0; colour < 2; ++colour) {
        OMBREL_polygon_set_color_fill(first, 0, 0, colour ? 255 : 128);
        want[colour] = renderedWith("0");
    }
    for (int edit = 0; edit < 24; ++edit) {
        SCOPED_TRACE(edit);
        OMBREL_polygon_set_color_fill(first, 0, 0, edit % 2 ? 255 : 128);
        ASSERT_TRUE(same(renderedWith(nullptr), want[edit % 2], kWidth));
    }
    EXPECT_TRUE(region(6, 22, 8, 4, {255, 0, 0}));
    EXPECT_TRUE(region(22, 22, 8, 4, {0, 255, 0}));
}

}  // namespace
