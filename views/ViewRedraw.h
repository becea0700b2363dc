// The redraw of the views: UpdateCameras is the single entry every edit calls.
// Each view's paint makes its camera current, has the engine render into the
// view's buffer, lays the overlays over the image, presents it, then makes the
// active view's camera current again.
#pragma once

#include <cstdint>

class PicWindow;
class QWidget;
class TransformGizmo;

namespace views {

// What the redraw reads of the main window.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    virtual bool IsWorldLoaded() const = 0;
    virtual bool IsViewMaximized() const = 0;
    virtual int ActiveView() const = 0;
    virtual PicWindow& View(int index) = 0;
    // The window the error window is shown over.
    virtual QWidget* TrapOwner() = 0;
    // The selection is shown as a wireframe (when the box is off).
    virtual bool ShowsWireframe() const = 0;
    // A group, camera or light hidden in its tree; other kinds are never hidden.
    virtual bool IsEntityHidden(int32_t kind, int32_t handle) const = 0;
    // The view's transform handle, or null.
    virtual TransformGizmo* Gizmo(int index) = 0;
    // The workspace shows point editing of the geometry.
    virtual bool EditingPoints() const = 0;
    // The view draws the world's background: the perspective view and a view
    // through a world camera do; an axis view (a degree of field) does not.
    virtual bool ShowsBackground(int index) const = 0;

    // The points of the custom track being laid (x, y, z each) and how many;
    // false while no custom track is being laid.
    virtual bool LaidTrackPoints(const double*& points, int32_t& count) const {
        points = nullptr;
        count = 0;
        return false;
    }
};

// The main window registers itself while it lives (nullptr = none).
void setViewHost(ViewHost* host);
// The registered host; only valid while one is registered.
ViewHost& viewHost();

// Counts paints: the value the view's last finished paint took (0 = never
// painted), so the order of the last redraw can be read back.
uint64_t LastPaintSerial(int index);

}  // namespace views

// Redraws the views: nothing without a world; only the active view while it is
// maximised; otherwise the others in order and the active one last.
void UpdateCameras();
// Redraws one view.
void UpdateCamerasSingle(int Index);
// The paint pipeline of one view, with the standard error trap.
void picWindow_Paint(int Index);
