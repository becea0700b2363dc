// The Group menu: the items each selection offers, and grouping the selected
// groups under a new group with its record, which moves exactly these groups
// back and forth by handle and destroys the group it made only when released
// while undone.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QAction>
#include <QMenu>

#include <set>
#include <string>
#include <vector>

namespace {

std::string groupKey(int32_t g) { return KeyedTree::NodeKey("Group", g); }

class GroupMenuTest : public EditorFixture {
protected:
    KeyedTree& tree() { return *form().trwGroupView; }
    std::string parentKey(int32_t g) {
        const QTreeWidgetItem* up = tree().Item(groupKey(g))->parent();
        return up ? KeyedTree::Key(up) : "";
    }
    std::set<std::string> shownItems() {
        std::set<std::string> out;
        for (QAction* a : form().mnuGrp->actions())
            if (a->isVisible()) out.insert(a->objectName().toStdString());
        return out;
    }
    bool menuEnabled() { return form().mnuGrp->menuAction()->isEnabled(); }
    // The groups become the multiple selection as a rubber band would leave it.
    void selectGroups(const std::vector<int32_t>& groups, const std::vector<int32_t>& lights = {}) {
        using namespace Globals;
        SetPrevSelEntityToCurrSelEntity();
        CurrMultiSel->Reset();
        for (int32_t g : groups) CurrMultiSel->AddGrpHandles(g);
        for (int32_t l : lights) CurrMultiSel->AddLightHandles(l);
        CurrSelEntityType = SelMultiple;
        ComputeSelObjsAvgCenter();
        ThingsToDoOnSelectedEntityChange();
    }
    std::vector<int32_t> selectedGroups() {
        std::vector<int32_t> out;
        for (int32_t i = 1; i <= Globals::CurrMultiSel->NumOfGrps(); ++i) out.push_back(Globals::CurrMultiSel->GetGrp(i));
        return out;
    }
};

TEST_F(GroupMenuTest, TheItemsFollowTheSelection) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t root = Globals::RootGrp;
    const int32_t plain = MakeGroup("plain", root);
    const int32_t holder = MakeGroup("holder", root);
    const int32_t nestedPlain = MakeGroup("nestedPlain", holder);
    const int32_t nestedHolder = MakeGroup("nestedHolder", holder);
    MakeGroup("leaf", nestedHolder);
    const double at[3] = {0, 0, 0};
    const int32_t light = OMBREL_light_create("lamp", at);
    f.trwGroupView_Populate();
    EXPECT_FALSE(menuEnabled()) << "a new world selects nothing";

