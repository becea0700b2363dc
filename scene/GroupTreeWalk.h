// The group hierarchy as the group tree shows it, read from the engine.
#pragma once

#include <cstdint>
#include <vector>

namespace scene {

struct GroupAndFather {
    int32_t group;
    int32_t father;
};

// Every group below the given one, at any depth, in the engine's walk order:
// a father always before its children, siblings in the engine's order. One walk
// of the engine, so a deep or wide world costs the size of the list.
std::vector<GroupAndFather> IncludedGroupsWithFathers(int32_t group);

// The image of a group's node: "Group Invisible" for a group hidden by its own
// flag, else "Group".
const char* GroupImage(int32_t group);

}  // namespace scene
