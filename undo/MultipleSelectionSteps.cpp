#include "MultipleSelectionSteps.h"

#include "PointPolygonTransformActions.h"
#include "SharedObjects.h"

#include "core/EntityLocations.h"
#include "core/MultipleSelection.h"

#include "ombrel.h"

namespace undo {

void TurnMultipleSelection(const MultipleSelection& sel, double angle, int32_t axis, const Point3d& c) {
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) {
        const int32_t g = sel.GetGrp(i);
        Point3d pivot = {0, 0, 0};
        OMBREL_group_get_rotate_reference_point(g, pivot.data());
        OMBREL_group_set_rotate_reference_point(g, c.data());
        OMBREL_group_rotate(g, angle, 0, axis);
        OMBREL_group_set_rotate_reference_point(g, pivot.data());
    }
    for (int32_t i = 1; i <= sel.NumOfLights(); ++i) SceneLights().Rotate(sel.GetLight(i), angle, axis, true, c[0], c[1], c[2]);
    for (int32_t i = 1; i <= sel.NumOfCams(); ++i) SceneCameras().Rotate(sel.GetCam(i), angle, axis, true, c[0], c[1], c[2]);
}

void ScaleMultipleSelection(const MultipleSelection& sel, const Point3d& f, const Point3d& centre) {
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) {
        const int32_t g = sel.GetGrp(i);
        const Point3d loc = core::groupLocation(g);
        const Point3d moved = ScaleAbout(loc, centre, f);
        OMBREL_group_set_location(g, moved.data());
        OMBREL_group_scale(g, 0, f[0], f[1], f[2]);
    }
}

}  // namespace undo
