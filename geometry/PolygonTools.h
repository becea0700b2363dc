// What extrusion, bevel and cutting share.
#pragma once

#include "core/CoreTypes.h"
#include "transform/TransformLimits.h"

#include <cmath>

namespace geometry {

// A position the world can hold: finite and within the transform tools' limit,
// beyond which Undo could not give the geometry back.
inline bool StaysInWorld(const Point3d& p) {
    for (double c : p)
        if (!(std::fabs(c) <= transform::kWorldLimit)) return false;
    return true;
}

}  // namespace geometry