    struct Case {
        const char* name;
        int32_t kind;
        int32_t handle;
        std::vector<int32_t> groups, lights;  // of a multiple selection
        bool enabled;
        std::set<std::string> shown;
    } cases[] = {
        {"nothing", SelNone, 0, {}, {}, false, {"mnuGrpDelete"}},
        {"a camera", SelCamera, 5, {}, {}, false, {"mnuGrpDelete"}},
        {"a light", SelLight, light, {}, {}, false, {"mnuGrpDelete"}},
        {"a group and a light", SelMultiple, 0, {plain}, {light}, false, {"mnuGrpDelete"}},
        {"two groups and a light", SelMultiple, 0, {plain, holder}, {light}, true, {"mnuGroup"}},
        {"a top-level group", SelGroup, plain, {}, {}, true, {"mnuGrpDelete", "mnuProperties"}},
        {"a nested group", SelGroup, nestedPlain, {}, {}, true, {"mnuDetach", "mnuGrpDelete", "mnuProperties"}},
        {"a top-level group of groups", SelGroup, holder, {}, {}, true,
         {"mnuUngroup", "mnuAttach", "mnuUngroupAll", "mnuGrpDelete", "mnuProperties"}},
        {"a nested group of groups", SelGroup, nestedHolder, {}, {}, true,
         {"mnuUngroup", "mnuAttach", "mnuUngroupAll", "mnuDetach", "mnuGrpDelete", "mnuProperties"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Globals::CurrSelEntityType = c.kind;
        Globals::CurrSelEntityHandle = c.handle;
        Globals::CurrMultiSel->Reset();
        for (int32_t g : c.groups) Globals::CurrMultiSel->AddGrpHandles(g);
        for (int32_t l : c.lights) Globals::CurrMultiSel->AddLightHandles(l);
        f.EnableGrpMenuItems();
        EXPECT_EQ(menuEnabled(), c.enabled);
        EXPECT_EQ(shownItems(), c.shown);
    }

    // The selection path sets the menu; a world change turns it off again.
    f.trwGroupView_NodeClick(tree().Item(groupKey(holder)));
    EXPECT_TRUE(menuEnabled());
    EXPECT_TRUE(f.mnuUngroup->isVisible());
    platform_.prompts.answer(platform::MsgResult::No);
    OpenEmptyWorld();
    EXPECT_FALSE(menuEnabled());
}

TEST_F(GroupMenuTest, GroupingIsUndoneAndRedoneByHandleWithEachChildsOwnFather) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t root = Globals::RootGrp;
    const int32_t shelf = MakeGroup("shelf", root);
    const int32_t first = MakeGroup("twin", root);
    const int32_t second = MakeGroup("twin", shelf);  // the same name, another father
    MakePolygon(first, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    MakePolygon(second, {{20, 0}, {20, 10}, {30, 10}, {30, 0}});
    MakeGroup("pair", root);
    MakeGroup("pair01", root);
    OMBREL_group_disable(second, 1);  // hidden: its node keeps saying so wherever it goes
    f.trwGroupView_Populate();
    selectGroups({first, second});
    auto image = [&](int32_t g) { return KeyedTree::Image(tree().Item(groupKey(g))); };

    platform_.prompts.answerInput("  pair ");
    f.mnuGroup->trigger();
    const int32_t pair = Globals::CurrSelEntityHandle;
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::GetEntityName(pair), "pair02");
    EXPECT_EQ(parentKey(pair), "");
    EXPECT_EQ(tree().Item(groupKey(pair))->text(0).toStdString(), "pair02");
    for (int32_t child : {first, second}) {
        EXPECT_EQ(OMBREL_group_get_father_group(child), pair);
        EXPECT_EQ(parentKey(child), groupKey(pair));
    }
    EXPECT_EQ(f.StatusBarPanel(1).toStdString(), "2");
    EXPECT_EQ(image(pair), "Group");
    EXPECT_EQ(image(second), "Group Invisible");
    ActionUndoRedo* record = Globals::UndoRedoStack->Retrive();
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->ActionType, ActGroupTogather);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        f.mnuUndo_Click();
        EXPECT_EQ(OMBREL_group_get_father_group(first), root);
        EXPECT_EQ(OMBREL_group_get_father_group(second), shelf);
        EXPECT_EQ(parentKey(first), "");
        EXPECT_EQ(parentKey(second), groupKey(shelf));
        EXPECT_EQ(image(second), "Group Invisible");
        EXPECT_EQ(image(first), "Group");
        EXPECT_EQ(OMBREL_group_get_father_group(pair), 0);
        EXPECT_EQ(OMBREL_ext_handle_kind(pair), OMBREL_KIND_GROUP) << "not destroyed while it can come back";
        EXPECT_FALSE(tree().Exists(groupKey(pair)));
        EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
        EXPECT_EQ(selectedGroups(), (std::vector<int32_t>{first, second}));

        f.mnuRedo_Click();
        EXPECT_EQ(Globals::UndoRedoStack->Retrive(), record) << "neither step pushes a record";
        EXPECT_EQ(Globals::CurrSelEntityHandle, pair) << "the same group comes back";
        EXPECT_EQ(OMBREL_group_get_father_group(pair), root);
        EXPECT_EQ(parentKey(pair), "");
        for (int32_t child : {first, second}) EXPECT_EQ(parentKey(child), groupKey(pair));
        EXPECT_EQ(image(pair), "Group");
        EXPECT_EQ(image(second), "Group Invisible");
    }

    // Released while done, the group stays; released while undone, it goes then.
    Globals::UndoRedoStack->Reset();
    EXPECT_EQ(OMBREL_group_get_father_group(pair), root);
    selectGroups({first, shelf});
    platform_.prompts.answerInput("other");
    f.mnuGroup_Click();
    const int32_t other = Globals::CurrSelEntityHandle;
    f.mnuUndo_Click();
    EXPECT_EQ(OMBREL_ext_handle_kind(other), OMBREL_KIND_GROUP);
    Globals::UndoRedoStack->Reset();
    EXPECT_EQ(OMBREL_ext_handle_kind(other), 0);
    EXPECT_EQ(OMBREL_group_get_father_group(first), pair);
    EXPECT_EQ(OMBREL_group_get_father_group(shelf), root);
}

