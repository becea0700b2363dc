#include "scene_fixture.h"

#include "undo/HideUnhide.h"
#include "undo/UndoRedoCommands.h"

#include "core/GroupHierarchy.h"

#include <string>
#include <vector>

namespace {

using Keys = std::vector<std::string>;

std::string key(int32_t g) { return FakeTrees::groupKey(g); }

class HierarchyActions : public SceneFixture {
protected:
    // Group tree Remove From Group: the group goes to the top level, then the
    // record.
    void removeFromGroup(int32_t g) {
        const int32_t oldFather = OMBREL_group_get_father_group(g);
        Globals::ChangeFatherGroup(g, Globals::RootGrp);
        auto r = record(ActChangeFatherGrp);
        r->ChngFatherGrp->SetParameters(oldFather, Globals::RootGrp, g, 1);
        Globals::UndoRedoStack->Push(std::move(r));
    }
    static std::vector<int32_t> ownPolygons(int32_t g) {
        std::vector<int32_t> own;
        for (int32_t p : polygonsOf(g))
            if (OMBREL_polygon_get_group(p) == g) own.push_back(p);
        return own;
    }
};

TEST_F(HierarchyActions, AGroupWithPolygonsOfItsOwnStaysWhereItIsWhenUngrouped) {
    const int32_t before = makeGroupWithNode("before");
    const int32_t holder = makeGroupWithNode("holder");
    const int32_t a = makeGroupWithNode("a", holder);
    const int32_t b = makeGroupWithNode("b", holder);
    const std::vector<int32_t> own = ownPolygons(holder);
    ASSERT_EQ(own.size(), 2u);
    select(SelGroup, holder);

    undo::UngroupWithUndo(holder);
    EXPECT_EQ(undoableRecords(), 1);
    EXPECT_EQ(OMBREL_group_get_father_group(holder), Globals::RootGrp);
    EXPECT_EQ(ownPolygons(holder), own);
    EXPECT_EQ(OMBREL_group_get_father_group(a), Globals::RootGrp);
    EXPECT_EQ(OMBREL_group_get_father_group(b), Globals::RootGrp);
    EXPECT_EQ(trees.children(""), (Keys{"CAMERA", "LIGHT", key(before), key(holder), key(a), key(b)}));
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(multiGroups(), (std::vector<int32_t>{a, b}));
    EXPECT_EQ(trees.selectedGroup, "");
    EXPECT_EQ(trees.objModeResets, 1);

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(a), holder);
    EXPECT_EQ(trees.children(key(holder)), (Keys{key(a), key(b)}));
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, holder);
    EXPECT_EQ(trees.selectedGroup, key(holder));

    undo::RedoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(b), Globals::RootGrp);
    EXPECT_EQ(undoableRecords(), 1);
    Globals::UndoRedoStack->Reset();
    for (int32_t h : {holder, a, b, own[0], own[1]}) EXPECT_TRUE(alive(h));
}

TEST_F(HierarchyActions, AnEmptiedGroupLeavesTheWorldAndTheSameGroupComesBack) {
    const int32_t top = makeGroupWithNode("top");
    const int32_t holder = makeEmptyGroupWithNode("holder", top);
    const int32_t a = makeGroupWithNode("a", holder);
    const int32_t b = makeGroupWithNode("b", holder);
    const int32_t deep = makeGroupWithNode("deep", b);
    Globals::HideUnhideGroup(a, true);
    select(SelGroup, holder);

    undo::UngroupWithUndo(holder);
    EXPECT_EQ(OMBREL_group_get_father_group(holder), 0);
    EXPECT_EQ(OMBREL_group_is_disable(holder), 1);
    EXPECT_FALSE(trees.has(key(holder)));
    EXPECT_EQ(trees.children(key(top)), (Keys{key(a), key(b)}));
    EXPECT_EQ(trees.image(key(a)), "Group Invisible");  // a hidden child stays hidden
    EXPECT_EQ(trees.parent(key(deep)), key(b));
    EXPECT_EQ(OMBREL_group_get_father_group(deep), b);

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(holder), top);
    EXPECT_EQ(OMBREL_group_is_disable(holder), 0);
    EXPECT_EQ(trees.children(key(top)), Keys{key(holder)});
    EXPECT_EQ(trees.children(key(holder)), (Keys{key(a), key(b)}));
    EXPECT_EQ(trees.image(key(a)), "Group Invisible");
    EXPECT_EQ(trees.parent(key(deep)), key(b));
    EXPECT_EQ(undoableRecords(), 0);

    undo::RedoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(holder), 0);
    EXPECT_EQ(OMBREL_group_get_father_group(a), top);
    EXPECT_EQ(undoableRecords(), 1);

    // Three more edits release the record in force: the emptied group goes, its
    // former children stay.
    for (int i = 0; i < 3; ++i) Globals::UndoRedoStack->Push(record(ActSelect));
    EXPECT_FALSE(alive(holder));
    for (int32_t h : {top, a, b, deep}) EXPECT_TRUE(alive(h));
}

TEST_F(HierarchyActions, AHiddenEmptiedGroupComesBackHidden) {
    const int32_t holder = makeEmptyGroupWithNode("holder");
    const int32_t a = makeGroupWithNode("a", holder);
    Globals::HideUnhideGroup(holder, true);
    select(SelGroup, holder);
    undo::UngroupWithUndo(holder);
    EXPECT_EQ(OMBREL_group_is_disable(a), 0);
    EXPECT_EQ(trees.image(key(a)), "Group");

    undo::UndoCommand();
    EXPECT_EQ(trees.image(key(holder)), "Group Invisible");
    EXPECT_EQ(OMBREL_group_is_disable(holder), 1);
    EXPECT_EQ(OMBREL_group_is_disable(a), 1);
}

