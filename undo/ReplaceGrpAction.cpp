#include "ReplaceGrpAction.h"

#include "HandleList.h"
#include "SharedObjects.h"

#include "core/FakeDeletion.h"
#include "core/GroupHierarchy.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowProcedures.h"

#include "ombrel.h"

void ActionReplaceGrp::SetGrpThatWasReplaced(int32_t group, int32_t father) {
    using namespace Globals;
    Replaced = group;
    Father = father;
    ReplacedHidden = OMBREL_ext_group_get_own_disabled(group) == 1;
    Pts = CopyHandleList(SelPts, NumSelPts);
    NumPts = NumSelPts;
    Pols = CopyHandleList(SelPols, NumSelPols);
    NumPols = NumSelPols;
    PtsPols = CopyHandleList(SelPtsPols, NumSelPtsPols);
    NumPtsPols = NumSelPtsPols;
}

void ActionReplaceGrp::SetGrpReplacedWith(int32_t group) {
    Replacing = group;
    ReplacingHidden = OMBREL_ext_group_get_own_disabled(group) == 1;
}

// The group takes the other's place among its siblings and becomes the selected group; the panels
// are left as they are, for the two share name and kind.
void ActionReplaceGrp::Bring(int32_t group, bool hidden, int32_t gone) {
    using namespace Globals;
    const int32_t place = GroupPlace(gone);
    FakeDeleteGroup(gone);
    UnDeleteGroupAsItWas(group, Father, hidden, place);
    MakeGroupTheSelection(group);
    undo::SelGrpBndBox().Initialize(group);
    // The node of the group that went is gone with it: no previous node to leave.
    PrevSelEntityType = SelNone;
    treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected();
    UpdateStatusBar();
}

void ActionReplaceGrp::Undo() {
    using namespace Globals;
    Bring(Replaced, ReplacedHidden, Replacing);
    SelPts.checkCount(NumPts);
    SelPols.checkCount(NumPols);
    SelPtsPols.checkCount(NumPtsPols);
    NumSelPts = NumPts;
    WriteHandleList(SelPts, Pts, NumPts);
    NumSelPols = NumPols;
    WriteHandleList(SelPols, Pols, NumPols);
    NumSelPtsPols = NumPtsPols;
    WriteHandleList(SelPtsPols, PtsPols, NumPtsPols);
    BuildWeldedPoints(Replaced);
    UpdateSelPolsRelatedPtsArray();
    ComputeSelPtsAvgCenter();
    ComputeSelPolsAvgCenter();
    UpdateEditGeomTabBasedOnPolsSelected();
    Undone = true;
}

void ActionReplaceGrp::Redo() {
    using namespace Globals;
    Bring(Replacing, ReplacingHidden, Replaced);
    NumSelPts = NumSelPols = NumSelPtsPols = 0;
    BuildWeldedPoints(Replacing);
    UpdateSelPolsRelatedPtsArray();
    UpdateEditGeomTabBasedOnPolsSelected();
    Undone = false;
}

void ActionReplaceGrp::Release() {
    const int32_t gone = Undone ? Replacing : Replaced;
    // Only a group still out of the world goes, never one the world holds again.
    if (gone == 0 || OMBREL_ext_handle_kind(gone) != OMBREL_KIND_GROUP) return;
    if (OMBREL_group_get_father_group(gone) != 0) return;
    Globals::DeleteGroupPermanently(gone);
}
