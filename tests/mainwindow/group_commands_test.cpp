// The group commands of the "Edit Geometry" frame: a group replaced by a reduced
// or triangulated copy in its node's place with one undo record that brings the
// old group back with its exact point and polygon selection; the levels the
// reduction takes and refuses; static and dynamic.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QPushButton>

#include <string>
#include <vector>

namespace {

std::string groupKey(int32_t g) { return KeyedTree::NodeKey("Group", g); }

std::vector<int32_t> polygonsOf(int32_t g) {
    std::vector<int32_t> out;
    for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_group_get_next_polygon(g, p)) out.push_back(p);
    return out;
}

int32_t firstPoint(int32_t polygon) { return OMBREL_polygon_get_first_point(polygon); }

// Entries 1..count of a global list.
template <class List>
std::vector<int32_t> listed(const List& list, int32_t count) {
    std::vector<int32_t> out;
    for (int32_t i = 1; i <= count; ++i) out.push_back(list[i]);
    return out;
}

class GroupCommandsTest : public EditorFixture {
protected:
    // A new empty world, the one before it discarded unsaved.
    void freshWorld() {
        if (form().WorldLoaded) platform_.prompts.answer(platform::MsgResult::No);
        OpenEmptyWorld();
    }
    KeyedTree& tree() { return *form().trwGroupView; }
    std::string parentKey(int32_t g) {
        const QTreeWidgetItem* up = tree().Item(groupKey(g))->parent();
        return up ? KeyedTree::Key(up) : "";
    }
    // The group selected through its node, its geometry frame open.
    void select(int32_t g) {
        form().trwGroupView_NodeClick(tree().Item(groupKey(g)));
        ASSERT_EQ(Globals::CurrSelEntityType, SelGroup);
        ASSERT_EQ(Globals::CurrSelEntityHandle, g);
        form().tabWorkspace->setCurrentIndex(1);
        form().cmbObj->setCurrentText("Edit Geometry");
        ASSERT_TRUE(form().cmdTriangulate->isEnabled());
    }
    // Two of the group's polygons and the first point of one, as the geometry
    // editor would have left them selected.
    void selectGeometry(int32_t g) {
        using namespace Globals;
        const std::vector<int32_t> pols = polygonsOf(g);
        SelPols[1] = pols[0];
        SelPols[2] = pols[1];
        NumSelPols = 2;
        SelPts[1] = firstPoint(pols[1]);
        NumSelPts = 1;
        SelPtsPols[1] = pols[1];
        NumSelPtsPols = 1;
    }
};

