// The redraw of the views: UpdateCameras is the single entry every edit calls.
// Each view's paint makes its camera current, has the engine render into the
// view's buffer and present it, then makes the active view's camera current again.
#pragma once

class PicWindow;
class QWidget;

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
};

// The main window registers itself while it lives (nullptr = none).
void setViewHost(ViewHost* host);

}  // namespace views

// Redraws the views: nothing without a world; only the active view while it is
// maximised; otherwise the others in order and the active one last.
void UpdateCameras();
// Redraws one view.
void UpdateCamerasSingle(int Index);
// The paint pipeline of one view, with the standard error trap.
void picWindow_Paint(int Index);
