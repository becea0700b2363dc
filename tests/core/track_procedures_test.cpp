#include "core/EntityProcedures.h"
#include "core/TrackProcedures.h"

#include "engine_world.h"

namespace {

using TrackProcedures = EngineWorldTest;

void expectPoint(const P3& got, const P3& want) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << "component " << k;
}

TEST_F(TrackProcedures, ExtentsCentreAndSize) {
    struct Case {
        std::vector<P3> points;
        Box6d extents;
        Point3d centre, size;
    };
    const Case cases[] = {
        {{{1, 2, 3}}, {1, 2, 3, 1, 2, 3}, {1, 2, 3}, {0, 0, 0}},
        {{{0, 0, 0}, {10, -4, 2}, {2, 6, -8}}, {0, -4, -8, 10, 6, 2}, {5, 1, -3}, {10, 10, 10}},
        // The middle of the extents, not the mean of the points.
        {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {12, 0, 0}}, {0, 0, 0, 12, 0, 0}, {6, 0, 0}, {12, 0, 0}},
    };
    for (const Case& c : cases) {
        std::vector<double> flat;
        for (const P3& p : c.points) flat.insert(flat.end(), p.begin(), p.end());
        int32_t t = OMBREL_track_create("t", 0, flat.data(), static_cast<int32_t>(c.points.size()));
        Box6d e;
        Point3d centre, size;
        Globals::GetTrackExtents(t, e);
        Globals::GetTrackCenter(t, centre);
        Globals::GetTrackDimensions(t, size);
        EXPECT_EQ(e, c.extents);
        EXPECT_EQ(centre, c.centre);
        EXPECT_EQ(size, c.size);
    }
}

TEST_F(TrackProcedures, EmptyTrackKeepsTheSentinelsAndNothingMoves) {
    int32_t t = OMBREL_track_create("empty", 0, nullptr, 0);
    Box6d e;
    Point3d centre = {9, 9, 9};
    Globals::GetTrackExtents(t, e);
    Globals::GetTrackCenter(t, centre);
    EXPECT_EQ(e, (Box6d{1e32, 1e32, 1e32, -1e32, -1e32, -1e32}));
    EXPECT_EQ(centre, (Point3d{0, 0, 0}));
    Globals::MoveTrack(t, {1, 1, 1});
    Globals::RotateTrack(t, 90, 2);
    Globals::ScaleTrack(t, {2, 2, 2});
    EXPECT_EQ(OMBREL_track_get_number_of_points(t), 0);
}

TEST_F(TrackProcedures, SetLocationPutsTheMiddleOfTheExtentsThere) {
    int32_t t = makeTrack({{0, 0, 0}, {10, 0, 0}});
    Globals::SetTrackLocation(t, {0, 0, 0});
    expectPoint(trackPoint(t, 0), {-5, 0, 0});
    expectPoint(trackPoint(t, 1), {5, 0, 0});
}

TEST_F(TrackProcedures, RotateTrackTurnsTheFirstCoordinateTowardsTheSecond) {
    struct Case {
        int32_t axis;
        P3 start, want;
    };
    // Axis 1 turns x towards z: the angle is not negated as RotatePointAboutAxis does.
    const Case cases[] = {{2, {1, 0, 0}, {0, 1, 0}}, {1, {1, 0, 0}, {0, 0, 1}}, {0, {0, 1, 0}, {0, 0, 1}},
                          {5, {1, 2, 3}, {1, 2, 3}}};
    for (const Case& c : cases) {
        int32_t t = makeTrack({c.start});
        Globals::TrkCenter = {0, 0, 0};
        Globals::RotateTrack(t, 90, c.axis);
        SCOPED_TRACE(testing::Message() << "axis " << c.axis);
        expectPoint(trackPoint(t, 0), c.want);
    }
    // About TrkCenter, not the middle of the extents.
    int32_t t = makeTrack({{2, 0, 0}, {4, 0, 0}});
    Globals::TrkCenter = {2, 0, 0};
    Globals::RotateTrack(t, 180, 2);
    expectPoint(trackPoint(t, 0), {2, 0, 0});
    expectPoint(trackPoint(t, 1), {0, 0, 0});
}

TEST_F(TrackProcedures, ScaleAboutTheCentreLeavesAPointOnTheCentre) {
    int32_t t = makeTrack({{1, 1, 1}, {0, 0, 0}, {-2, 3, 4}});
    Globals::TrkCenter = {0, 0, 0};
    Globals::ScaleTrackXYZ(t, 2, 1, 1);
    expectPoint(trackPoint(t, 0), {2, 1, 1});
    expectPoint(trackPoint(t, 1), {0, 0, 0});
    expectPoint(trackPoint(t, 2), {-4, 3, 4});
}

TEST_F(TrackProcedures, SelectedPointsTurnAndScaleAboutTheirCentre) {
    int32_t t = makeTrack({{1, 0, 0}, {3, 0, 0}, {9, 9, 9}});
    Globals::SelTrkPts = {0, 0, 1};
    Globals::NumSelTrkPts = 2;
    Globals::SelTrkPtsAvgCenter = {2, 0, 0};
    Globals::RotateSelTrackPoints(t, 2, 90);
    expectPoint(trackPoint(t, 0), {2, -1, 0});
    expectPoint(trackPoint(t, 1), {2, 1, 0});
    expectPoint(trackPoint(t, 2), {9, 9, 9});
    Globals::ScaleSelTrackPoints(t, {1, 3, 1});
    expectPoint(trackPoint(t, 0), {2, -3, 0});
    expectPoint(trackPoint(t, 2), {9, 9, 9});
    // An index past the selection list is refused, not read.
    Globals::NumSelTrkPts = 3;
    EXPECT_THROW(Globals::ScaleSelTrackPoints(t, {1, 1, 1}), platform::EditorError);
}

TEST_F(TrackProcedures, MoveTrackAndTrackLocationByKind) {
    int32_t t = makeTrack({{0, 0, 0}, {2, 2, 2}});
    Globals::MoveTrack(t, {1, 0, -1});
    Point3d loc = {0, 0, 0};
    Globals::GetEntityLocation(t, SelTrack, loc);
    expectPoint(loc, {2, 1, 0});
}

}  // namespace
