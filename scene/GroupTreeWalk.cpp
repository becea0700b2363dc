#include "GroupTreeWalk.h"

#include "ombrel.h"

namespace scene {

std::vector<GroupAndFather> IncludedGroupsWithFathers(int32_t group) {
    std::vector<GroupAndFather> out;
    for (int32_t g = OMBREL_group_get_first_included_group(group); g != 0;
         g = OMBREL_group_get_next_included_group(group, g))
        out.push_back({g, OMBREL_group_get_father_group(g)});
    return out;
}

const char* GroupImage(int32_t group) {
    // The own flag, not the inherited state: a child of a hidden group is shown
    // again when its father is.
    return OMBREL_ext_group_get_own_disabled(group) == 1 ? "Group Invisible" : "Group";
}

}  // namespace scene
