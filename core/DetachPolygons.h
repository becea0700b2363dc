// Moving the selected polygons of the edited group into a group of their own.
#pragma once

#include <cstdint>
#include <string>

namespace Globals {

// Creates the group `name` under RootGrp with its pivot at the selected polygons'
// average centre and moves SelPols(1..NumSelPols) into it, each keeping its
// points, fill and properties. Returns the new group.
int32_t MoveSelPolsIntoNewGroup(const std::string& name);

}  // namespace Globals
