// Backgrounds and animations that an undo record keeps out of the world (what an
// undone merge brought): unsaved and without tree nodes until Redo brings them
// back. The engine lists them all the same, so a rebuilt tree leaves them out here.
#pragma once

#include <cstdint>

namespace Globals {

bool IsHeldOutOfWorld(int32_t handle);
void SetHeldOutOfWorld(int32_t handle, bool held);

}  // namespace Globals
