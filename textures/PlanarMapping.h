// Planar mapping: every point of the selected polygons gets texture coordinates
// measured in a plane perpendicular to X, Y, Z or to the polygons' averaged
// normal, scaled so that the longer extent runs from 0 to 1 with the proportions
// kept. One undoable step; an open texture-coordinate editor shows it at once.
#pragma once

#include "core/CoreTypes.h"

#include <cstdint>

namespace textures {

// The options of "Mapping Plane Normal", as opnNormal numbers them.
enum MappingNormal : int32_t { NormalX = 0, NormalY = 1, NormalZ = 2, AveragedNormals = 3 };

struct MappingPlanes {
    Plane4d Mapping;  // the points are projected onto it (through the origin)
    Plane4d U;        // signed distance from it: u before scaling
    Plane4d V;        // likewise v
};

// The planes of an option; for AveragedNormals, n is the averaged normal.
MappingPlanes PlanesFor(int32_t option, const Point3d& n);

// The whole command over SelPols; nothing (no record) without a selected polygon
// or when no coordinate changes.
void PlanarMapSelPols(int32_t option);

}  // namespace textures
