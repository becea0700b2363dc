#include "ViewOverlays.h"

#include "PicWindow.h"
#include "ViewRedraw.h"

#include "core/BoundingBox.h"
#include "core/Camera.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/Wireframe.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/gdi.h"
#include "transform/TransformGizmo.h"

#include <string>

namespace views {
namespace {

// Selects a pen into OverlayDC and puts the previous one back on every way out.
class PenInUse {
public:
    explicit PenInUse(platform::GdiObject pen)
        : dc_(*Globals::OverlayDC), previous_(platform::SelectObject(dc_, pen)) {}
    ~PenInUse() { platform::SelectObject(dc_, previous_); }
    PenInUse(const PenInUse&) = delete;
    PenInUse& operator=(const PenInUse&) = delete;

private:
    platform::DeviceContext& dc_;
    platform::GdiObject previous_;
};

bool selectionHidden() {
    using namespace Globals;
    return viewHost().IsEntityHidden(CurrSelEntityType, CurrSelEntityHandle);
}

}  // namespace

int32_t SceneCamera(int index) {
    const auto& camera = Globals::ViewCams[static_cast<std::size_t>(index)];
    return camera ? camera->lngSceneCamera : 0;
}

void EngineFailed(const char* what) {
    const char* reason = OMBREL_ext_get_last_error();
    throw platform::EditorError(std::string(what) + ": " + (reason && *reason ? reason : "the engine gave no reason"));
}

void DrawBDBoxOrWire(int Index) {
    using namespace Globals;
    PicWindow& view = viewHost().View(Index);
    if (OMBREL_engine_render_on_dc(view.hWnd(), SceneCamera(Index)) == 0) EngineFailed("The view could not be rendered");
    OverlayDC = &view.dc();
    view.transient().clear();
    view.MarkRendered();

    PenInUse pen(PenWhite);
    const bool wireframe = viewHost().ShowsWireframe();
    if (CurrSelEntityType == SelGroup && !selectionHidden()) {
        if (ShowBndBox) {
            if (SelGrpBndBox) SelGrpBndBox->Draw(Index);
        } else if (wireframe && OverlayWireframe) {
            OverlayWireframe->Draw(CurrSelEntityHandle, Index);
        }
    } else if (CurrSelEntityType == SelMultiple && CurrMultiSel) {
        if (ShowBndBox)
            CurrMultiSel->DrawGrpBndBoxes(Index);
        else if (wireframe)
            CurrMultiSel->DrawGrpsWires(Index);
    }
}

void DrawGizmo(int Index) {
    TransformGizmo* gizmo = viewHost().Gizmo(Index);
    if (!gizmo) return;
    // Not drawn, the handle takes no press where it last stood.
    if (selectionHidden()) {
        gizmo->Hide();
        return;
    }
    gizmo->Draw(Globals::CurrSelEntityHandle, SceneCamera(Index), false);
}

void DrawGrpPts(int Index) {
    using namespace Globals;
    if (!viewHost().EditingPoints() || CurrSelEntityType != SelGroup) return;
    OMBREL_camera_set_current(SceneCamera(Index), viewHost().View(Index).hWnd());
    double eye[3] = {0, 0, 0};
    OMBREL_camera_get_location(OMBREL_camera_get_current(), &eye[0], &eye[1], &eye[2]);
    PenInUse pen(PenBlue);
    platform::DeviceContext& dc = *OverlayDC;
    const int32_t grp = CurrSelEntityHandle;
    for (int32_t pol = OMBREL_group_get_first_polygon(grp); pol != 0; pol = OMBREL_group_get_next_polygon(grp, pol)) {
        double plane[4] = {0, 0, 0, 0};
        OMBREL_polygon_get_plane(pol, plane);
        if (OMBREL_math_get_plane_point_relations(plane, eye, 0, 0) == 2) continue;
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
            double p[3] = {0, 0, 0};
            OMBREL_point_get_xyz(pt, p);
            int32_t p2d[2] = {0, 0};
            if (OMBREL_engine_3D_point_to_2D(p, p2d) != 0) continue;
            const int x = p2d[0], y = p2d[1];
            platform::Rectangle(dc, x - 2, y - 2, x + 2, y + 2);
        }
    }
}

}  // namespace views
