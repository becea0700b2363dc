// The overlay steps of a view's paint, one function each, in the order the paint
// runs them: the render with the selection's box or wireframe, the transform
// handle, the points of the edited group, the selected track and the track being
// laid. Each draws on OverlayDC and puts back
// the pen it found there.
#pragma once

#include <cstdint>

namespace views {

// The engine camera the view renders through; 0 before the cameras exist.
int32_t SceneCamera(int index);
// Raises the error the trap reports, with the engine's reason.
[[noreturn]] void EngineFailed(const char* what);

// Renders the views of one redraw in one engine call, which walks the world's
// groups once for all of them; each one's next DrawBDBoxOrWire draws over that
// image instead of rendering again. A failed call leaves each to render itself.
void RenderViewsAhead(const int* indexes, int count);
// What RenderViewsAhead rendered and no paint has drawn over yet is forgotten.
void ForgetViewsAhead();

// Renders the view (OverlayDC then holds the image) and draws the selected
// group's box or wireframe, or those of a multiple selection, in the white pen.
void DrawBDBoxOrWire(int Index);
// The view's transform handle over the selection; nothing for a hidden group,
// camera or light.
void DrawGizmo(int Index);
// While points are being edited, every point of the selected group's visible
// polygons as a small blue square.
void DrawGrpPts(int Index);

// The selected track in every view: white lines along its edges (the closing
// edge of a cyclic track too), cut at the near plane, and a blue square on each
// point in front of the eye. A track without points draws nothing.
void DrawSelTrack(int Index);
// While the selected track's points are edited (the camera page, "Point"), a red
// square on each selected point that projects onto the view.
void DrawSelectedTrackPts(int Index);
// The custom track being laid: white lines from point to point in the order
// laid (no closing line) and a red square on each.
void DrawNewTrack(int Index);

}  // namespace views
