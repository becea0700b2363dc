// Whether a drag of a view's transform handle is under way. The handle's record
// is pushed at the press and completed at the release, so Undo and Redo must
// leave the history alone in between.
#pragma once

namespace undo {

inline bool& TransformDragFlag() {
    static bool dragging = false;
    return dragging;
}

inline bool IsTransformDragInProgress() { return TransformDragFlag(); }

}  // namespace undo
