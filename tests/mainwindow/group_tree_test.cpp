// The group tree: built from the engine (shape, order, hidden marks), nodes that
// lead to their group by handle, renaming by label and by the name field with
// undo, the right button's menu, and the nodes that deletion and undo add and
// remove.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/FakeDeletion.h"
#include "core/WindowHooks.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTest>

#include <climits>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::MsgResult;

int32_t makeGroup(const std::string& name, int32_t father) { return MakeGroup(name, father); }

int32_t addSquare(int32_t group) { return MakePolygon(group, {{-5, -5}, {-5, 5}, {5, 5}, {5, -5}}); }

std::string groupKey(int32_t g) { return KeyedTree::NodeKey("Group", g); }

ActionUndoRedo* newest() { return Globals::UndoRedoStack->Retrive(); }

class GroupTreeTest : public EditorFixture {
protected:
    KeyedTree& tree() { return *form().trwGroupView; }
    QTreeWidgetItem* node(int32_t g) { return tree().Item(groupKey(g)); }
    std::string text(int32_t g) { return node(g)->text(0).toStdString(); }
    std::string parentKey(const std::string& key) {
        QTreeWidgetItem* up = tree().Item(key)->parent();
        return up ? KeyedTree::Key(up) : "";
    }

    void release(QTreeWidgetItem* over, Qt::MouseButton button) { ReleaseOverTree(tree(), over, button); }
};

TEST_F(GroupTreeTest, TheTreeHasTheEnginesShapeAndOrderAndNoNodeForADetachedGroup) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t root = Globals::RootGrp;
    const int32_t a = makeGroup("a", root);
    const int32_t b = makeGroup("b", root);
    const int32_t a2 = makeGroup("a2", a);  // attach order, not creation order, rules
    const int32_t a1 = makeGroup("a1", a);
    const int32_t a1x = makeGroup("a1x", a1);
    const int32_t detached = makeGroup("waiting", b);
    OMBREL_group_set_father_group(detached, 0);
    f.trwGroupView_Populate();

    EXPECT_EQ(tree().Keys(), (std::vector<std::string>{groupKey(a), groupKey(a2), groupKey(a1), groupKey(a1x),
                                                       groupKey(b)}));
    EXPECT_EQ(parentKey(groupKey(a)), "");
    EXPECT_EQ(parentKey(groupKey(b)), "");
    EXPECT_EQ(parentKey(groupKey(a1)), groupKey(a));
    EXPECT_EQ(parentKey(groupKey(a1x)), groupKey(a1));
    EXPECT_EQ(text(a1x), "a1x");
    EXPECT_FALSE(tree().Exists(groupKey(detached)));
    EXPECT_FALSE(node(a)->isExpanded());
    EXPECT_TRUE(tree().isEnabled());
}

// Undo takes a group's selection back in the tree too: its row is no longer
// highlighted, and the next click on it selects it again instead of renaming it.
TEST_F(GroupTreeTest, UndoOfAGroupsSelectionTakesItsHighlightAndAClickSelectsItAgain) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t box = makeGroup("box", Globals::RootGrp);
    makeGroup("shelf", Globals::RootGrp);
    f.trwGroupView_Populate();
    tree().show();
    auto click = [&] {
        const QPointF at = tree().visualItemRect(node(box)).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, tree().viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(tree().viewport(), &e);
        }
        QTest::qWait(QApplication::doubleClickInterval() + 100);
    };
    auto labelEditorOpen = [&] {
        QLineEdit* editor = tree().viewport()->findChild<QLineEdit*>();
        return editor && editor->isVisible();
    };
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        click();
        ASSERT_EQ(Globals::CurrSelEntityHandle, box);
        EXPECT_TRUE(node(box)->isSelected());
        EXPECT_FALSE(labelEditorOpen());
        f.mnuUndo_Click();
        ASSERT_EQ(Globals::CurrSelEntityType, SelNone);
        EXPECT_FALSE(node(box)->isSelected());
        EXPECT_FALSE(KeyedTree::Bold(node(box)));
    }
}