TEST_F(GroupMenuTest, ASelectedDescendantMovesWithItsAncestorAndABlankNameDoesNothing) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t root = Globals::RootGrp;
    const int32_t table = MakeGroup("table", root);
    const int32_t leg = MakeGroup("leg", table);
    const int32_t chair = MakeGroup("chair", root);
    f.trwGroupView_Populate();

    for (const char* answer : {"", "   "}) {
        selectGroups({table, leg, chair});
        ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
        const std::vector<std::string> keys = tree().Keys();
        platform_.prompts.answerInput(answer);
        f.mnuGroup_Click();
        EXPECT_EQ(tree().Keys(), keys);
        EXPECT_EQ(Globals::UndoRedoStack->Retrive(), before);
        EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    }

    // The rubber band in add mode can hold a group and one of its own.
    selectGroups({leg, table, chair});
    platform_.prompts.answerInput("set");
    f.mnuGroup_Click();
    const int32_t set = Globals::CurrSelEntityHandle;
    EXPECT_EQ(OMBREL_group_get_father_group(table), set);
    EXPECT_EQ(OMBREL_group_get_father_group(chair), set);
    EXPECT_EQ(OMBREL_group_get_father_group(leg), table);
    EXPECT_EQ(parentKey(leg), groupKey(table));
    f.mnuUndo_Click();
    EXPECT_EQ(OMBREL_group_get_father_group(table), root);
    EXPECT_EQ(OMBREL_group_get_father_group(leg), table);
    EXPECT_EQ(parentKey(leg), groupKey(table));
}

TEST_F(GroupMenuTest, UngroupRecordsOnceAndUngroupAllFlattensForGoodWithoutHistory) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t root = Globals::RootGrp;
    // top > {middle1 > {leaf1, leaf2}, middle2 > {leaf3 > leaf4}}: only the leaves hold polygons.
    const int32_t top = MakeGroup("top", root);
    const int32_t middle1 = MakeGroup("middle1", top);
    const int32_t middle2 = MakeGroup("middle2", top);
    const int32_t leaf1 = MakeGroup("leaf1", middle1);
    const int32_t leaf2 = MakeGroup("leaf2", middle1);
    const int32_t leaf3 = MakeGroup("leaf3", middle2);
    const int32_t leaf4 = MakeGroup("leaf4", leaf3);
    for (int32_t g : {leaf1, leaf2, leaf3, leaf4}) MakePolygon(g, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    f.trwGroupView_Populate();
    const int32_t polygons = OMBREL_group_get_number_of_polygons(root);

    // Group > Ungroup: one record, which one Undo takes back whole.
    f.trwGroupView_NodeClick(tree().Item(groupKey(middle1)));
    Globals::UndoRedoStack->Reset();
    f.mnuUngroup->trigger();
    EXPECT_EQ(OMBREL_group_get_father_group(leaf1), top);
    EXPECT_EQ(selectedGroups(), (std::vector<int32_t>{leaf1, leaf2}));
    ASSERT_NE(Globals::UndoRedoStack->Retrive(), nullptr);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActUnGroup);
    f.mnuUndo_Click();
    EXPECT_EQ(OMBREL_group_get_father_group(leaf1), middle1);
    EXPECT_EQ(OMBREL_group_get_father_group(middle1), top);
    EXPECT_EQ(Globals::UndoRedoStack->Pop(), nullptr) << "a single record";

    // Ungroup All: anything but Yes keeps the history; Yes clears it and flattens.
    const std::string warning =
        "This action cannot be undone. All previous undo's will be cleared!. Do you wish to continue?";
    f.trwGroupView_NodeClick(tree().Item(groupKey(top)));
    for (platform::MsgResult answer : {platform::MsgResult::No, platform::MsgResult::Cancel}) {
        platform_.prompts.answer(answer);
        f.mnuUngroupAll->trigger();
        EXPECT_TRUE(Globals::UndoRedoStack->HoldsAnyRecord());
        EXPECT_EQ(OMBREL_group_get_father_group(middle1), top);
    }
    platform_.prompts.answer(platform::MsgResult::Yes);
    f.mnuUngroupAll->trigger();
    EXPECT_EQ(platform_.prompts.shown().back().text, warning);
    EXPECT_EQ(platform_.prompts.shown().back().buttons, platform::MsgButtons::YesNoCancel);
    EXPECT_EQ(platform_.prompts.shown().back().icon, platform::MsgIcon::Question);
    EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
    for (int32_t emptied : {top, middle1, middle2}) EXPECT_EQ(OMBREL_ext_handle_kind(emptied), 0) << emptied;
    for (int32_t leaf : {leaf1, leaf2, leaf3, leaf4}) {
        EXPECT_EQ(OMBREL_group_get_father_group(leaf), root) << leaf;
        EXPECT_EQ(parentKey(leaf), "");
    }
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(root), polygons);
    EXPECT_EQ(tree().Count(), 4);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_FALSE(menuEnabled());
}

}  // namespace
