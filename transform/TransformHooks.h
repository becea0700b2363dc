// What the transform tools need from the main window and its views beyond the
// core's hooks: the main window fills these in when it builds its views and
// panels. An empty hook answers as for a missing control (no window, nothing
// hidden, align button up) and does nothing when called.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {
class TransientLayer;
}

namespace transform {

struct TransformHooks {
    // The view's window (its registered surface), to tie the engine camera to.
    std::function<int32_t(int view)> viewWindow;
    // The layer the view paints over its buffer; the hovering handle goes there.
    std::function<platform::TransientLayer*(int view)> viewTransientLayer;
    // The layer changed: the view repaints it (no render).
    std::function<void(int view)> transientLayerChanged;

    // cmbTrackPoint of the camera, track and background page ("Track" or "Point").
    std::function<std::string()> trackPointText;

    // Hidden state, kept by the scene and entity trees.
    std::function<bool(int32_t group)> isGrpHidden;
    std::function<bool(int32_t camera)> isCamHidden;
    std::function<bool(int32_t light)> isLightHidden;

    // Align mode: the main window's world flag, the toolbar's "Align" button, the
    // views' pointer, and the pick under a pixel of the active view (fills
    // PickedEntityType and PickedEntityHandle).
    std::function<bool()> worldLoaded;
    std::function<bool()> alignButtonDown;
    std::function<void(bool down)> setAlignButtonDown;
    std::function<void(const std::string& key)> picWinSetMousePtr;
    std::function<void(int32_t x, int32_t y)> pickEntityAt;
};

inline TransformHooks& transformHooks() {
    static TransformHooks hooks;
    return hooks;
}

}  // namespace transform