TEST_F(GroupTreeTest, HiddenGroupsAreStillMarkedAfterASaveAndAReload) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t root = Globals::RootGrp;
    struct Spec {
        const char* name;
        const char* father;
        bool hidden;
        const char* image;
    };
    // A hidden top-level group, a hidden child of a shown one, and their children.
    const Spec specs[] = {
        {"hiddenTop", "", true, "Group Invisible"},  {"underHidden", "hiddenTop", false, "Group"},
        {"shown", "", false, "Group"},               {"hiddenChild", "shown", true, "Group Invisible"},
        {"underHiddenChild", "hiddenChild", false, "Group"},
    };
    for (const Spec& s : specs) {
        const int32_t father = *s.father ? OMBREL_group_get_using_name(s.father) : root;
        const int32_t g = makeGroup(s.name, father);
        addSquare(g);
        if (s.hidden) OMBREL_group_disable(g, 1);
    }
    const std::string path = tempPath("hidden.wld");
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), root, 0x1203), 0);
    f.LoadWorld(path);
    ASSERT_TRUE(f.WorldLoaded);
    for (const Spec& s : specs) {
        const int32_t g = OMBREL_group_get_using_name(s.name);
        ASSERT_NE(g, 0) << s.name;
        EXPECT_EQ(KeyedTree::Image(node(g)), s.image) << s.name;
        EXPECT_EQ(f.IsGrpHidden(g), s.hidden) << s.name;
    }
}

TEST_F(GroupTreeTest, UndoOfAnAddedWorldTakesItsNodeAwayAndRedoBringsItBackWithItsChildren) {
    const std::string path = SaveSmallWorldFile("crate.wld");
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t added = AddWorldFromMenu(path);
    ASSERT_NE(added, 0);
    const int32_t box = OMBREL_group_get_first_included_group(added);
    ASSERT_NE(box, 0);
    ASSERT_TRUE(tree().Exists(groupKey(box)));

    f.mnuUndo->trigger();
    EXPECT_FALSE(tree().Exists(groupKey(added)));
    EXPECT_FALSE(tree().Exists(groupKey(box)));
    EXPECT_EQ(tree().SelectedItem(), nullptr);

    f.mnuRedo->trigger();
    ASSERT_TRUE(tree().Exists(groupKey(added)));
    EXPECT_EQ(parentKey(groupKey(added)), "");
    EXPECT_EQ(parentKey(groupKey(box)), groupKey(added));
    EXPECT_EQ(text(box), "box");
}

TEST_F(GroupTreeTest, ANodeSelectsItsOwnGroupEvenWhenAnotherHasItsName) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t first = makeGroup("twin", Globals::RootGrp);
    const int32_t second = makeGroup("twin", Globals::RootGrp);
    f.trwGroupView_Populate();
    for (int32_t g : {second, first, second}) {
        ActionUndoRedo* before = newest();
        f.trwGroupView_NodeClick(node(g));
        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
        EXPECT_EQ(Globals::CurrSelEntityHandle, g);
        ASSERT_NE(newest(), before);
        EXPECT_EQ(newest()->ActionType, ActSelect);
        EXPECT_TRUE(KeyedTree::Bold(node(g)));
    }
    EXPECT_FALSE(KeyedTree::Bold(node(first)));
}

TEST_F(GroupTreeTest, AClickChangesAndRecordsTheSelectionOnlyWhenItDiffers) {
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    const int32_t other = makeGroup("other", Globals::RootGrp);
    f.trwGroupView_Populate();
    const int32_t polygon = OMBREL_group_get_first_polygon(box);
    f.AddPolNode(polygon, box);
    tree().Add("", KeyedTree::NodeKey("Group", INT32_MAX), "nowhere", "Group");  // names no group
    const int32_t gone = makeGroup("gone", other);
    f.AddGroupNode(gone, other);
    OMBREL_group_delete_members(gone);

    struct Case {
        const char* name;
        std::function<void()> before;
        std::string key;
        int32_t kind, handle;
        bool recorded;
    };
    const Case cases[] = {
        {"another group", [] {}, groupKey(box), SelGroup, box, true},
        {"the selected group again", [] {}, groupKey(box), SelGroup, box, false},
        // Hide leaves kind 0 with the handle as it was: the group can be picked again.
        {"the group just hidden", [] { Globals::CurrSelEntityType = SelNone; }, groupKey(box), SelGroup, box, true},
        {"a polygon node", [] {}, KeyedTree::NodeKey("Pol", polygon), SelGroup, box, false},
        {"a handle that names no group", [] {}, KeyedTree::NodeKey("Group", INT32_MAX), SelGroup, box, false},
        {"a group that is gone", [] {}, groupKey(gone), SelGroup, box, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        ActionUndoRedo* before = newest();
        f.trwGroupView_NodeClick(tree().Item(c.key));
        EXPECT_EQ(Globals::CurrSelEntityType, c.kind);
        EXPECT_EQ(Globals::CurrSelEntityHandle, c.handle);
        EXPECT_EQ(newest() != before, c.recorded);
    }
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(GroupTreeTest, AMouseClickOnANodeSelectsItsGroup) {
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    f.tabWorkspace->setCurrentIndex(0);
    tree().show();
    const QPoint at = tree().visualItemRect(node(box)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, tree().viewport()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree().viewport(), &e);
    }
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, box);
}

