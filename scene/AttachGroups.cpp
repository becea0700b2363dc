#include "AttachGroups.h"

#include "core/FakeDeletion.h"
#include "core/GroupHierarchy.h"
#include "core/SelectionChange.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <exception>
#include <memory>

namespace scene {
namespace {

struct Move {
    int32_t group;
    int32_t formerFather;
    int32_t formerPlace;
};

// One record for all the groups attached at once, so one Undo returns them all.
void recordAttach(const std::vector<Move>& moved, int32_t receiver) {
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActChangeFatherGrp;
    record->SetActionObjects();
    record->ChngFatherGrp->SetParameters(moved.front().formerFather, receiver, moved.front().group, 0,
                                         moved.front().formerPlace);
    for (std::size_t i = 1; i < moved.size(); ++i)
        record->ChngFatherGrp->AddMovedGrp(moved[i].group, moved[i].formerFather, moved[i].formerPlace);
    undo::Shared(Globals::UndoRedoStack, "The undo history").Push(std::move(record));
}

}  // namespace

void AttachGroupsUnder(const std::vector<int32_t>& groups, int32_t receiver) {
    std::vector<Move> moved;
    std::exception_ptr refused;
    for (int32_t g : groups) {
        const int32_t former = OMBREL_group_get_father_group(g);
        const int32_t formerPlace = Globals::GroupPlace(g);
        try {
            // The group's node goes under the receiving group's node, which stays where it is.
            Globals::ChangeFatherGroup(g, receiver);
        } catch (...) {
            refused = std::current_exception();
            break;
        }
        moved.push_back({g, former, formerPlace});
    }
    if (!moved.empty()) {
        undo::SelGrpBndBox().Initialize(receiver);
        Globals::ThingsToDoOnSelectedEntityChange();
        recordAttach(moved, receiver);
    }
    if (refused) std::rethrow_exception(refused);
}

}  // namespace scene
