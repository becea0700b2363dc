// The rectangle of a click or rubber band in view pixels, and the walk over the
// edited group's polygons that point and polygon selection share.
#pragma once

#include "CoreTypes.h"

#include "ombrel.h"

#include <cstdint>

namespace Globals {

struct SelRect {
    int32_t ux, uy, lx, ly;  // upper (smaller) and lower (larger) corners, edges included
    bool isClick() const { return ux == lx && uy == ly; }
    bool holds(const PixelPt& px) const { return ux <= px[0] && px[0] <= lx && uy <= px[1] && px[1] <= ly; }
};

// The point projects into the current camera's view (result 0) and into the rect.
inline bool projectsInto(int32_t point, const SelRect& r) {
    Point3d p = {0, 0, 0};
    OMBREL_point_get_xyz(point, p.data());
    PixelPt px = {0, 0};
    return OMBREL_engine_3D_point_to_2D(p.data(), px.data()) == 0 && r.holds(px);
}

// The group's polygons in the engine's order; with skipBackFaced, not those whose
// plane has the current camera on its back side.
template <class Visit>
void forEachFacingPolygon(int32_t group, bool skipBackFaced, Visit visit) {
    Point3d eye = {0, 0, 0};
    if (skipBackFaced) OMBREL_camera_get_location(OMBREL_camera_get_current(), &eye[0], &eye[1], &eye[2]);
    for (int32_t pol = OMBREL_group_get_first_polygon(group); pol != 0;
         pol = OMBREL_group_get_next_polygon(group, pol)) {
        if (skipBackFaced) {
            Plane4d plane = {0, 0, 0, 0};
            OMBREL_polygon_get_plane(pol, plane.data());
            if (OMBREL_math_get_plane_point_relations(plane.data(), eye.data(), 0, 0) == 2) continue;
        }
        visit(pol);
    }
}

template <class Visit>
void forEachPointOf(int32_t polygon, Visit visit) {
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt))
        visit(pt);
}

}  // namespace Globals
