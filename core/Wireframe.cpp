#include "Wireframe.h"

#include "CoreError.h"
#include "CoreTypes.h"
#include "Globals.h"

#include "ombrel.h"
#include "platform/gdi.h"

void Wireframe::flush(platform::DeviceContext& dc) {
    if (counts_.empty()) return;
    platform::PolyPolyline(dc, points_.data(), counts_.data(), static_cast<int>(counts_.size()));
    ++batches_;
    points_.clear();
    counts_.clear();
}

void Wireframe::Draw(int32_t Grp, int Index) {
    if (!Globals::OverlayDC) core::raiseError("No device context to draw the wireframe on");
    platform::DeviceContext& dc = *Globals::OverlayDC;
    batches_ = 0;
    points_.clear();
    counts_.clear();
    Point3d eye = {0, 0, 0};
    OMBREL_camera_get_location(OMBREL_camera_get_current(), &eye[0], &eye[1], &eye[2]);

    auto edge = [&](const Point3d& a, const Point3d& b) {
        PixelPt a2d = {0, 0}, b2d = {0, 0};
        int32_t r = OMBREL_engine_3D_edge_to_2D(a.data(), b.data(), a2d.data(), b2d.data());
        if (r == OMBREL_PROJ_NONE || r == OMBREL_PROJ_OUTSIDE) return;
        if (static_cast<int>(counts_.size()) >= kMaxSegments) flush(dc);
        points_.push_back({a2d[0], a2d[1]});
        points_.push_back({b2d[0], b2d[1]});
        counts_.push_back(2);
    };

    for (int32_t pol = OMBREL_group_get_first_polygon(Grp); pol != 0; pol = OMBREL_group_get_next_polygon(Grp, pol)) {
        double plane[4] = {0, 0, 0, 0};
        OMBREL_polygon_get_plane(pol, plane);
        // Polygons facing away from the eye are skipped before any projection.
        if (OMBREL_math_get_plane_point_relations(plane, eye.data(), 0, 0) == OMBREL_PLANE_BACK) continue;
        int32_t first = OMBREL_polygon_get_first_point(pol);
        if (first == 0) continue;
        Point3d firstXyz = {0, 0, 0}, prev = {0, 0, 0};
        OMBREL_point_get_xyz(first, firstXyz.data());
        prev = firstXyz;
        for (int32_t pt = OMBREL_point_get_next_point(first); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
            Point3d xyz = {0, 0, 0};
            OMBREL_point_get_xyz(pt, xyz.data());
            edge(prev, xyz);
            prev = xyz;
        }
        edge(prev, firstXyz);
    }
    flush(dc);
}
