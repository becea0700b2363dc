// One engine setting over every polygon of a group, and small polygon and palette
// procedures.
#pragma once

#include "CoreTypes.h"

#include <cstdint>

namespace Globals {

void ValidateGroupPolygons(int32_t group);
void SetGroupOrientation(int32_t group);
void SetGroupLightDiminution(int32_t group, double value);
void SetGroupTranslucency(int32_t group, int32_t value);
// The z size of the group's dimensions.
double GetGroupDepth(int32_t group);
// Reverses the data of the points (position, texture coordinates, brightness); the
// point handles stay where they are.
void ReversePolygonPoints(int32_t polygon);
// Mean of the selected polygons' normals, not normalised; plane(3) = 0. Raises an
// error without a selected polygon.
void ComputeSelPolsAvgNormal(Plane4d& plane);
// colour holds red in the low byte; -1 when the engine answers outside 0..255.
int32_t RgbToBitmapIndex(int32_t colour, int32_t bitmap);
int32_t BitmapIndexToRgb(int32_t index, int32_t bitmap);

}  // namespace Globals
