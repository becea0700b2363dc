// Visiting every polygon the world can reach, for changes that must leave no
// polygon pointing at a removed light, bitmap or animation.
#pragma once

#include "records.h"

#include <functional>

namespace ombrel {

// Calls f once for each polygon in the world list of added polygons or in a
// group of the world (a polygon in neither is unreachable and left alone).
void forEachPolygon(const std::function<void(Polygon&)>& f);

}  // namespace ombrel
