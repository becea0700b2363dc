#include "FreeView.h"

#include "ombrel.h"

namespace views {

FreeView CaptureFreeView(const Camera& viewCam, const std::string& caption) {
    FreeView v;
    v.caption = caption;
    v.camera = viewCam;
    v.camera.ViewedSceneCamera = 0;
    const int32_t c = viewCam.lngSceneCamera;
    OMBREL_camera_get_axis_system(c, v.a1.data(), v.a2.data(), v.a3.data());
    v.zoom = OMBREL_camera_get_zoom(c);
    v.eyeDistance = OMBREL_camera_get_distance_from_eye(c);
    return v;
}

void RestoreFreeView(Camera& viewCam, const FreeView& view) {
    const int32_t c = viewCam.lngSceneCamera;
    viewCam = view.camera;
    viewCam.lngSceneCamera = c;
    OMBREL_camera_set_axis_system(c, view.a1.data(), view.a2.data(), view.a3.data());
    OMBREL_camera_set_zoom(c, view.zoom);
    OMBREL_camera_set_distance_from_eye(c, view.eyeDistance);
    viewCam.Update();
}

}  // namespace views
