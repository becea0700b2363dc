// The plain cube that stands for a camera or light in the views until the full
// marker shapes come: six quads around the origin, visible from outside.
#pragma once

#include <cstdint>

namespace entities {

// A new fatherless group named name holding the cube of the given edge, every
// face filled with the colour and added to the world. Returns the group.
int32_t BuildMarkerCube(const char* name, double edge, int32_t red, int32_t green, int32_t blue);

}  // namespace entities
