// What the light panel's commands share.
#pragma once

namespace Globals {

// Applies a change of the light panel: the selected light is activated again in
// the engine and the views redrawn.
void ActivateSelLight();

}  // namespace Globals
