#include "PlanarMapping.h"

#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/Maths.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SharedObjects.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace textures {
namespace {

// Below this length the averaged normal gives no direction (opposite faces).
constexpr double kDegenerateNormal = 1e-12;

double axisAngle(const Point3d& axis, const Point3d& n) {
    const double angle = Maths::AngleBetweenVectors(axis, n);
    // A normal and its opposite lie on the same line.
    return angle > 90 ? std::abs(180 - angle) : angle;
}

MappingPlanes averagedPlanes(const Point3d& n) {
    const Point3d origin = {0, 0, 0}, ex = {1, 0, 0}, ey = {0, 1, 0}, ez = {0, 0, 1};
    MappingPlanes planes{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}};
    if (Maths::VectorLength(n) < kDegenerateNormal) return planes;
    planes.Mapping = {n[0], n[1], n[2], 0};
    const double ax = axisAngle(ex, n), ay = axisAngle(ey, n), az = axisAngle(ez, n);
    // Both planes hold n and the origin: distances from them measure the mapping plane.
    if (ax <= ay && ax <= az) {
        Maths::PlaneFromThreePoints(n, origin, ez, planes.U);
        Maths::PlaneFromThreePoints(n, origin, ey, planes.V);
    } else if (ay <= ax && ay <= az) {
        Maths::PlaneFromThreePoints(n, origin, ez, planes.U);
        Maths::PlaneFromThreePoints(n, origin, ex, planes.V);
    } else {
        Maths::PlaneFromThreePoints(n, origin, ex, planes.U);
        Maths::PlaneFromThreePoints(n, origin, ey, planes.V);
    }
    return planes;
}

struct MappedPoint {
    int32_t point, polygon;
    double u, v;
};

}  // namespace

MappingPlanes PlanesFor(int32_t option, const Point3d& n) {
    switch (option) {
    case NormalX: return {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}};
    case NormalY: return {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, -1, 0}};
    case NormalZ: return {{0, 0, 1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}};
    default: return averagedPlanes(n);
    }
}

void PlanarMapSelPols(int32_t option) {
    using Globals::NumSelPols;
    using Globals::SelPols;
    if (NumSelPols <= 0) return;
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActChngTextureCoords;
    record->SetActionObjects();
    record->ChngTextureCoords->SetPtsChangedToCurrSel();
    record->ChngTextureCoords->ExtractIniCoordsLoc();

    Point3d normal = {0, 0, 0};
    if (option == AveragedNormals) {
        Plane4d avg = {0, 0, 0, 0};
        Globals::ComputeSelPolsAvgNormal(avg);
        normal = {avg[0], avg[1], avg[2]};
    }
    const MappingPlanes planes = PlanesFor(option, normal);

    // Every position is read and measured first; the points are written once.
    std::vector<MappedPoint> mapped;
    double minU = 9e300, minV = 9e300, maxU = -9e300, maxV = -9e300;
    for (int32_t i = 1; i <= NumSelPols; ++i) {
        const int32_t pol = SelPols[i];
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
            Point3d p = {0, 0, 0}, q = {0, 0, 0};
            OMBREL_point_get_xyz(pt, p.data());
            Maths::ProjectPointOnPlane(p, planes.Mapping, q);
            const double u = Maths::DistanceFromPlane(q, planes.U), v = Maths::DistanceFromPlane(q, planes.V);
            mapped.push_back({pt, pol, u, v});
            minU = std::min(minU, u);
            maxU = std::max(maxU, u);
            minV = std::min(minV, v);
            maxV = std::max(maxV, v);
        }
    }
    const double scale = std::max(maxU - minU, maxV - minV);
    for (const MappedPoint& m : mapped) {
        // All points in one place: every coordinate is the corner (0, 0).
        const double uv[2] = {scale > 0 ? (m.u - minU) / scale : 0.0, scale > 0 ? (m.v - minV) / scale : 0.0};
        OMBREL_point_set_bitmap_xy(m.point, m.polygon, uv);
    }
    Globals::UpdateCameras();
    if (Globals::IsTextureMappingLoaded()) {
        core::callHook(core::windowHooks().textureMappingResetSelections);
        core::callHook(core::windowHooks().textureMappingSetupWithNewZoom);
    }
    record->ChngTextureCoords->ExtractFnlCoordsLoc();
    if (record->ChngTextureCoords->ChangesAnything())
        undo::Shared(Globals::UndoRedoStack, "The undo history").Push(std::move(record));
}

}  // namespace textures