TEST_F(GroupTreeTest, TheRightButtonSelectsTheGroupUnderThePointerBeforeItsMenuPopsUp) {
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    const int32_t polygon = OMBREL_group_get_first_polygon(box);
    f.AddPolNode(polygon, box);
    node(box)->setExpanded(true);
    bool selectedBeforeMenu = false;
    f.SetGroupMenuItems = [&] { selectedBeforeMenu = Globals::CurrSelEntityHandle == box; };

    platform_.prompts.answerMenu("");
    release(node(box), Qt::RightButton);
    EXPECT_TRUE(selectedBeforeMenu);
    EXPECT_EQ(tree().SelectedItem(), node(box));
    EXPECT_EQ(newest()->ActionType, ActSelect);
    ASSERT_EQ(platform_.prompts.shown().size(), 2u);  // the template chooser, then the menu
    EXPECT_EQ(platform_.prompts.shown().back().text, "mnuGroupMenu");

    // A polygon node, empty space and the left button pop nothing up (an
    // unscripted menu would fail the test).
    selectedBeforeMenu = false;
    release(tree().Item(KeyedTree::NodeKey("Pol", polygon)), Qt::RightButton);
    release(nullptr, Qt::RightButton);
    release(node(box), Qt::LeftButton);
    EXPECT_EQ(platform_.prompts.shown().size(), 2u);
    EXPECT_FALSE(selectedBeforeMenu);
}

// ---- renaming

class GroupRenameTest : public GroupTreeTest {
protected:
    void start() {
        StartEditor();
        box = OpenSmallWorld();
        other = makeGroup("other", Globals::RootGrp);
        form().trwGroupView_Populate();
        form().trwGroupView_NodeClick(node(box));
        polygon = OMBREL_group_get_first_polygon(box);
        OMBREL_polygon_set_name(polygon, "Extruded Pol");
        form().AddPolNode(polygon, box);
    }
    int32_t box = 0, other = 0, polygon = 0;
};

