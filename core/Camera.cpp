#include "Camera.h"

#include "CoreError.h"
#include "Globals.h"
#include "Maths.h"
#include "ViewHooks.h"

#include "ombrel.h"
#include "platform/cursor.h"
#include "platform/key_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 6.28318530717958;
constexpr double kRollLimit = 1.57;
constexpr int kEdgeMargin = 10;

void wrapAngle(double& a) {
    if (a > kTwoPi)
        a -= kTwoPi;
    else if (a < -kTwoPi)
        a += kTwoPi;
    if (a < 0) a += kTwoPi;
}

}  // namespace

void Camera::Initialize(double Dist, double HorizAng, double VerAng) {
    dblViewingDistance = Dist;
    horizAng_ = HorizAng;
    verAng_ = VerAng;
}

void Camera::Update() {
    const double d = dblViewingDistance, v = verAng_, h = horizAng_;
    Point3d e = {d * std::cos(v) * std::cos(h), d * std::cos(v) * std::sin(h), d * std::sin(v)};
    Point3d a1, a2, a3;
    OMBREL_camera_get_axis_system(lngSceneCamera, a1.data(), a2.data(), a3.data());
    a2 = {0, 0, 0};
    Maths::NormalizeVector(e, a1);
    // Keep the old up axis, levelled into the vertical plane through the eye.
    Plane4d plane;
    Maths::PlaneFromThreePoints({0, 0, 0}, e, {0, 0, 1}, plane);
    Maths::ProjectPointOnPlane(a3, plane, a3);
    Maths::NormalizeVector(a3, a3);
    OMBREL_camera_set_axis_system(lngSceneCamera, a1.data(), a2.data(), a3.data());
    Maths::AddVector(e, lookAt_);
    eye_ = e;
    OMBREL_camera_set_location1(lngSceneCamera, eye_.data());
    MoveByLookAtOffset();
    OMBREL_camera_rotate_x_radians(lngSceneCamera, RollAngle, OMBREL_MODE_OWN_AXES);
}

void Camera::ReSetCamDistFrmEye() {
    double zoom = OMBREL_camera_get_zoom(lngSceneCamera);
    if (zoom == 0) core::raiseError("Division by zero: the view camera has no field of view");
    OMBREL_camera_set_distance_from_eye(lngSceneCamera, dblViewingDistance * 0.5 / zoom);
}

void Camera::MouseDown(int, int, float, float) {
    platform::ScreenPoint p = platform::GetCursorPos();
    startX_ = p.x;
    startY_ = p.y;
}

void Camera::MouseMove(int intButton, int, float& sngX, float& sngY) {
    const platform::ScreenSize screen = platform::cursor().screenSize();
    const platform::ScreenPoint pos = platform::GetCursorPos();
    sngX = static_cast<float>(pos.x);
    sngY = static_cast<float>(pos.y);

    // Near a screen edge the pointer jumps to the opposite side so a drag never runs
    // out of room; that step moves nothing. Where the system refuses the jump the
    // step goes on from the relative motion.
    platform::ScreenPoint wrapTo = pos;
    if (pos.y >= screen.height - kEdgeMargin)
        wrapTo.y = kEdgeMargin + 1;
    else if (pos.y <= kEdgeMargin)
        wrapTo.y = screen.height - kEdgeMargin - 1;
    else if (pos.x >= screen.width - kEdgeMargin)
        wrapTo.x = kEdgeMargin + 1;
    else if (pos.x <= kEdgeMargin)
        wrapTo.x = screen.width - kEdgeMargin - 1;
    if (!(wrapTo == pos)) {
        platform::SetCursorPos(wrapTo.x, wrapTo.y);
        if (platform::GetCursorPos() == wrapTo) {
            startX_ = wrapTo.x;
            startY_ = wrapTo.y;
            return;
        }
    }

    const double zoom = OMBREL_camera_get_zoom(lngSceneCamera);
    const double dx = sngX - startX_, dy = sngY - startY_;
    if (intButton == 1) {
        switch (Globals::CurrToolMode) {
        case ToolPan: PanByMouse(dx, dy, zoom); break;
        case ToolRevolve:
            horizAng_ -= dx * 0.01;
            verAng_ += dy * 0.01;
            break;
        case ToolZoomCamera:
            OMBREL_camera_set_zoom(lngSceneCamera, std::clamp(zoom + dy * zoom / 400, 1.0, 179.0));
            break;
        case ToolMoveCamera:
            if (zoom == 0) core::raiseError("Division by zero: the view camera has no field of view");
            dblViewingDistance += dy * Globals::NavSpeedFactor * Globals::WorldSize / (zoom * 10);
            dblViewingDistance = std::max(dblViewingDistance, 1e-05);
            break;
        case ToolRollCamera: RollAngle += dy / 80; break;
        default: break;
        }
    } else if (platform::isKeyHeld('I')) {
        PanByMouse(dx, dy, zoom);
    }
    wrapAngle(horizAng_);
    wrapAngle(verAng_);
    RollAngle = std::clamp(RollAngle, -kRollLimit, kRollLimit);
    startX_ = sngX;
    startY_ = sngY;
}

void Camera::PointAtGrp(int32_t Grp) { OMBREL_group_get_rotate_reference_point(Grp, lookAt_.data()); }

void Camera::PointAtGrpLoc(int32_t Grp) { OMBREL_group_get_location(Grp, &lookAt_[0], &lookAt_[1], &lookAt_[2]); }

void Camera::PointAtLoc(const Point3d& Loc) { lookAt_ = Loc; }

void Camera::SetLookAtOffset(double VerticalAngOffset, double HorizontalAngOffset) {
    vertOffset_ = VerticalAngOffset;
    horizOffset_ = HorizontalAngOffset;
}

void Camera::PanByMouse(double dx, double dy, double zoom) {
    // The step follows the pointer: a world distance per pixel at the reference's depth.
    Point3d eye = {0, 0, 0}, reference = {0, 0, 0};
    OMBREL_camera_get_location1(lngSceneCamera, eye.data());
    int32_t group = Globals::CurrSelEntityType == SelGroup ? Globals::CurrSelEntityHandle : Globals::RootGrp;
    OMBREL_group_get_rotate_reference_point(group, reference.data());
    const auto& widthOf = core::viewHooks().focusedViewWidth;
    const int width = widthOf ? widthOf() : 0;
    if (width <= 0) core::raiseError("Division by zero: the focused view has no width");
    // The zoom is the horizontal field of view in degrees: one pixel at distance d
    // spans d * 2 tan(zoom / 2) / width, so the picture moves with the pointer.
    const double halfAngle = zoom * std::numbers::pi / 360;
    const double k = OMBREL_math_get_distance(eye.data(), reference.data()) * 2 * std::tan(halfAngle) / width *
                     Globals::NavSpeedFactor;
    horizOffset_ -= dx * k;
    vertOffset_ += dy * k;
}

void Camera::MoveByLookAtOffset() {
    OMBREL_camera_move(lngSceneCamera, OMBREL_MODE_OWN_AXES, 0, horizOffset_, 0);
    OMBREL_camera_move(lngSceneCamera, OMBREL_MODE_OWN_AXES, 0, 0, vertOffset_);
}
