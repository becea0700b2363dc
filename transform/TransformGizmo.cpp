// The handle's state, drawing and hit testing.
#include "TransformGizmo.h"

#include "EditModes.h"
#include "TransformHooks.h"

#include "core/CoreError.h"
#include "core/Globals.h"
#include "core/Maths.h"
#include "core/WeldedPoints.h"
#include "core/myLine.h"
#include "platform/device_context.h"
#include "platform/gdi.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include "ombrel.h"

#include <cmath>

namespace {

constexpr double kHitTolerance = 0.2;
constexpr double kSizeOfHalfView = 0.3;

// Thick pens by line: yellow for the line in hand.
platform::GdiObject penFor(int axis, int32_t inHand) {
    if (axis == inHand) return Globals::PenYellowThick;
    switch (axis) {
    case 0: return Globals::PenRedThick;
    case 1: return Globals::PenGreenThick;
    default: return Globals::PenBlueThick;
    }
}

}  // namespace

TransformGizmo::TransformGizmo(int viewIndex) : view_(viewIndex) {}
TransformGizmo::~TransformGizmo() = default;

const PixelPt& TransformGizmo::AxisEnd2D(int axis) const {
    switch (axis) {
    case 0: return XAxisEnd2D;
    case 1: return YAxisEnd2D;
    case 2: return ZAxisEnd2D;
    default: core::raiseError("The handle has no axis " + std::to_string(axis));
    }
}

bool TransformGizmo::FindCentre(Point3d& centre) const {
    using namespace Globals;
    if (transform::IsPointEditing()) {
        if (NumSelPts <= 0) return false;
        centre = SelPtsAvgCenter;
        return true;
    }
    if (transform::IsPolygonEditing()) {
        if (NumSelPols <= 0) return false;
        centre = SelPolsAvgCenter;
        return true;
    }
    if (transform::IsTextureEditing()) return false;
    switch (CurrSelEntityType) {
    case SelMultiple: centre = SelObjsAvgCenter; return true;
    case SelNone: return false;
    case SelGroup:
        if (transform::IsGrpHidden(CurrSelEntityHandle)) return false;
        OMBREL_group_get_rotate_reference_point(CurrSelEntityHandle, centre.data());
        return true;
    case SelCamera:
        if (transform::IsCamHidden(CurrSelEntityHandle)) return false;
        OMBREL_camera_get_location1(CurrSelEntityHandle, centre.data());
        return true;
    case SelLight:
        if (transform::IsLightHidden(CurrSelEntityHandle)) return false;
        OMBREL_light_get_location(CurrSelEntityHandle, centre.data());
        return true;
    case SelTrack: {
        const std::string mode = transform::TrackPointText();
        if (mode == "Track") {
            centre = TrkCenter;
            return true;
        }
        if (mode == "Point" && NumSelTrkPts > 0) {
            centre = SelTrkPtsAvgCenter;
            return true;
        }
        return false;
    }
    default: return false;
    }
}

void TransformGizmo::Draw(int32_t selHandle, int32_t camera, bool DontUseEngineDC) {
    (void)selHandle;  // the selection state names the entity
    const auto& hooks = transform::transformHooks();
    const int32_t window = hooks.viewWindow ? hooks.viewWindow(view_) : 0;
    OMBREL_camera_set_current(camera, window);
    Point3d a1, a2, up;
    OMBREL_camera_get_axis_system(camera, a1.data(), a2.data(), up.data());

    Point3d centre = Center3D;
    shown_ = false;  // nothing under the mouse unless the handle is placed below
    if (!FindCentre(centre)) return;

    const double zoom = OMBREL_camera_get_zoom(camera);
    Point3d eye = {0, 0, 0};
    OMBREL_camera_get_location1(camera, eye.data());
    const double dist = OMBREL_math_get_distance(centre.data(), eye.data());
    const double h = std::tan(zoom / 2 * Maths::Pi / 180) * dist;
    Point3d ref;
    Maths::PointAlongVector(ref, centre, up, false, h, 0);

    PixelPt c2 = {0, 0}, r2 = {0, 0};
    if (OMBREL_engine_3D_point_to_2D(centre.data(), c2.data()) == OMBREL_PROJ_NONE) return;
    if (OMBREL_engine_3D_point_to_2D(ref.data(), r2.data()) == OMBREL_PROJ_NONE) return;
    // Without a vertical extent on screen the handle has no size to take.
    if (c2[1] == r2[1]) return;

    Center3D = centre;
    GizmoSize = std::fabs(kSizeOfHalfView * h);
    std::array<Point3d, 3> ends;
    for (int k = 0; k < 3; ++k) {
        ends[static_cast<std::size_t>(k)] = Center3D;
        ends[static_cast<std::size_t>(k)][static_cast<std::size_t>(k)] += GizmoSize;
    }
    Center2D = c2;
    OMBREL_engine_3D_point_to_2D(ends[0].data(), XAxisEnd2D.data());
    OMBREL_engine_3D_point_to_2D(ends[1].data(), YAxisEnd2D.data());
    OMBREL_engine_3D_point_to_2D(ends[2].data(), ZAxisEnd2D.data());
    shown_ = true;

    platform::DeviceContext* dc = nullptr;
    platform::TransientLayer* layer = nullptr;
    if (DontUseEngineDC) {
        layer = hooks.viewTransientLayer ? hooks.viewTransientLayer(view_) : nullptr;
        if (!layer) return;  // a view without a layer shows the handle at its next render
        layer->clear();
        dc = &layer->dc();
    } else {
        dc = Globals::OverlayDC;
        if (!dc) core::raiseError("No device context to draw the transform handle on");
    }
    // The hover uses a drawer of its own, so the shared one stays on the view buffer.
    myLine hoverLine;
    myLine& line = DontUseEngineDC || !Globals::OverlayLine ? hoverLine : *Globals::OverlayLine;
    const platform::GdiObject previous = platform::SelectObject(*dc, Globals::PenWhite);
    line.SetDC(dc);
    for (int k = 0; k < 3; ++k) {
        platform::SelectObject(*dc, penFor(k, TransformationPossible));
        line.Draw(Center3D, ends[static_cast<std::size_t>(k)]);
    }
    platform::SelectObject(*dc, previous ? previous : Globals::PenWhite);
    if (layer && hooks.transientLayerChanged) hooks.transientLayerChanged(view_);
}

bool TransformGizmo::IsCursorOnAxis(int32_t axis, double tol, const PixelPt& p) const {
    const PixelPt& e = AxisEnd2D(axis);
    const double cx = Center2D[0], cy = Center2D[1], ex = e[0], ey = e[1], px = p[0], py = p[1];
    const double l = std::hypot(ex - cx, ey - cy);
    const double d = std::hypot(px - cx, py - cy) + std::hypot(px - ex, py - ey);
    return d <= std::sqrt(l * l + tol * tol) + tol;
}

void TransformGizmo::UpdateTransformationPossible() {
    if (!shown_) {
        TransformationPossible = AxisNone;
        return;
    }
    for (int32_t axis = 0; axis < 3; ++axis) {
        if (!IsCursorOnAxis(axis, kHitTolerance, MousePos)) continue;
        TransformationPossible = axis;
        if (platform::isKeyHeld(platform::vk::Shift) && Globals::CurrToolMode == ToolScale)
            TransformationPossible = AxisAll;
        return;
    }
    TransformationPossible = AxisNone;
}
