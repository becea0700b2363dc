#include "DetachPolygons.h"

#include "Globals.h"
#include "SelectionCentres.h"

#include "ombrel.h"

namespace Globals {

int32_t MoveSelPolsIntoNewGroup(const std::string& name) {
    const int32_t group = OMBREL_group_create(name.c_str());
    OMBREL_group_set_father_group(group, RootGrp);
    // The centre is taken now: a selection restored by an Undo leaves it as it was.
    ComputeSelPolsAvgCenter();
    OMBREL_group_set_rotate_reference_point(group, SelPolsAvgCenter.data());
    for (int32_t i = 1; i <= NumSelPols; ++i) OMBREL_polygon_set_group(SelPols[i], group);
    return group;
}

}  // namespace Globals
