// The group commands of the "Edit Geometry" frame: replacing the selected group
// by a reduced or a triangulated copy (one undo record brings the old one back)
// and making it static or dynamic (not recorded).
#include "Form1.h"

#include "core/BoundingBox.h"
#include "core/CoreError.h"
#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/GroupHierarchy.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowProcedures.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "platform/prompts.h"
#include "scene/GroupTreeWalk.h"
#include "undo/ActionUndoRedo.h"
#include "undo/PushThenRun.h"
#include "views/ViewRedraw.h"

#include <QCheckBox>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::string groupKey(int32_t group) { return KeyedTree::NodeKey("Group", group); }

// A copy the engine could not make leaves the selected group where it is.
int32_t madeCopy(int32_t copy) {
    if (copy == 0) core::raiseError(std::string("The group could not be rebuilt: ") + OMBREL_ext_get_last_error());
    return copy;
}

// Every number a copy could change (the points of every polygon, so also how
// many there are), read exactly.
std::vector<double> placement(int32_t group) {
    const int32_t n = OMBREL_ext_get_placement(group, nullptr, 0);
    std::vector<double> values(static_cast<std::size_t>(std::max(n, 0)));
    if (n > 0) OMBREL_ext_get_placement(group, values.data(), n);
    return values;
}

}  // namespace

void Form1::cmdReducePols_Click() {
    using namespace Globals;
    if (CurrSelEntityType != SelGroup) return;
    const std::string answer = platform::prompts().inputNumber("Optimization Level", "Reduce Polygon Count", "");
    // The level is a percentage of the group's largest extent: a cell beyond the
    // whole group would leave nothing of it. Cancel, blanks, anything not a number
    // and a level above 100 change nothing; 0 and below make a plain copy.
    constexpr platform::NumberRange kLevels{-platform::kLengthLimit, 100};
    double level = 0;
    if (!platform::ReadValue(QString::fromStdString(answer), kLevels, level)) return;
    // A plain copy changes nothing: no record to push a real edit out of the history.
    if (level <= 0) return;
    trwGroupView->Item(groupKey(CurrSelEntityHandle));  // the copy's place, before the engine makes it
    const int32_t copy = madeCopy(OMBREL_group_create_reduced_copy(CurrSelEntityHandle, level));
    // No point merged and no polygon dropped: the copy is the group again.
    if (placement(copy) == placement(CurrSelEntityHandle)) {
        OMBREL_group_delete_members(copy);
        return;
    }
    ReplaceSelectedGroup(copy);
}

void Form1::cmdTriangulate_Click() {
    using namespace Globals;
    if (CurrSelEntityType != SelGroup) return;
    // A group of triangles only would be copied as it is: nothing to record.
    bool larger = false;
    const int32_t g = CurrSelEntityHandle;
    for (int32_t p = OMBREL_group_get_first_polygon(g); p != 0 && !larger; p = OMBREL_group_get_next_polygon(g, p))
        larger = OMBREL_polygon_get_num_of_points(p) > 3;
    if (!larger) return;
    trwGroupView->Item(groupKey(CurrSelEntityHandle));  // the copy's place, before the engine makes it
    ReplaceSelectedGroup(madeCopy(OMBREL_group_create_copy_made_of_triangles(CurrSelEntityHandle)));
}

void Form1::ReplaceSelectedGroup(int32_t NewGrp) {
    using namespace Globals;
    const int32_t oldGrp = CurrSelEntityHandle;
    QTreeWidgetItem* oldNode = trwGroupView->Item(groupKey(oldGrp));
    const std::string name = oldNode->text(0).toStdString();
    OMBREL_group_set_name(NewGrp, name.c_str());
    // The engine made the copy last among the old group's siblings: it goes where that one is.
    PutGroupAt(NewGrp, GroupPlace(oldGrp));
    // The copy's node goes right after the old one, whose place it takes when that goes.
    trwGroupView->Add(KeyedTree::ParentKey(oldNode), groupKey(NewGrp), name, scene::GroupImage(NewGrp),
                      trwGroupView->IndexAmongSiblings(oldNode) + 1);
    trwGroupView_PopulateRecursive(NewGrp);

    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActReplaceGrp;
    record->SetActionObjects();
    record->ReplaceGrp->SetGrpThatWasReplaced(oldGrp, OMBREL_group_get_father_group(oldGrp));
    record->ReplaceGrp->SetGrpReplacedWith(NewGrp);
    undo::PushThenRun(std::move(record), [&] {
        FakeDeleteGroup(oldGrp);
        // The selection's own lists follow the copy; the panels show the same name and state.
        MakeGroupTheSelection(NewGrp);
        PrevSelEntityType = SelNone;
        if (SelGrpBndBox) SelGrpBndBox->Initialize(NewGrp);
        treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected();
        UpdateStatusBar();
        NumSelPtsPols = NumSelPts = NumSelPols = 0;
        BuildWeldedPoints(NewGrp);
        UpdateSelPolsRelatedPtsArray();
        UpdateEditGeomTabBasedOnPolsSelected();
        ::UpdateCameras();
    });
}

void Form1::chkGrpDyn_Click() {
    using namespace Globals;
    if (CurrSelEntityType != SelGroup) return;
    if (chkGrpDyn->isChecked())
        OMBREL_group_set_dynamic(CurrSelEntityHandle);
    else
        OMBREL_group_set_static(CurrSelEntityHandle);
}
