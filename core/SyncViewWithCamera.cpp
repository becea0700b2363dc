#include "SyncViewWithCamera.h"

#include "Camera.h"
#include "CoreError.h"
#include "Globals.h"
#include "Maths.h"
#include "ViewHooks.h"

#include "ombrel.h"

#include <cmath>
#include <string>

namespace {

// Horizontal against vertical extent of a direction that counts as vertical.
constexpr double kStraight = 1e-9;

}  // namespace

void SyncViewWithCamera(int32_t camera, int view) {
    if (view < 0 || view > 3 || !Globals::ViewCams[static_cast<std::size_t>(view)])
        core::raiseError("There is no view " + std::to_string(view) + " to follow the camera");
    Camera& viewCam = *Globals::ViewCams[static_cast<std::size_t>(view)];

    Point3d loc = {0, 0, 0}, dir = {0, 0, 0};
    OMBREL_camera_get_location1(camera, loc.data());
    OMBREL_camera_get_direction1(camera, dir.data());
    OMBREL_camera_set_direction(viewCam.lngSceneCamera, 1, 0, 0);

    Point3d lookAt;
    for (int k = 0; k < 3; ++k) lookAt[k] = loc[k] + dir[k] * Globals::WorldSize * 0.5;
    viewCam.PointAtLoc(lookAt);
    Point3d v;
    Maths::VectorFromTo(lookAt, loc, v);
    Point3d a1, a2, a3;
    OMBREL_camera_get_axis_system(camera, a1.data(), a2.data(), a3.data());
    const double level = std::sqrt(v[0] * v[0] + v[1] * v[1]);
    // Looking straight down or up, the direction holds no heading; the camera's
    // second axis, level with the ground, still does. The view then keeps the
    // camera's up axis, which Update levels into the plane of that heading.
    const bool straight = level <= kStraight * std::fabs(v[2]);
    const double horizontal =
        straight ? Maths::GetAngle(a2[0], a2[1]) - Maths::Pi / 2 : Maths::GetAngle(v[0], v[1]) - Maths::Pi;
    if (straight) OMBREL_camera_set_axis_system(viewCam.lngSceneCamera, a1.data(), a2.data(), a3.data());
    const double vertical = Maths::Pi - Maths::GetAngle(level, v[2]);

    // The view takes whole degrees of field of view.
    OMBREL_camera_set_zoom(viewCam.lngSceneCamera, Maths::RoundHalfEven(OMBREL_camera_get_zoom(camera)));
    OMBREL_camera_set_distance_from_eye(viewCam.lngSceneCamera, OMBREL_camera_get_distance_from_eye(camera));
    viewCam.Initialize(Globals::WorldSize * 0.5, horizontal, vertical);
    viewCam.SetLookAtOffset(0, 0);

    // The exact roll of the camera's right axis about its viewing axis: how far A2
    // rises against how far A3 stays up (the elevation of A2 alone is off once the
    // camera is pitched). Straight down or up the kept axes already hold the turn.
    viewCam.RollAngle = straight ? 0 : std::atan2(a2[2], a3[2]);
    viewCam.Update();

    if (core::viewHooks().updateCamerasSingle) core::viewHooks().updateCamerasSingle(view);
}
