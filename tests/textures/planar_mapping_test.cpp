// Planar mapping: the planes of each option, the scaling to the unit square, the
// averaged normal (its closest axis, the degenerate case), one record only when
// something changed, and an open editor showing the result and its Undo at once.
#include "texture_fixture.h"

#include "textures/PlanarMapping.h"

#include "undo/UndoRedoCommands.h"

#include <cmath>

namespace {

using P3 = std::array<double, 3>;

class PlanarMappingTest : public TextureFixture {
protected:
    void SetUp() override {
        TextureFixture::SetUp();
        group = newGroup("g");
        selectGroup(group);
    }

    // A polygon through the points, its coordinates all (0.3, 0.7).
    int32_t face(const std::vector<P3>& xyz) { return polygon(group, xyz, std::vector<UV>(xyz.size(), UV{0.3, 0.7})); }

    std::vector<UV> coordsOf(int32_t pol) {
        std::vector<UV> out;
        for (int32_t pt : pointsOf(pol)) out.push_back(uvOf(pt));
        return out;
    }

    static double length(const P3& a, const P3& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

    int32_t group = 0;
};

}  // namespace

TEST_F(PlanarMappingTest, EachAxisMeasuresItsPlaneAndTheLongerExtentRunsFromZeroToOne) {
    struct Case {
        const char* what;
        int32_t option;
        std::vector<P3> xyz;
        std::vector<UV> expected;
    };
    const std::vector<Case> cases = {
        {"square of side 2 in x = 5",
         textures::NormalX,
         {{5, 0, 0}, {5, 2, 0}, {5, 2, 2}, {5, 0, 2}},
         {{0, 1}, {1, 1}, {1, 0}, {0, 0}}},
        {"4 long in y, 2 in z",
         textures::NormalX,
         {{5, 0, 0}, {5, 4, 0}, {5, 4, 2}, {5, 0, 2}},
         {{0, 0.5}, {1, 0.5}, {1, 0}, {0, 0}}},
        {"Z: u from y, v from x",
         textures::NormalZ,
         {{0, 0, 0}, {2, 0, 0}, {2, 4, 0}, {0, 4, 0}},
         {{0, 0}, {0, 0.5}, {1, 0.5}, {1, 0}}},
        {"Y: u from x, v from -z",
         textures::NormalY,
         {{0, 3, 0}, {4, 3, 0}, {4, 3, 2}, {0, 3, 2}},
         {{0, 0.5}, {1, 0.5}, {1, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        const int32_t pol = face(c.xyz);
        selectPolygons({pol});
        textures::PlanarMapSelPols(c.option);
        EXPECT_EQ(coordsOf(pol), c.expected) << c.what;
        OMBREL_polygon_delete(pol);
    }
}

TEST_F(PlanarMappingTest, AveragedNormalsPicksTheClosestAxisWhicheverWayTheFacesLook) {
    // 4 long in x and 2 in y: along Z the v extent (from x) is the longer one.
    const std::vector<P3> up = {{0, 0, 0}, {4, 0, 0}, {4, 2, 0}, {0, 2, 0}};
    const std::vector<P3> down = {up[3], up[2], up[1], up[0]};
    for (const auto& xyz : {up, down}) {
        const int32_t pol = face(xyz);
        double plane[4] = {0, 0, 0, 0};
        OMBREL_polygon_get_plane(pol, plane);
        ASSERT_NEAR(std::abs(plane[2]), 1, 1e-9);
        selectPolygons({pol});
        textures::PlanarMapSelPols(textures::AveragedNormals);
        double minU = 9, maxU = -9, minV = 9, maxV = -9;
        for (const UV& uv : coordsOf(pol)) {
            minU = std::min(minU, uv[0]);
            maxU = std::max(maxU, uv[0]);
            minV = std::min(minV, uv[1]);
            maxV = std::max(maxV, uv[1]);
        }
        EXPECT_NEAR(minU, 0, 1e-12);
        EXPECT_NEAR(maxU, 0.5, 1e-12);
        EXPECT_NEAR(minV, 0, 1e-12);
        EXPECT_NEAR(maxV, 1, 1e-12);
        OMBREL_polygon_delete(pol);
    }
}

TEST_F(PlanarMappingTest, AFaceWhoseNormalComponentsAddUpToZeroKeepsItsShape) {
    // Normal (1, -1, 0) / sqrt 2: the coordinates are measured in the face itself,
    // so every distance within it keeps its proportion.
    const std::vector<P3> xyz = {{0, 0, 0}, {1, 1, 0}, {1, 1, 2}, {0, 0, 2}, {0.5, 0.5, 3}};
    const int32_t pol = face(xyz);
    selectPolygons({pol});
    textures::PlanarMapSelPols(textures::AveragedNormals);
    const std::vector<UV> uv = coordsOf(pol);
    ASSERT_EQ(uv.size(), xyz.size());
    const double k = std::hypot(uv[0][0] - uv[1][0], uv[0][1] - uv[1][1]) / length(xyz[0], xyz[1]);
    ASSERT_GT(k, 0);
    for (std::size_t i = 0; i < xyz.size(); ++i)
        for (std::size_t j = i + 1; j < xyz.size(); ++j)
            EXPECT_NEAR(std::hypot(uv[i][0] - uv[j][0], uv[i][1] - uv[j][1]), k * length(xyz[i], xyz[j]), 1e-12)
                << i << "-" << j;
}

TEST_F(PlanarMappingTest, OppositeFacesGiveNoNormalAndAreMappedAlongX) {
    const std::vector<P3> a = {{0, 0, 0}, {0, 2, 0}, {0, 2, 1}, {0, 0, 1}};
    const int32_t front = face(a), back = face({a[3], a[2], a[1], a[0]});
    selectPolygons({front, back});
    textures::PlanarMapSelPols(textures::AveragedNormals);
    // As "X": u from y, v from -z.
    EXPECT_EQ(coordsOf(front), (std::vector<UV>{{0, 0.5}, {1, 0.5}, {1, 0}, {0, 0}}));
    EXPECT_EQ(coordsOf(back), (std::vector<UV>{{0, 0}, {1, 0}, {1, 0.5}, {0, 0.5}}));
}

TEST_F(PlanarMappingTest, PointsInOnePlaceAllGetTheCornerAndOneRecord) {
    const int32_t pol = face({{1, 1, 1}, {1, 1, 1}, {1, 1, 1}});
    selectPolygons({pol});
    ActionUndoRedo* before = newest();
    textures::PlanarMapSelPols(textures::NormalX);
    EXPECT_EQ(coordsOf(pol), (std::vector<UV>{{0, 0}, {0, 0}, {0, 0}}));
    ASSERT_NE(newest(), before);
    EXPECT_EQ(newest()->ActionType, ActChngTextureCoords);
    undo::UndoCommand();
    EXPECT_EQ(coordsOf(pol), (std::vector<UV>(3, UV{0.3, 0.7})));
}

TEST_F(PlanarMappingTest, NoSelectedPolygonOrNoChangeLeavesTheHistoryAlone) {
    const int32_t pol = face({{5, 0, 0}, {5, 2, 0}, {5, 2, 2}, {5, 0, 2}});
    selectPolygons({pol});
    textures::PlanarMapSelPols(textures::NormalX);
    ActionUndoRedo* mapped = newest();
    ASSERT_NE(mapped, nullptr);

    // Mapping again gives the same coordinates: nothing to record.
    textures::PlanarMapSelPols(textures::NormalX);
    EXPECT_EQ(newest(), mapped);
    selectPolygons({});
    window.calls.clear();
    textures::PlanarMapSelPols(textures::AveragedNormals);
    EXPECT_EQ(newest(), mapped);
    EXPECT_TRUE(window.calls.empty());
    // The older record is still the one Undo takes.
    undo::UndoCommand();
    EXPECT_EQ(coordsOf(pol), (std::vector<UV>(4, UV{0.3, 0.7})));
}

TEST_F(PlanarMappingTest, AnOpenEditorShowsTheMappingAndItsUndoAtOnce) {
    const int32_t pol = face({{0, 0, 0}, {0, 4, 0}, {0, 4, 4}, {0, 0, 4}});
    selectPolygons({pol});
    frmTextureMapping& e = open();
    const std::vector<int32_t> pts = pointsOf(pol);
    e.TexSel.Append(pts[0], pol);
    // Before: every corner at (0.3, 0.7); the top-left corner of the texture is empty.
    const auto old = pixelOf({0.3, 0.7});
    const auto corner = pixelOf({0, 0});
    auto whiteAt = [&](std::pair<double, double> p) {
        return pixel(static_cast<int>(std::lround(p.first)) - 2, static_cast<int>(std::lround(p.second))) == 0xFFFFFFu;
    };
    ASSERT_TRUE(whiteAt(old));
    ASSERT_FALSE(whiteAt(corner));

    textures::PlanarMapSelPols(textures::NormalX);
    EXPECT_EQ(e.TexSel.Count, 0);
    EXPECT_TRUE(whiteAt(corner));
    EXPECT_FALSE(whiteAt(old));
    undo::UndoCommand();
    EXPECT_TRUE(whiteAt(old));
    EXPECT_FALSE(whiteAt(corner));

    // Closed, Redo writes the coordinates and leaves the window alone.
    e.close();
    ASSERT_FALSE(e.Loaded);
    undo::RedoCommand();
    EXPECT_EQ(coordsOf(pol), (std::vector<UV>{{0, 1}, {1, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(pixel(5, 5), 0u);
}
