#include "core/BlendingFilters.h"
#include "core/FlipPolygons.h"
#include "core/GroupPolygonProcedures.h"
#include "core/WeldedPoints.h"
#include "core/WeldedPointsProcedures.h"

#include "selection_world.h"

#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace {

using namespace Globals;

struct PointData {
    P3 xyz;
    double uv[2];
    double brightness;
    bool operator==(const PointData& o) const {
        return xyz == o.xyz && uv[0] == o.uv[0] && uv[1] == o.uv[1] && brightness == o.brightness;
    }
};

class FlipPolygonsTest : public SelectionWorld {
protected:
    static std::vector<int32_t> pointsOf(int32_t polygon) {
        std::vector<int32_t> pts;
        for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt; pt = OMBREL_point_get_next_point(pt))
            pts.push_back(pt);
        return pts;
    }
    static std::vector<PointData> dataOf(int32_t polygon) {
        std::vector<PointData> out;
        for (int32_t pt : pointsOf(polygon)) {
            PointData d{};
            OMBREL_point_get_xyz(pt, d.xyz.data());
            OMBREL_point_get_bitmap_xy(pt, d.uv);
            d.brightness = OMBREL_point_get_brightness(pt);
            out.push_back(d);
        }
        return out;
    }
    // Every point with its own uv and brightness, so a mix-up shows.
    static int32_t polygon(int32_t group, const std::vector<P3>& corners) {
        const int32_t p = OMBREL_polygon_create();
        double k = 0;
        for (const P3& c : corners) {
            const double rec[6] = {c[0], c[1], c[2], 0.1 * k, 0.2 + k, 10 * k + 5};
            OMBREL_polygon_add_point(p, rec);
            ++k;
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        return p;
    }
    static void select(std::initializer_list<int32_t> pols) {
        NumSelPols = 0;
        for (int32_t p : pols) SelPols[++NumSelPols] = p;
    }
    // The table as lists of points, entry by entry.
    static std::vector<std::vector<int32_t>> table() {
        std::vector<std::vector<int32_t>> out;
        for (int32_t i = 1; i <= NumWeldedPts; ++i) {
            std::vector<int32_t> entry;
            for (int32_t k = 1; k <= WeldedPts[i]->NumOfPts(); ++k) entry.push_back(WeldedPts[i]->Point(k));
            out.push_back(entry);
        }
        return out;
    }
    static P3 at(int32_t pt) {
        P3 p{};
        OMBREL_point_get_xyz(pt, p.data());
        return p;
    }
};

TEST_F(FlipPolygonsTest, FlippingTwiceGivesEveryPointItsDataBackInOrder) {
    const int32_t g = OMBREL_group_create("g");
    const int32_t quad = polygon(g, {{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0}});
    const int32_t five = polygon(g, {{0, 0, 5}, {0, 10, 5}, {5, 15, 5}, {10, 10, 5}, {10, 0, 5}});
    BuildWeldedPoints(g);
    for (int32_t p : {quad, five}) {
        SCOPED_TRACE(p);
        const std::vector<int32_t> handles = pointsOf(p);
        const std::vector<PointData> before = dataOf(p);
        const std::vector<int32_t> list = {0, p};
        FlipPolygons(list, 1);
        EXPECT_EQ(pointsOf(p), handles);
        std::vector<PointData> reversed(before.rbegin(), before.rend());
        EXPECT_EQ(dataOf(p), reversed);
        FlipPolygons(list, 1);
        EXPECT_EQ(dataOf(p), before);
    }
}