TEST_F(GroupCommandsTest, TheCopyTakesTheOldPlaceAndOneUndoBringsTheOldGroupBackWithItsSelection) {
    struct Case {
        const char* name;
        bool nested;
        bool reduce;
        bool hidden = false;
    } cases[] = {{"triangulate at the top level", false, false},
                 {"triangulate a nested group", true, false},
                 {"reduce at the top level", false, true},
                 {"reduce a nested group", true, true},
                 {"triangulate a hidden group", false, false, true}};
    Form1& f = StartEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshWorld();
        const int32_t outer = MakeGroup("outer", Globals::RootGrp);
        const int32_t shelf = MakeGroup("shelf", c.nested ? outer : Globals::RootGrp);
        const int32_t board = MakeGroup("board", shelf);
        MakePolygon(shelf, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
        MakePolygon(shelf, {{20, 0}, {20, 10}, {25, 15}, {30, 10}, {30, 0}});
        MakePolygon(board, {{0, 20}, {0, 30}, {10, 30}, {10, 20}});
        if (c.hidden) OMBREL_group_disable(shelf, 1);
        f.trwGroupView_Populate();
        const std::string image = c.hidden ? "Group Invisible" : "Group";
        select(shelf);
        selectGeometry(shelf);
        const std::vector<int32_t> pols = listed(Globals::SelPols, 2);
        const std::vector<int32_t> pts = listed(Globals::SelPts, 1);
        const std::string place = parentKey(shelf);

        if (c.reduce) {
            // Cells of 9.9: the pentagon's top and one of its corners merge.
            platform_.prompts.answerInput("33");
            f.cmdReducePols->click();
        } else {
            f.cmdTriangulate->click();
        }
        const int32_t copy = Globals::CurrSelEntityHandle;
        ASSERT_NE(copy, shelf);
        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
        EXPECT_EQ(Globals::GetEntityName(copy), "shelf");
        EXPECT_EQ(tree().Item(groupKey(copy))->text(0).toStdString(), "shelf");
        EXPECT_EQ(parentKey(copy), place);
        EXPECT_FALSE(tree().Exists(groupKey(shelf)));
        EXPECT_EQ(KeyedTree::Image(tree().Item(groupKey(copy))), image);
        ASSERT_EQ(tree().Item(groupKey(copy))->childCount(), 1) << "the copied sub-group has its node";
        EXPECT_EQ(OMBREL_group_get_father_group(copy), c.nested ? outer : Globals::RootGrp);
        EXPECT_EQ(OMBREL_group_get_father_group(shelf), 0);
        EXPECT_EQ(OMBREL_group_is_disable(shelf), 1);
        EXPECT_EQ(Globals::NumSelPols + Globals::NumSelPts + Globals::NumSelPtsPols, 0);
        const int32_t expected = c.reduce ? 3 : 2 + 3 + 2;
        EXPECT_EQ(OMBREL_group_get_number_of_polygons(copy), expected);
        EXPECT_EQ(f.StatusBarPanel(1).toStdString(), std::to_string(expected));
        ASSERT_NE(Globals::UndoRedoStack->Retrive(), nullptr);
        EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActReplaceGrp);

        // Another selection writes the lists; Undo must give back the old ones.
        Globals::SelPols[1] = Globals::SelPols[2] = polygonsOf(copy)[0];
        f.mnuUndo_Click();
        EXPECT_EQ(Globals::CurrSelEntityHandle, shelf);
        EXPECT_EQ(parentKey(shelf), place);
        EXPECT_FALSE(tree().Exists(groupKey(copy)));
        EXPECT_EQ(OMBREL_group_get_father_group(shelf), c.nested ? outer : Globals::RootGrp);
        EXPECT_EQ(OMBREL_ext_group_get_own_disabled(shelf), c.hidden ? 1 : 0);
        EXPECT_EQ(KeyedTree::Image(tree().Item(groupKey(shelf))), image);
        EXPECT_EQ(OMBREL_group_get_father_group(copy), 0);
        EXPECT_EQ(listed(Globals::SelPols, Globals::NumSelPols), pols);
        EXPECT_EQ(listed(Globals::SelPts, Globals::NumSelPts), pts);
        EXPECT_EQ(listed(Globals::SelPtsPols, Globals::NumSelPtsPols), std::vector<int32_t>{pols[1]});
        EXPECT_EQ(f.StatusBarPanel(1).toStdString(), "3");

        f.mnuRedo_Click();
        EXPECT_EQ(Globals::CurrSelEntityHandle, copy);
        EXPECT_EQ(parentKey(copy), place);
        EXPECT_FALSE(tree().Exists(groupKey(shelf)));
        EXPECT_EQ(Globals::NumSelPols + Globals::NumSelPts + Globals::NumSelPtsPols, 0);
        EXPECT_EQ(Globals::CurrMultiSel->GetGrp(1), copy);
        EXPECT_EQ(KeyedTree::Image(tree().Item(groupKey(copy))), image);
    }
}

