// Whole-track and selected-track-point geometry, point by point through the engine.
#pragma once

#include "CoreTypes.h"

#include <cstdint>

namespace Globals {

// Minimum x, y, z then maximum x, y, z; a track without points keeps 1e32 / -1e32.
void GetTrackExtents(int32_t track, Box6d& extents);
// Middle of the extents.
void GetTrackCenter(int32_t track, Point3d& result);
void GetTrackDimensions(int32_t track, Point3d& result);
void MoveTrack(int32_t track, const Point3d& offset);
// Puts the middle of the extents on location.
void SetTrackLocation(int32_t track, const Point3d& location);
// About TrkCenter; the angle is used unchanged for every axis (axis 1 turns x towards z).
void RotateTrack(int32_t track, double angle, int32_t axis);
// About TrkCenter.
void ScaleTrack(int32_t track, const Point3d& factors);
void ScaleTrackXYZ(int32_t track, double fx, double fy, double fz);
// About SelTrkPtsAvgCenter, the points SelTrkPts(1..NumSelTrkPts); note: axis first.
void RotateSelTrackPoints(int32_t track, int32_t axis, double angle);
void ScaleSelTrackPoints(int32_t track, const Point3d& factors);

}  // namespace Globals