TEST_F(FlipPolygonsTest, PolygonsSharingCornersAreWeldedAgainAsOneAtATimeWould) {
    // A stand-alone triangle first, so its entries come before the box's and the
    // box's entries move when the triangle's leave.
    const int32_t g = OMBREL_group_create("g");
    const int32_t tri = polygon(g, {{50, 0, 0}, {50, 5, 0}, {55, 0, 0}});
    const int32_t box = makeBox("box", {0, 0, 0}, {10, 10, 10});
    std::vector<int32_t> faces;
    for (int32_t p = OMBREL_group_get_first_polygon(box); p; p = OMBREL_group_get_next_polygon(box, p)) faces.push_back(p);
    for (int32_t f : faces) OMBREL_polygon_set_group(f, g);
    ASSERT_EQ(faces.size(), 6u);
    const std::vector<int32_t> flipped = {tri, faces[0], faces[2]};  // top and +x share an edge

    // The reference: one polygon at a time, every one reversed before any re-enters.
    BuildWeldedPoints(g);
    for (int32_t p : flipped) RemovePolygonFromWelded(p);
    for (int32_t p : flipped) ReversePolygonPoints(p);
    for (int32_t p : flipped) AddPolygonToWelded(p);
    const auto expected = table();
    for (int32_t p : flipped) ReversePolygonPoints(p);  // back as built

    BuildWeldedPoints(g);
    select({faces[1]});
    UpdateSelPolsRelatedPtsArray();
    std::vector<int32_t> list = {0};
    list.insert(list.end(), flipped.begin(), flipped.end());
    FlipPolygons(list, 3);
    EXPECT_EQ(table(), expected);

    // Every entry holds points of one position, and every point is in exactly one entry.
    std::set<int32_t> seen;
    for (const auto& entry : table())
        for (int32_t pt : entry) {
            EXPECT_EQ(at(pt), at(entry.front()));
            EXPECT_TRUE(seen.insert(pt).second) << pt;
        }
    EXPECT_EQ(NumWeldedPts, 8 + 3);
    // The selected bottom face's related entries were found again after the
    // triangle's entries left: they hold exactly its four corners.
    ASSERT_EQ(NumSelPolsRelatedPts, 4);
    std::set<P3> corners;
    for (int32_t i = 1; i <= NumSelPolsRelatedPts; ++i) corners.insert(at(WeldedPts[SelPolsRelatedPts[i]]->Point(1)));
    std::set<P3> bottom;
    for (int32_t pt : pointsOf(faces[1])) bottom.insert(at(pt));
    EXPECT_EQ(corners, bottom);
}

TEST_F(FlipPolygonsTest, AStaleHandleOrAPolygonWithoutPointsIsPassedOver) {
    const int32_t g = OMBREL_group_create("g");
    const int32_t p = polygon(g, {{0, 0, 0}, {0, 10, 0}, {10, 10, 0}});
    const int32_t gone = polygon(g, {{0, 0, 1}, {0, 10, 1}, {10, 10, 1}});
    const int32_t empty = polygon(g, {});
    BuildWeldedPoints(g);
    OMBREL_polygon_delete(gone);
    RemoveWeldedPtsEntry(NumWeldedPts);  // the deleted polygon's points went with it
    RemoveWeldedPtsEntry(NumWeldedPts);
    RemoveWeldedPtsEntry(NumWeldedPts);
    const std::vector<PointData> before = dataOf(p);
    const std::vector<int32_t> list = {0, gone, empty, p};
    FlipPolygons(list, 3);
    EXPECT_EQ(dataOf(p), std::vector<PointData>(before.rbegin(), before.rend()));
    EXPECT_EQ(NumWeldedPts, 3);
}

TEST(BlendingFilters, CaptionsAndCodesFindEachOther) {
    for (std::size_t i = 0; i < core::BlendingFilters.size(); ++i) {
        const core::BlendingFilter& f = core::BlendingFilters[i];
        EXPECT_EQ(core::BlendingFilterCode(f.text), f.code) << f.text;
        EXPECT_EQ(core::BlendingFilterIndex(f.code), static_cast<int>(i)) << f.text;
    }
    // Unknown texts are no blending; unknown codes have no entry.
    EXPECT_EQ(core::BlendingFilterCode("normal"), 0);
    EXPECT_EQ(core::BlendingFilterCode(""), 0);
    EXPECT_EQ(core::BlendingFilterIndex(1), std::nullopt);
    EXPECT_EQ(core::BlendingFilterIndex(0x152), std::nullopt);
}

}  // namespace
