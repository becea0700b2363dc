// Walks collected into lists, for comparing whole walks in one check.
#pragma once

#include "ombrel.h"

#include <vector>

inline std::vector<int32_t> includedGroups(int32_t g) {
    std::vector<int32_t> out;
    for (int32_t c = OMBREL_group_get_first_included_group(g); c; c = OMBREL_group_get_next_included_group(g, c))
        out.push_back(c);
    return out;
}

inline std::vector<int32_t> groupWalk(int32_t g) {
    std::vector<int32_t> out;
    for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_group_get_next_polygon(g, p)) out.push_back(p);
    return out;
}
