#include "GroupMoves.h"

#include "CoreError.h"
#include "Globals.h"
#include "MultipleSelection.h"
#include "WindowHooks.h"

#include "ombrel.h"

#include <string>
#include <unordered_set>

namespace Globals {

bool IsGroupOrAncestor(int32_t ancestor, int32_t group) {
    // A chain longer than the world's groups can only be a loop: stop there.
    for (int32_t g = group, steps = 0; g != 0 && steps < 10000000; g = OMBREL_group_get_father_group(g), ++steps)
        if (g == ancestor) return true;
    return false;
}

std::vector<int32_t> OutermostSelectedGroups() {
    std::vector<int32_t> out;
    if (!CurrMultiSel) return out;
    const MultipleSelection& sel = *CurrMultiSel;
    std::unordered_set<int32_t> selected;
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) selected.insert(sel.GetGrp(i));
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) {
        const int32_t g = sel.GetGrp(i);
        bool underSelected = false;
        for (int32_t f = OMBREL_group_get_father_group(g); f != 0 && f != RootGrp && !underSelected;
             f = OMBREL_group_get_father_group(f))
            underSelected = selected.count(f) != 0;
        if (!underSelected) out.push_back(g);
    }
    return out;
}

void SetFatherGroupOrRaise(int32_t group, int32_t father) {
    OMBREL_group_set_father_group(group, father);
    if (OMBREL_group_get_father_group(group) != father)
        core::raiseError("The group " + std::to_string(group) + " cannot go under the group " +
                         std::to_string(father) + ": a group cannot hold one of its own fathers");
}

void RemakeGroupNode(int32_t group, int32_t father) {
    const auto& h = core::windowHooks();
    core::callHook(h.removeGroupNode, group);
    core::callHook(h.addGroupNode, group, father);
}

void UnDeleteGroupAsItWas(int32_t group, int32_t father, bool hidden) {
    OMBREL_group_set_father_group(group, father);
    OMBREL_group_disable(group, hidden ? 1 : 0);
    core::callHook(core::windowHooks().addGroupNode, group, father);
}

}  // namespace Globals
