// The mouse wheel: the views have no wheel event of their own; the main loop
// zooms the active view once per pass by the last pending notch.
#include "Form1.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "platform/wheel_queue.h"

#include <algorithm>

namespace {

constexpr double kWheelStep = 3.0;
constexpr double kClosest = 1e-05;

}  // namespace

void Form1::ScrollCheck() {
    using namespace Globals;
    // Notches made while no view has the focus stay queued.
    if (!WorldLoaded || !PicBoxHasFocus) return;
    const int direction = platform::takeWheelDirection();
    if (direction == 0) return;
    auto& camera = ViewCams.at(static_cast<std::size_t>(PicBoxFocused));
    if (!camera) throw platform::EditorError("Object variable not set");
    const double zoom = OMBREL_camera_get_zoom(camera->lngSceneCamera);
    if (zoom == 0) throw platform::EditorError("Division by zero");
    const double step = direction * WorldSize * NavSpeedFactor * kWheelStep / zoom;
    camera->dblViewingDistance += step;
    if (platform::isKeyHeld(platform::vk::Shift)) camera->dblViewingDistance += step;
    camera->dblViewingDistance = std::max(camera->dblViewingDistance, kClosest);
    camera->Update();
    picWindow_Paint(PicBoxFocused);
}
