// Neighbouring polygons of a group share the corners where all they draw is the
// same, and only those: each of two neighbours keeps its own colour, shade,
// picture and light right up to the edge between them.
#include "bmp_writer.h"
#include "render_fixture.h"

#include <functional>
#include <vector>

namespace {

class RenderSharedCornersTest : public RenderTest {
protected:
    TempFolder dir;

    // A strip from x0 to x1 across y -3..3, at height z0 along its x0 edge and z1
    // along its x1 edge, every corner with texture coordinates (u, 0.5) and the
    // brightness given; it faces up.
    int32_t strip(double x0, double z0, double x1, double z1, double u = 0, double brightness = 100) {
        const int32_t p = OMBREL_polygon_create();
        const double recs[4][6] = {{x0, -3, z0, u, 0.5, brightness},
                                   {x0, 3, z0, u, 0.5, brightness},
                                   {x1, 3, z1, u, 0.5, brightness},
                                   {x1, -3, z1, u, 0.5, brightness}};
        for (const auto& r : recs) OMBREL_polygon_add_point(p, r);
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        return p;
    }

    // The pixels over the left strip (x -6..0) and the right one (0..6), kept
    // a pixel or two inside their edges.
    ::testing::AssertionResult left(Rgb want, int tol = 3) const { return region(15, 18, 15, 13, want, tol); }
    ::testing::AssertionResult right(Rgb want, int tol = 3) const { return region(35, 18, 15, 13, want, tol); }
};

TEST_F(RenderSharedCornersTest, NeighboursThatDifferAtTheirCommonCornersKeepTheirOwnLook) {
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, halfRed{128, 0, 0};
    // Two texels: red on the left, blue on the right, each picked by u at its centre.
    const auto picturePath = dir.path() / "two.bmp";
    writeBmp24(picturePath, 2, 1, {{255, 0, 0}, {0, 0, 255}});
    const int32_t picture = OMBREL_bitmap_load(picturePath.c_str(), -1);
    ASSERT_NE(picture, 0) << OMBREL_ext_get_last_error();

    struct Case {
        const char* what;
        std::function<void()> make;
        Rgb left, right;
    } cases[] = {
        {"fill colour",
         [this] {
             OMBREL_polygon_set_color_fill(strip(-6, 0, 0, 0), 255, 0, 0);
             OMBREL_polygon_set_color_fill(strip(0, 0, 6, 0), 0, 255, 0);
         },
         red, green},
        {"corner brightness",
         [this] {
             OMBREL_polygon_set_color_fill(strip(-6, 0, 0, 0, 0, 100), 255, 0, 0);
             OMBREL_polygon_set_color_fill(strip(0, 0, 6, 0, 0, 50), 255, 0, 0);
         },
         red, halfRed},
        {"diminution",
         [this] {
             OMBREL_polygon_set_color_fill(strip(-6, 0, 0, 0), 255, 0, 0);
             const int32_t dim = strip(0, 0, 6, 0);
             OMBREL_polygon_set_color_fill(dim, 255, 0, 0);
             OMBREL_polygon_set_light_diminution(dim, 50);
         },
         red, halfRed},
        {"texture coordinates",
         [this, picture] {
             OMBREL_polygon_set_bitmap_fill(strip(-6, 0, 0, 0, 0.25), picture);
             OMBREL_polygon_set_bitmap_fill(strip(0, 0, 6, 0, 0.75), picture);
         },
         red, blue},
        {"the same throughout",
         [this] {
             OMBREL_polygon_set_color_fill(strip(-6, 0, 0, 0), 0, 0, 255);
             OMBREL_polygon_set_color_fill(strip(0, 0, 6, 0), 0, 0, 255);
         },
         blue, blue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        render();
        EXPECT_TRUE(left(c.left));
        EXPECT_TRUE(right(c.right));
        EXPECT_TRUE(region(0, 0, 6, 6, {0, 0, 0})) << "nothing beyond the strips";
        while (const int32_t p = OMBREL_group_get_first_polygon(group)) OMBREL_polygon_delete(p);
    }
}

// A ridge under a slanting sun: the two slopes meet at the same corners with
// the same colour, but each is lit by its own facing, evenly, up to the ridge.
TEST_F(RenderSharedCornersTest, SlopesMeetingAtARidgeAreEachLitByTheirOwnFacing) {
    OMBREL_light_calcualte_vertices_normals_automatically(0);  // each polygon its own normal, as by default
    const int32_t sunward = strip(-6, 0, 0, 2), away = strip(0, 2, 6, 0);
    for (int32_t p : {sunward, away}) OMBREL_polygon_set_color_fill(p, 255, 255, 255);
    makeSun(1, 0, -1, 0.1, 0.8);
    render();
    const Rgb lit = at(22, 24), shaded = at(42, 24);
    EXPECT_GT(lit.r, shaded.r + 40) << "the slope facing the sun is the brighter";
    EXPECT_TRUE(left(lit, 2)) << "evenly, up to the ridge";
    EXPECT_TRUE(right(shaded, 2)) << "evenly, up to the ridge";
}

}  // namespace