TEST_F(GroupRenameTest, LabelEditsRenameTheirGroupOrPolygonOnceWithARecord) {
    start();
    Form1& f = form();
    struct Case {
        const char* name;
        bool polygonNode;
        std::string typed;
        std::string engineName;  // afterwards
        bool recorded;
    };
    const Case cases[] = {
        {"its own name", false, "box", "box", false},
        {"its own name padded", false, "  box ", "box", false},
        {"another group's name", false, "other", "other01", true},
        {"that name again: its own other01 is free", false, "other", "other01", false},
        {"a free name padded", false, "  crate  ", "crate", true},
        {"blanks only", false, "   ", "crate", false},
        {"empty", false, "", "crate", false},
        {"a long name of other characters", false, std::string(120, 'x') + "Çà\"q\\" + std::string(126, 'y'),
         std::string(120, 'x') + "Çà\"q\\" + std::string(126, 'y'), true},
        {"a polygon padded", true, "  Lid ", "Lid", true},
        {"a polygon the same", true, "Lid", "Lid", false},
        {"a polygon blanks only", true, "  ", "", true},
        {"a polygon empty", true, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t handle = c.polygonNode ? polygon : box;
        QTreeWidgetItem* n = c.polygonNode ? tree().Item(KeyedTree::NodeKey("Pol", polygon)) : node(box);
        const std::string textBefore = n->text(0).toStdString();
        ActionUndoRedo* before = newest();
        tree().EndLabelEdit(n, c.typed);
        EXPECT_EQ(Globals::GetEntityName(handle), c.engineName);
        const bool refused = c.typed.empty() || (!c.polygonNode && c.typed.find_first_not_of(' ') == std::string::npos);
        EXPECT_EQ(n->text(0).toStdString(), refused ? textBefore : c.engineName);
        if (!c.polygonNode) {
            EXPECT_EQ(f.txtSelectedGrpName->text().toStdString(), c.engineName);
        }
        ASSERT_EQ(newest() != before, c.recorded);
        if (c.recorded) {
            EXPECT_EQ(newest()->ActionType, ActRenameEntity);
        }
    }
    EXPECT_EQ(Globals::GetEntityName(other), "other");
}

// The engine keeps 254 bytes of a name; "€" takes three.
TEST_F(GroupRenameTest, NamesFitTheEngineBetweenCharacters) {
    start();
    const std::string euro = "\xE2\x82\xAC";
    const std::string full = std::string(251, 'a') + euro;  // the euro sits across the cut for "01"
    struct Case {
        const char* name;
        std::string otherName, typed;
        std::string result;  // of "box"
    };
    const Case cases[] = {
        {"a full-length name taken", full, full, std::string(251, 'a') + "01"},
        {"a longer name, free", "other", full + euro, full},
        {"a longer name cut to one taken", full, full + euro, std::string(251, 'a') + "01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [g, name] : {std::pair{other, c.otherName}, std::pair{box, std::string("box")}}) {
            OMBREL_group_set_name(g, name.c_str());
            node(g)->setText(0, QString::fromStdString(name));
        }
        ActionUndoRedo* before = newest();
        tree().EndLabelEdit(node(box), c.typed);
        EXPECT_EQ(Globals::GetEntityName(box), c.result);
        EXPECT_EQ(text(box), c.result);
        EXPECT_EQ(Globals::GetEntityName(other), c.otherName);
        EXPECT_NE(newest(), before);
    }
}

TEST_F(GroupRenameTest, UndoAndRedoSwitchTheNamesOfNodeEngineAndField) {
    start();
    Form1& f = form();
    tree().EndLabelEdit(node(box), "crate");
    tree().EndLabelEdit(tree().Item(KeyedTree::NodeKey("Pol", polygon)), "Lid");
    // A rename of a group that is not selected leaves the field alone.
    tree().EndLabelEdit(node(other), "shelf");
    EXPECT_EQ(f.txtSelectedGrpName->text(), "crate");

    f.mnuUndo->trigger();
    EXPECT_EQ(text(other), "other");
    EXPECT_EQ(Globals::GetEntityName(other), "other");
    EXPECT_EQ(f.txtSelectedGrpName->text(), "crate");
    // Polygon nodes do not come back with their polygons: the name does anyway.
    f.RemovePolNode(polygon);
    f.mnuUndo->trigger();
    EXPECT_EQ(Globals::GetEntityName(polygon), "Extruded Pol");
    f.mnuUndo->trigger();
    EXPECT_EQ(text(box), "box");
    EXPECT_EQ(Globals::GetEntityName(box), "box");
    EXPECT_EQ(f.txtSelectedGrpName->text(), "box");

    for (int i = 0; i < 3; ++i) f.mnuRedo->trigger();
    EXPECT_EQ(text(box), "crate");
    EXPECT_EQ(f.txtSelectedGrpName->text(), "crate");
    EXPECT_EQ(Globals::GetEntityName(polygon), "Lid");
    EXPECT_EQ(Globals::GetEntityName(other), "shelf");
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(GroupRenameTest, TheLabelEditorOfTheTreeRenamesThroughTheSameHandler) {
    start();
    tree().show();
    tree().SetSelectedItem(node(box));
    tree().StartLabelEdit(node(box));
    auto* editor = tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("  pallet ");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    QApplication::processEvents();  // the editor commits once the key press is over
    EXPECT_EQ(text(box), "pallet");
    EXPECT_EQ(Globals::GetEntityName(box), "pallet");
    // The gallery's tree has no label editing.
    EXPECT_FALSE(form().trwModel->LabelEditing());
    EXPECT_TRUE(tree().LabelEditing());
}

TEST_F(GroupRenameTest, TheNameFieldRenamesOnEnterAndDropsAnEditOnEscapeOrLeaving) {
    start();
    Form1& f = form();
    f.tabWorkspace->setCurrentIndex(1);
    QLineEdit& field = *f.txtSelectedGrpName;
    ActionUndoRedo* before = newest();
    struct Case {
        const char* name;
        std::string typed;
        int key;  // 13 Enter, 27 Escape, 0 the field left
        std::string engineName, nodeText, fieldText;
    };
    const Case cases[] = {
        // Taken as typed, even a name another group has; never recorded.
        {"a duplicate name", "other", 13, "other", "other", "other"},
        {"padded text", " shelf ", 13, " shelf ", " shelf ", " shelf "},
        {"blanks only", "   ", 13, " shelf ", " shelf ", " shelf "},
        {"Escape", "crate", 27, " shelf ", " shelf ", " shelf "},
        {"the field left", "crate", 0, " shelf ", " shelf ", " shelf "},
        // Shown as the engine keeps it: 254 bytes, cut before the character across.
        {"a name too long", std::string(253, 'w') + "\xC3\xA9", 13, std::string(253, 'w'), std::string(253, 'w'),
         std::string(253, 'w')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        field.setText(QString::fromStdString(c.typed));
        EXPECT_TRUE(f.GrpNameEditMarked());
        if (c.key)
            f.txtSelectedGrpName_KeyPress(c.key);
        else
            f.txtSelectedGrpName_LostFocus();
        EXPECT_EQ(Globals::GetEntityName(box), c.engineName);
        EXPECT_EQ(text(box), c.nodeText);
        EXPECT_EQ(field.text().toStdString(), c.fieldText);
        // Leaving puts the name back but the mark stays until Enter or Escape.
        EXPECT_EQ(f.GrpNameEditMarked(), c.key == 0);
    }
    EXPECT_EQ(newest(), before);
    EXPECT_EQ(Globals::GetEntityName(other), "other");

    // On another page a change leaves no mark.
    f.txtSelectedGrpName_KeyPress(27);
    f.tabWorkspace->setCurrentIndex(0);
    field.setText("x");
    EXPECT_FALSE(f.GrpNameEditMarked());
}

// ---- nodes of deletion and undo, and bad input

TEST_F(GroupTreeTest, DeletionAndUndoAddAndRemoveNodesThroughTheHooks) {
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    const int32_t inner = makeGroup("inner", box);
    const int32_t sub = makeGroup("sub", inner);
    OMBREL_group_disable(inner, 1);
    f.trwGroupView_Populate();
    f.trwGroupView_NodeClick(node(inner));
    auto& hooks = core::windowHooks();

    hooks.removeGroupNode(inner);
    EXPECT_FALSE(tree().Exists(groupKey(inner)));
    EXPECT_FALSE(tree().Exists(groupKey(sub)));
    EXPECT_EQ(tree().SelectedItem(), nullptr);
    hooks.addGroupNode(inner, box);
    EXPECT_EQ(parentKey(groupKey(inner)), groupKey(box));
    EXPECT_EQ(parentKey(groupKey(sub)), groupKey(inner));
    EXPECT_EQ(KeyedTree::Image(node(inner)), "Group Invisible");
    EXPECT_EQ(KeyedTree::Image(node(sub)), "Group");
    hooks.removeGroupNode(box);
    hooks.addGroupNode(box, Globals::RootGrp);
    EXPECT_EQ(parentKey(groupKey(box)), "");

    const int32_t polygon = OMBREL_group_get_first_polygon(box);
    OMBREL_polygon_set_name(polygon, "Cut Pol");
    hooks.addPolNode(polygon, box);
    QTreeWidgetItem* pol = tree().Item(KeyedTree::NodeKey("Pol", polygon));
    EXPECT_EQ(pol->parent(), node(box));
    EXPECT_EQ(pol->text(0), "Cut Pol");
    EXPECT_EQ(KeyedTree::Image(pol), "Pol");
    hooks.removePolNode(polygon);
    EXPECT_FALSE(tree().Exists(KeyedTree::NodeKey("Pol", polygon)));
    hooks.removePolNode(polygon);  // a missing node is passed over
    // Bringing polygons back leaves the tree alone.
    Globals::UnDeletePols(std::vector<int32_t>{0, polygon}, 1, box);
    EXPECT_FALSE(tree().Exists(KeyedTree::NodeKey("Pol", polygon)));
}

TEST_F(GroupTreeTest, AWorldAThousandDeepAndLongForeignNamesAreShownWhole) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const std::string name = "ü\"\\'" + std::string(244, 'n') + "€ö";  // 254 bytes
    ASSERT_EQ(name.size(), 254u);
    std::vector<int32_t> chain{Globals::RootGrp};
    for (int i = 0; i < 1000; ++i) chain.push_back(makeGroup(i == 999 ? name : "link", chain.back()));
    f.trwGroupView_Populate();
    EXPECT_EQ(tree().Count(), 1000);
    EXPECT_EQ(parentKey(groupKey(chain[1000])), groupKey(chain[999]));
    EXPECT_EQ(text(chain[1000]), name);
    f.trwGroupView_NodeClick(node(chain[1000]));
    EXPECT_EQ(Globals::CurrSelEntityHandle, chain[1000]);
    // The deepest node was opened up to and shown.
    EXPECT_TRUE(node(chain[1])->isExpanded());
    f.UnloadWorld();
    EXPECT_EQ(tree().Count(), 0);
}

}  // namespace