TEST_F(GroupCommandsTest, ReleasingTheRecordDestroysOnlyTheGroupLeftOutOfTheWorld) {
    Form1& f = StartEditor();
    for (const bool undone : {false, true}) {
        SCOPED_TRACE(undone ? "released while undone" : "released while done");
        freshWorld();
        const int32_t box = MakeGroup("box", Globals::RootGrp);
        MakePolygon(box, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
        f.trwGroupView_Populate();
        select(box);
        f.cmdTriangulate->click();
        const int32_t copy = Globals::CurrSelEntityHandle;
        if (undone) f.mnuUndo_Click();
        Globals::UndoRedoStack->Reset();
        const int32_t gone = undone ? copy : box;
        const int32_t kept = undone ? box : copy;
        EXPECT_EQ(OMBREL_ext_handle_kind(gone), 0);
        EXPECT_EQ(OMBREL_ext_handle_kind(kept), OMBREL_KIND_GROUP);
        EXPECT_EQ(OMBREL_group_get_father_group(kept), Globals::RootGrp);
    }
}

// A level is a percentage of the group's largest extent: above 0 and up to 100 it
// reaches the engine; 0 and below (an exact copy), above 100 or beyond any length
// change nothing, and so does a level whose cells merge no point (0.5 here).
TEST_F(GroupCommandsTest, LevelsUpTo100ReachTheEngineAndAnythingElseChangesNothing) {
    struct Case {
        std::string answer;
        int copyPolygons;  // -1: nothing happens
    } cases[] = {{"", -1},     {"   ", -1},    {"abc", -1},   {"1e999", -1},  {"inf", -1},
                 {"nan", -1},  {"-1", -1},     {"0", -1},     {"0.5", -1},    {"-1e12", -1},
                 {"101", -1},  {"1e300", -1},  {"-1e300", -1}, {"100", 0}};
    Form1& f = StartEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        freshWorld();
        const int32_t grid = MakeGroup("grid", Globals::RootGrp);
        for (int i = 0; i < 4; ++i) MakePolygon(grid, {{i * 10.0, 0}, {i * 10.0, 10}, {i * 10.0 + 10, 10}, {i * 10.0 + 10, 0}});
        f.trwGroupView_Populate();
        select(grid);
        ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
        platform_.prompts.answerInput(c.answer);
        f.cmdReducePols_Click();
        if (c.copyPolygons < 0) {
            EXPECT_EQ(Globals::CurrSelEntityHandle, grid);
            EXPECT_EQ(Globals::UndoRedoStack->Retrive(), before);
            EXPECT_EQ(tree().Count(), 1);
        } else {
            EXPECT_NE(Globals::CurrSelEntityHandle, grid);
            EXPECT_EQ(OMBREL_group_get_number_of_polygons(Globals::CurrSelEntityHandle), c.copyPolygons);
        }
    }
    // Without a group selected neither command asks or does anything.
    Globals::CurrSelEntityType = SelNone;
    const int32_t groups = tree().Count();
    f.cmdReducePols_Click();
    f.cmdTriangulate_Click();
    EXPECT_EQ(tree().Count(), groups);
}

TEST_F(GroupCommandsTest, DynamicFollowsTheBoxWithoutARecord) {
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    select(box);
    ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
    ASSERT_EQ(OMBREL_group_is_static(box), 1);
    ASSERT_FALSE(f.chkGrpDyn->isChecked());
    f.chkGrpDyn->click();
    EXPECT_EQ(OMBREL_group_is_static(box), 0);
    f.chkGrpDyn->click();
    EXPECT_EQ(OMBREL_group_is_static(box), 1);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), before);
    // Selecting the group again shows its state without changing it.
    OMBREL_group_set_dynamic(box);
    Globals::SetPrevSelEntityToCurrSelEntity();
    Globals::CurrSelEntityType = SelNone;
    Globals::ThingsToDoOnSelectedEntityChange();
    select(box);
    EXPECT_TRUE(f.chkGrpDyn->isChecked());
    EXPECT_EQ(OMBREL_group_is_static(box), 0);
    // With no group selected the box changes nothing.
    Globals::CurrSelEntityType = SelNone;
    f.chkGrpDyn->click();
    EXPECT_EQ(OMBREL_group_is_static(box), 0);
}

}  // namespace

namespace {

// A box of 171 x 171 x 171 segments is accepted by the create panel; triangulated
// it holds more polygons (and points) than any fixed list the editor once had.
TEST_F(GroupCommandsTest, ATriangulatedBigBoxIsEditedWholeInPolygonAndPointMode) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    f.tabWorkspace->setCurrentIndex(0);
    f.cmbNewObjType->setCurrentText("BOX");
    for (QLineEdit* segments : f.txtBoxSegments) segments->setText("171");
    f.cmdCreate->click();
    const int32_t box = Globals::CurrSelEntityHandle;
    ASSERT_EQ(OMBREL_group_get_number_of_polygons(box), 6 * 171 * 171);
    select(box);
    f.cmdTriangulate->click();
    const int32_t triangles = Globals::CurrSelEntityHandle;
    const int32_t count = OMBREL_group_get_number_of_polygons(triangles);
    ASSERT_EQ(count, 12 * 171 * 171);

    f.cmbObjEditGeom->setCurrentText("Polygon");
    f.mnuSelectAll_Click();
    EXPECT_EQ(Globals::NumSelPols, count);
    EXPECT_EQ(Globals::SelPols[count], polygonsOf(triangles).back());
    // Every corner of the box's surface grid, each once.
    EXPECT_EQ(Globals::NumSelPolsRelatedPts, 6 * 171 * 171 + 2);
    f.mnuSelectInvert_Click();
    EXPECT_EQ(Globals::NumSelPols, 0);

    f.cmbObjEditGeom->setCurrentText("Point");
    f.mnuSelectAll_Click();
    EXPECT_EQ(Globals::NumSelPts, 3 * count);
    EXPECT_EQ(Globals::NumSelPtsPols, count);
}

}  // namespace
