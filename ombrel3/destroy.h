// Destroying polygons and group subtrees, and what depends on them.
#pragma once

#include "records.h"

#include <cstdint>

namespace ombrel {

// Removes a bitmap record from the world list and the handle table.
void unloadBitmapRecord(int32_t bitmap);
// Unloads the engine-made light map the polygon owns, if any, and clears its second bitmap.
void releaseOwnedLightMap(Polygon& polygon);
// Destroys the polygon, its points and its owned light map; removes it from its group and the world.
void destroyPolygon(int32_t polygon);
// Destroys the group, every group below it and all their polygons; lights aimed
// at a destroyed group fall back to the whole world.
void destroyGroupTree(int32_t group);

}  // namespace ombrel
