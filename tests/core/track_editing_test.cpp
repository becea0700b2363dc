// The track procedures below the windows: the three steps of a track's deferred
// deletion with no window to tell, the point list rewritten through the buffer,
// and the edge under a pixel of a perspective view.
#include "core/TrackDeletion.h"
#include "core/TrackPointEdits.h"
#include "core/TrackPointSelection.h"

#include "selection_world.h"

#include <numeric>
#include <optional>

namespace {

using TrackDeletion = EngineWorldTest;
using TrackPointEdits = EngineWorldTest;
using TrackEdges = SelectionWorld;

std::vector<int32_t> savedTracks() {
    std::vector<int32_t> out;
    for (int32_t t = OMBREL_track_get_first_track(); t != 0; t = OMBREL_track_get_next(t)) out.push_back(t);
    return out;
}

int32_t trackOf(const std::vector<P3>& points, bool cyclic) {
    std::vector<double> flat;
    for (const P3& p : points) flat.insert(flat.end(), p.begin(), p.end());
    const int32_t t = OMBREL_track_create("t", cyclic ? 1 : 0, flat.data(), static_cast<int32_t>(points.size()));
    OMBREL_track_set_save_flag(t, 1);
    return t;
}

std::vector<P3> pointsOf(int32_t track) {
    std::vector<P3> out(static_cast<std::size_t>(OMBREL_track_get_number_of_points(track)));
    for (std::size_t i = 0; i < out.size(); ++i) OMBREL_track_get_point(track, static_cast<int32_t>(i), out[i].data());
    return out;
}

TEST_F(TrackDeletion, WithoutWindowsTheStepsChangeOnlyTheEngineAndTheSelection) {
    using namespace Globals;
    const int32_t track = trackOf({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, true);
    CurrSelEntityType = SelTrack;
    CurrSelEntityHandle = track;
    PrevSelEntityType = SelGroup;
    SelTrkPts = {0, 2, 1};
    NumSelTrkPts = 2;

    FakeDeleteTrack(track);
    EXPECT_TRUE(savedTracks().empty());
    EXPECT_EQ(OMBREL_track_get_number_of_points(track), 3);
    EXPECT_EQ(CurrSelEntityType, SelNone);
    EXPECT_EQ(PrevSelEntityType, SelNone);
    EXPECT_EQ(NumSelTrkPts, 0);

    NumSelTrkPts = 1;
    UnDeleteTrack(track);
    EXPECT_EQ(savedTracks(), std::vector<int32_t>{track});
    EXPECT_EQ(NumSelTrkPts, 0);
    EXPECT_EQ(CurrSelEntityType, SelNone);  // the record selects it

    DeleteTrackPermanently(track);
    EXPECT_EQ(OMBREL_ext_handle_kind(track), 0);
    EXPECT_TRUE(savedTracks().empty());
}

TEST_F(TrackPointEdits, DeletingListedPointsKeepsTheOthersInOrder) {
    struct Case {
        const char* name;
        int32_t points;
        std::vector<int32_t> gone;
        std::vector<int32_t> kept;
    };
    const Case cases[] = {
        {"2 and 5 of 7", 7, {2, 5}, {0, 1, 3, 4, 6}},
        {"listed largest first, repeated", 7, {5, 2, 5}, {0, 1, 3, 4, 6}},
        {"the first and the last", 4, {3, 0}, {1, 2}},
        {"outside the list", 3, {-1, 3, 7}, {0, 1, 2}},
        {"none", 3, {}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<P3> start;
        for (int32_t i = 0; i < c.points; ++i) start.push_back({double(i), 2.0 * i, -1.0 * i});
        const int32_t track = trackOf(start, false);
        EXPECT_EQ(Globals::CountTrackPts(track, c.gone),
                  static_cast<int32_t>(start.size() - c.kept.size()));
        Globals::DeleteTrackPts(track, c.gone);
        std::vector<P3> expected;
        for (int32_t i : c.kept) expected.push_back(start[static_cast<std::size_t>(i)]);
        EXPECT_EQ(pointsOf(track), expected);
    }
    const int32_t one = trackOf({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, false);
    Globals::DeleteTrackPt(one, 1);
    EXPECT_EQ(pointsOf(one), (std::vector<P3>{{0, 0, 0}, {2, 2, 2}}));
}

TEST_F(TrackPointEdits, SortedSelectionAndInsertionAfterAnEdge) {
    Globals::SelTrkPts = {0, 2, 6, 0, 5, 99};
    Globals::NumSelTrkPts = 4;
    std::vector<int32_t> sorted;
    Globals::SortSelTrackPts(sorted);
    EXPECT_EQ(std::vector<int32_t>(sorted.begin() + 1, sorted.end()), (std::vector<int32_t>{6, 5, 2, 0}));

    const int32_t track = trackOf({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, true);
    Globals::InsertTrackPtAfter(track, 0, {5, 0, 0});
    Globals::InsertTrackPtAfter(track, 3, {5, 5, 0});  // the closing edge: appended
    EXPECT_EQ(pointsOf(track), (std::vector<P3>{{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {5, 5, 0}}));
    EXPECT_THROW(Globals::InsertTrackPtAfter(track, 5, {0, 0, 0}), platform::EditorError);
}

// The camera stands at (-100, 0, 0) looking along +x: the tracks lie in the
// plane x = 100 facing it, y to the side and z up.
TEST_F(TrackEdges, TheFirstEdgeNearThePixelWithinItsEnds) {
    const std::vector<P3> open = {{100, -60, 0}, {100, 0, 0}, {100, 0, 60}};
    const std::vector<P3> triangle = {{100, -60, -40}, {100, 60, -40}, {100, 0, 50}};
    auto at = [&](const P3& a, const P3& b, double t, int dx = 0, int dy = 0) {
        const PixelPt pa = pixelOf(a), pb = pixelOf(b);
        return PixelPt{static_cast<int32_t>(std::lround(pa[0] + t * (pb[0] - pa[0]))) + dx,
                       static_cast<int32_t>(std::lround(pa[1] + t * (pb[1] - pa[1]))) + dy};
    };
    struct Case {
        const char* name;
        std::vector<P3> points;
        bool cyclic;
        PixelPt pixel;
        std::optional<int32_t> edge;
        P3 point;  // where the new point lands
    };
    const Case cases[] = {
        {"on the edge", open, false, at(open[0], open[1], 0.5), 0, {100, -30, 0}},
        {"two pixels off", open, false, at(open[0], open[1], 0.5, 0, 2), 0, {100, -30, 0}},
        {"three pixels off", open, false, at(open[0], open[1], 0.5, 0, 3), std::nullopt, {}},
        {"near the shared point: the smaller index", open, false, pixelOf(open[1]), 0, open[1]},
        {"beyond the end margin", open, false, at(open[1], open[2], 1.0, 0, -4), std::nullopt, {}},
        {"the gap of an open track", triangle, false, at(triangle[2], triangle[0], 0.5), std::nullopt, {}},
        {"the closing edge of a cyclic track", triangle, true, at(triangle[2], triangle[0], 0.5), 2,
         {100, -30, 5}},
        {"two points in one place", {{100, 10, 10}, {100, 10, 10}}, true, pixelOf({100, 10, 10}), std::nullopt, {}},
        {"an edge seen end-on", {{100, 0, 0}, {150, 0, 0}}, false, pixelOf({100, 0, 0}), std::nullopt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t track = trackOf(c.points, c.cyclic);
        int32_t edge = -1;
        Point3d point = {0, 0, 0};
        const bool found = Globals::FindTrackEdgeAt(track, c.pixel[0], c.pixel[1], edge, point);
        EXPECT_EQ(found, c.edge.has_value());
        if (!c.edge || !found) continue;
        EXPECT_EQ(edge, *c.edge);
        // Within a pixel's worth of the world: about 0.4 units at this distance.
        for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(point[k], c.point[k], 1.5) << k;
    }
}

TEST_F(TrackEdges, AnEdgeTheNearPlaneCutsIsNotOfferedTheOthersAre) {
    // Point 0 is behind the eye: edge 0 is drawn from where the near plane cuts it.
    const int32_t track = trackOf({{-150, 30, 0}, {100, 0, 0}, {100, 0, 60}}, false);
    const PixelPt onCutEdge = pixelOf({50, 6, 0});
    int32_t edge = -1;
    Point3d point = {0, 0, 0};
    EXPECT_FALSE(Globals::FindTrackEdgeAt(track, onCutEdge[0], onCutEdge[1], edge, point));
    const PixelPt onEdge1 = pixelOf({100, 0, 30});
    ASSERT_TRUE(Globals::FindTrackEdgeAt(track, onEdge1[0], onEdge1[1], edge, point));
    EXPECT_EQ(edge, 1);
    EXPECT_NEAR(point[2], 30, 1.5);
}

// A file may bring a track of 100,000 points: a band over all of it selects each
// point once, in index order, and deleting half of them keeps the other half.
TEST_F(TrackEdges, AHundredThousandPointsAreBandedOnceAndHalvedInOrder) {
    using namespace Globals;
    constexpr int32_t n = 100000;
    std::vector<P3> points;
    for (int32_t i = 0; i < n; ++i) points.push_back({100, -50 + i * 1e-3, (i % 100) * 0.5});
    const int32_t track = trackOf(points, true);
    CurrSelEntityType = SelTrack;
    CurrSelEntityHandle = track;
    ReplaceTrackPtsInRect(-100000, -100000, 100000, 100000);
    AddTrackPtsInRect(-100000, -100000, 100000, 100000);
    ASSERT_EQ(NumSelTrkPts, n);
    std::vector<int32_t> all(n);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(std::vector<int32_t>(SelTrkPts.begin() + 1, SelTrkPts.begin() + 1 + n), all);

    std::vector<int32_t> even;
    for (int32_t i = 0; i < n; i += 2) even.push_back(i);
    DeleteTrackPts(track, even);
    const std::vector<P3> left = pointsOf(track);
    ASSERT_EQ(left.size(), static_cast<std::size_t>(n / 2));
    EXPECT_EQ(left.front(), points[1]);
    EXPECT_EQ(left[1234], points[2469]);
    EXPECT_EQ(left.back(), points[n - 1]);
}

}  // namespace
