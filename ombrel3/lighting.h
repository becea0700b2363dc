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

// Auto-update lights are bound before each render to the polygons of their walks,
// except those switched off or unsaved (deleted), which light nothing, as after a
// reload. That is redone only for what an edit marked, and gives exactly the
// bindings a re-binding of every polygon would give.
void rebindAutoUpdateLights();

// Marks every binding for redoing (a light's settings or target, the group tree).
void touchBindings();
// Marks one polygon's (it joined or left a group or the world).
void touchBinding(int32_t polygon);

}  // namespace ombrel
