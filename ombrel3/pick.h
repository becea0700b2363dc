// Projection between world and screen, and picking, on the CPU with the same
// camera maths as the renderer.
#pragma once

#include "camera_frame.h"

#include <cstdint>

namespace ombrel {

// The current camera on the current surface; false when either is missing.
bool currentView(View& out);

// engine_3D_point_to_2D: 0 visible, 2 off the surface or nearer than the near
// distance (pixel written), -1 at or behind the eye plane (pixel untouched).
int32_t projectPoint(const View& view, Vec3 p, int32_t pixel[2]);

// engine_3D_edge_to_2D: -1 wholly behind the near plane, 1 wholly outside the
// surface, 0 drawable as projected, 2 drawable after moving an end.
int32_t projectEdge(const View& view, Vec3 a, Vec3 b, int32_t a2d[2], int32_t b2d[2]);

// projectEdge for many edges that share their ends: ends holds two indexes into
// points per edge (all checked by the caller), pixels takes 4 per edge and
// results 1. An edge with a non-finite end gets -1 and keeps its pixels.
void projectEdges(const View& view, const double* points, int32_t pointCount, const int32_t* ends, int32_t count,
                  int32_t* pixels, int32_t* results);

struct Hit {
    Vec3 point;
    int32_t polygon = 0, group = 0;
    double depth = 0;
};

// Nearest drawable polygon facing the eye, beyond the near distance, along the
// ray through screen position (sx, sy).
bool pickAt(const View& view, double sx, double sy, Hit& hit);

}  // namespace ombrel
