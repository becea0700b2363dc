#include "TransformLimits.h"

#include "core/EntityLocations.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/WeldedPoints.h"
#include "undo/PointPolygonTransformActions.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <algorithm>
#include <cmath>

namespace transform {
namespace {

void addBox(Reach& reach, int32_t group) {
    double box[6] = {0, 0, 0, 0, 0, 0};
    if (group == 0 || OMBREL_group_get_bounding_box(group, box) != 0) return;
    reach.add({box[0], box[1], box[2]});
    reach.add({box[3], box[4], box[5]});
}

void addGroup(Reach& reach, int32_t group) {
    addBox(reach, group);
    Point3d pivot = {0, 0, 0};
    OMBREL_group_get_rotate_reference_point(group, pivot.data());
    reach.add(pivot);
    reach.add(core::groupLocation(group));
}

void addCamera(Reach& reach, int32_t camera) {
    reach.add(core::cameraLocation(camera));
    if (Globals::SceneCameras) addBox(reach, Globals::SceneCameras->GetCamGrp(camera));
}

void addLight(Reach& reach, int32_t light) {
    reach.add(core::lightLocation(light));
    if (Globals::SceneLights) addBox(reach, Globals::SceneLights->GetLightGrp(light));
}

void addTrackPoint(Reach& reach, int32_t track, int32_t n) {
    Point3d p = {0, 0, 0};
    OMBREL_track_get_point(track, n, p.data());
    reach.add(p);
}

// The largest magnitude a coordinate reaches within d of the box.
double farthest(const Reach& reach, double d) {
    double m = 0;
    for (std::size_t k = 0; k < 3; ++k) m = std::max({m, std::fabs(reach.min[k]), std::fabs(reach.max[k])});
    return m + d;
}

double diagonal(const Reach& reach) {
    return std::hypot(reach.max[0] - reach.min[0], reach.max[1] - reach.min[1], reach.max[2] - reach.min[2]);
}

bool inWorld(double v) { return std::isfinite(v) && std::fabs(v) <= kWorldLimit; }

bool factorKeepsUndo(double f) { return std::isfinite(f) && std::fabs(f) >= 1 / kWorldLimit && std::fabs(f) <= kWorldLimit; }

}  // namespace

void Reach::add(const Point3d& p) {
    if (empty) {
        min = max = p;
        empty = false;
        return;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        min[k] = std::min(min[k], p[k]);
        max[k] = std::max(max[k], p[k]);
    }
}

Reach SelectionReach(EditMode mode) {
    using namespace Globals;
    Reach reach;
    const int32_t h = CurrSelEntityHandle;
    switch (mode) {
    case EditMode::Point:
        for (int32_t i = 1; i <= NumSelPts; ++i) reach.add(undo::ReadPoint(SelPts[i]));
        return reach;
    case EditMode::Polygon:
        for (WeldedPoints* set : SelectedWeldedSets())
            if (set->NumOfPts() > 0) reach.add(undo::ReadPoint(set->Point(1)));
        return reach;
    case EditMode::TrackPoint:
        for (int32_t i = 1; i <= NumSelTrkPts; ++i) addTrackPoint(reach, h, SelTrkPts.at(static_cast<std::size_t>(i)));
        return reach;
    case EditMode::Object: break;
    }
    switch (CurrSelEntityType) {
    case SelGroup: addGroup(reach, h); break;
    case SelCamera: addCamera(reach, h); break;
    case SelLight: addLight(reach, h); break;
    case SelTrack:
        for (int32_t n = 0; n < OMBREL_track_get_number_of_points(h); ++n) addTrackPoint(reach, h, n);
        break;
    case SelMultiple: {
        const MultipleSelection& sel = undo::CurrMultiSel();
        for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) addGroup(reach, sel.GetGrp(i));
        for (int32_t i = 1; i <= sel.NumOfCams(); ++i) addCamera(reach, sel.GetCam(i));
        for (int32_t i = 1; i <= sel.NumOfLights(); ++i) addLight(reach, sel.GetLight(i));
        break;
    }
    default: break;
    }
    return reach;
}

Reach GroupsReach(const std::vector<int32_t>& groups) {
    Reach reach;
    for (int32_t g : groups) addGroup(reach, g);
    return reach;
}

bool MoveStaysInWorld(const Reach& reach, const Point3d& offset) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (!std::isfinite(offset[k])) return false;
        if (reach.empty) continue;
        if (!inWorld(reach.min[k] + offset[k]) || !inWorld(reach.max[k] + offset[k])) return false;
    }
    return true;
}

bool TurnStaysInWorld(const Reach& reach) {
    // Turned about a centre inside the box, nothing gets farther from it than the
    // box's diagonal.
    return reach.empty || inWorld(farthest(reach, diagonal(reach)));
}

bool ScaleStaysInWorld(const Reach& reach, const Point3d& step, const Point3d& total) {
    double largest = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        if (!factorKeepsUndo(step[k]) || !factorKeepsUndo(total[k])) return false;
        largest = std::max(largest, std::fabs(step[k]));
    }
    // A group of a multiple selection scales about its own location, which moves
    // about the common centre: three diagonals bound how far a point can go.
    return reach.empty || inWorld(farthest(reach, 3 * largest * diagonal(reach)));
}

}  // namespace transform
