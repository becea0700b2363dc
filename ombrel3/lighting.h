// Which polygons each light lights. Lighting itself is evaluated by the renderer
// from the bindings and the lights' current parameters.
#pragma once

#include "records.h"

#include <cstdint>

namespace ombrel {

// The group whose walk the light binds to: its target, or 0 (the whole world)
// when it has none or the target group no longer exists.
int32_t lightTarget(const Light& light);

// Binds the light to exactly the polygons of its target's walk.
void activateLight(const Light& light);

// Removes the light from every polygon.
void unbindLight(int32_t light);

// Re-activates every light whose auto-update state is on; the renderer calls it
// at the start of each render so polygons made since get lit. Disabled lights and
// lights whose save flag is off are only unbound.
void rebindAutoUpdateLights();

}  // namespace ombrel
