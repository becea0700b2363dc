// What a view showed before it looked through a world camera: its caption and
// its navigation camera, given back when that camera goes.
#pragma once

#include "core/Camera.h"
#include "core/CoreTypes.h"

#include <string>

namespace views {

struct FreeView {
    std::string caption;
    Camera camera;  // the orbit; its engine camera is the view's own
    Point3d a1 = {0, 0, 0}, a2 = {0, 0, 0}, a3 = {0, 0, 0};  // kept by Update as the up axis
    double zoom = 0;
    double eyeDistance = 0;
};

FreeView CaptureFreeView(const Camera& viewCam, const std::string& caption);
// Places viewCam's engine camera as it was captured; the caption is the caller's.
void RestoreFreeView(Camera& viewCam, const FreeView& view);

}  // namespace views
