// Copies of a group's subtree: exact, reduced by vertex clustering, and made of
// triangles. Each copy gets the original's father and place; its top group is
// named "<name>_copy" ("_copy2", "_copy3"... until no group has that name).
#pragma once

#include "records.h"

#include <cstdint>

namespace ombrel {

int32_t duplicateTree(const Group& group);
// level: cell size in percent of the group's largest dimension; <= 0 copies exactly.
int32_t reducedCopy(const Group& group, double level);
int32_t triangulatedCopy(const Group& group);

}  // namespace ombrel
