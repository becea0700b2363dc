#include "TrackProcedures.h"

#include "Globals.h"
#include "Maths.h"

#include "ombrel.h"

#include <span>
#include <string>

namespace Globals {
namespace {

Point3d readPoint(int32_t track, int32_t i) {
    Point3d p = {0, 0, 0};
    OMBREL_track_get_point(track, i, p.data());
    return p;
}

void writePoint(int32_t track, int32_t i, const Point3d& p) { OMBREL_track_set_point(track, i, p.data()); }

// The two coordinates of the axis plane, first turned towards second for a positive angle.
bool planeOf(int32_t axis, int& first, int& second) {
    switch (axis) {
    case 0: first = 1, second = 2; return true;
    case 1: first = 0, second = 2; return true;
    case 2: first = 0, second = 1; return true;
    default: return false;
    }
}

void rotatePoint(int32_t track, int32_t i, const Point3d& centre, double angle, int first, int second) {
    Point3d p = readPoint(track, i);
    double in[2] = {p[first], p[second]}, c[2] = {centre[first], centre[second]}, out[2];
    Maths::RotatePointAboutCenter2D(in, c, angle, out);
    p[first] = out[0];
    p[second] = out[1];
    writePoint(track, i, p);
}

// p(k) = centre(k) + factor(k) * (p(k) - centre(k)), written through the distance and
// direction from the centre; a point on the centre stays where it is.
void scalePoint(int32_t track, int32_t i, const Point3d& centre, const Point3d& factors) {
    Point3d p = readPoint(track, i);
    double d = Maths::Distance(centre, p);
    if (d == 0) return;
    Point3d u;
    Maths::VectorFromTo(centre, p, u);
    Maths::NormalizeVector(u, u);
    for (int k = 0; k < 3; ++k) p[k] = centre[k] + factors[k] * u[k] * d;
    writePoint(track, i, p);
}

int32_t selectedPoint(int32_t i) {
    if (i < 0 || static_cast<std::size_t>(i) >= SelTrkPts.size())
        core::raiseError("Selected track point " + std::to_string(i) + " is outside the selection list");
    return SelTrkPts[static_cast<std::size_t>(i)];
}

}  // namespace

void GetTrackExtents(int32_t track, Box6d& extents) {
    extents = {1e32, 1e32, 1e32, -1e32, -1e32, -1e32};
    const int32_t n = OMBREL_track_get_number_of_points(track);
    for (int32_t i = 0; i < n; ++i) {
        Point3d p = readPoint(track, i);
        for (int k = 0; k < 3; ++k) {
            if (p[k] < extents[k]) extents[k] = p[k];
            if (p[k] > extents[k + 3]) extents[k + 3] = p[k];
        }
    }
}

void GetTrackCenter(int32_t track, Point3d& result) {
    Box6d e;
    GetTrackExtents(track, e);
    for (int k = 0; k < 3; ++k) result[k] = (e[k] + e[k + 3]) / 2;
}

void GetTrackDimensions(int32_t track, Point3d& result) {
    Box6d e;
    GetTrackExtents(track, e);
    for (int k = 0; k < 3; ++k) result[k] = e[k + 3] - e[k];
}

void MoveTrack(int32_t track, const Point3d& offset) {
    const int32_t n = OMBREL_track_get_number_of_points(track);
    for (int32_t i = 0; i < n; ++i) {
        Point3d p = readPoint(track, i);
        Maths::AddVector(p, offset);
        writePoint(track, i, p);
    }
}

void SetTrackLocation(int32_t track, const Point3d& location) {
    Point3d centre, offset;
    GetTrackCenter(track, centre);
    Maths::VectorFromTo(centre, location, offset);
    MoveTrack(track, offset);
}

void RotateTrack(int32_t track, double angle, int32_t axis) {
    int first, second;
    if (!planeOf(axis, first, second)) return;
    const Point3d centre = TrkCenter;
    const int32_t n = OMBREL_track_get_number_of_points(track);
    for (int32_t i = 0; i < n; ++i) rotatePoint(track, i, centre, angle, first, second);
}

void ScaleTrack(int32_t track, const Point3d& factors) {
    const Point3d centre = TrkCenter;
    const int32_t n = OMBREL_track_get_number_of_points(track);
    for (int32_t i = 0; i < n; ++i) scalePoint(track, i, centre, factors);
}

void ScaleTrackXYZ(int32_t track, double fx, double fy, double fz) {
    Point3d f;
    Maths::SetVector(f, fx, fy, fz);
    ScaleTrack(track, f);
}

void RotateSelTrackPoints(int32_t track, int32_t axis, double angle) {
    int first, second;
    if (!planeOf(axis, first, second)) return;
    const Point3d centre = SelTrkPtsAvgCenter;
    for (int32_t i = 1; i <= NumSelTrkPts; ++i) rotatePoint(track, selectedPoint(i), centre, angle, first, second);
}

void ScaleSelTrackPoints(int32_t track, const Point3d& factors) {
    const Point3d centre = SelTrkPtsAvgCenter;
    for (int32_t i = 1; i <= NumSelTrkPts; ++i) scalePoint(track, selectedPoint(i), centre, factors);
}

}  // namespace Globals