TEST_F(HierarchyActions, UngroupingRightAwayDestroysTheEmptiedGroupAndRecordsNothing) {
    const int32_t holder = makeEmptyGroupWithNode("holder");
    const int32_t a = makeGroupWithNode("a", holder);
    select(SelGroup, holder);
    Globals::UngroupGroup(holder, true);
    EXPECT_FALSE(alive(holder));
    EXPECT_FALSE(trees.has(key(holder)));
    EXPECT_EQ(OMBREL_group_get_father_group(a), Globals::RootGrp);
    EXPECT_TRUE(trees.has(key(a)));
    EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
}

TEST_F(HierarchyActions, UndoAndRedoActOnTheRecordedGroupWhateverItsName) {
    const int32_t first = makeEmptyGroupWithNode("twin");
    const int32_t firstChild = makeGroupWithNode("x", first);
    const int32_t second = makeEmptyGroupWithNode("twin");
    const int32_t secondChild = makeGroupWithNode("y", second);
    select(SelGroup, second);
    undo::UngroupWithUndo(second);
    undo::UndoCommand();
    undo::RedoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(second), 0);
    EXPECT_EQ(OMBREL_group_get_father_group(secondChild), Globals::RootGrp);
    EXPECT_EQ(OMBREL_group_get_father_group(first), Globals::RootGrp);
    EXPECT_EQ(OMBREL_group_get_father_group(firstChild), first);
    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(secondChild), second);
    EXPECT_EQ(trees.children(key(first)), Keys{key(firstChild)});
}

TEST_F(HierarchyActions, AGroupWithoutChildGroupsIsNotUngrouped) {
    const int32_t g = makeGroupWithNode("lonely");
    select(SelGroup, g);
    undo::UngroupWithUndo(g);
    EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_TRUE(trees.has(key(g)));
}

TEST_F(HierarchyActions, RemoveFromGroupTwoLevelsDownAndBack) {
    const int32_t top = makeGroupWithNode("top");
    const int32_t mid = makeGroupWithNode("mid", top);
    const int32_t sibling = makeGroupWithNode("sibling", mid);
    const int32_t low = makeGroupWithNode("low", mid);
    const int32_t below = makeGroupWithNode("below", low);
    select(SelGroup, low);
    removeFromGroup(low);
    EXPECT_EQ(OMBREL_group_get_father_group(low), Globals::RootGrp);
    EXPECT_EQ(trees.children("").back(), key(low));
    EXPECT_EQ(trees.parent(key(below)), key(low));

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(low), mid);
    // The receiving father keeps its place below its own father.
    EXPECT_EQ(trees.parent(key(mid)), key(top));
    EXPECT_EQ(trees.children(key(mid)), (Keys{key(sibling), key(low)}));
    EXPECT_EQ(trees.parent(key(below)), key(low));
    EXPECT_EQ(Globals::CurrSelEntityHandle, mid);
    EXPECT_EQ(trees.selectedGroup, key(mid));

    undo::RedoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(low), Globals::RootGrp);
    EXPECT_EQ(trees.parent(key(low)), "");
    EXPECT_EQ(Globals::CurrSelEntityHandle, low);
    EXPECT_EQ(trees.selectedGroup, key(low));
}

TEST_F(HierarchyActions, AHiddenGroupMovedOutOfAShownOneStaysShownHidden) {
    const int32_t top = makeGroupWithNode("top");
    const int32_t low = makeGroupWithNode("low", top);
    Globals::HideUnhideGroup(low, true);
    select(SelGroup, low);
    removeFromGroup(low);
    EXPECT_EQ(trees.image(key(low)), "Group Invisible");
    EXPECT_EQ(OMBREL_group_is_disable(low), 1);
    for (bool undoing : {true, false}) {
        undoing ? undo::UndoCommand() : undo::RedoCommand();
        EXPECT_EQ(trees.image(key(low)), "Group Invisible");
        EXPECT_EQ(OMBREL_group_is_disable(low), 1);
        EXPECT_TRUE(Globals::IsGrpHidden(low));
    }
}

TEST_F(HierarchyActions, OneRecordTakesSeveralAttachedGroupsBack) {
    const int32_t father = makeGroupWithNode("father");
    const int32_t a = makeGroupWithNode("a");
    const int32_t b = makeGroupWithNode("b");
    // The selection window's attach: both go under the chosen group, which
    // becomes the selection.
    Globals::ChangeFatherGroup(a, father);
    Globals::ChangeFatherGroup(b, father);
    select(SelGroup, father);
    auto r = record(ActChangeFatherGrp);
    r->ChngFatherGrp->SetParameters(Globals::RootGrp, father, a, 0);
    r->ChngFatherGrp->AddMovedGrp(b, Globals::RootGrp);
    Globals::UndoRedoStack->Push(std::move(r));

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(a), Globals::RootGrp);
    EXPECT_EQ(OMBREL_group_get_father_group(b), Globals::RootGrp);
    EXPECT_TRUE(trees.children(key(father)).empty());
    EXPECT_EQ(Globals::CurrSelEntityHandle, father);

    undo::RedoCommand();
    EXPECT_EQ(trees.children(key(father)), (Keys{key(a), key(b)}));
    EXPECT_EQ(Globals::CurrSelEntityHandle, father);
}

}  // namespace
