// The selection window, scripted through the modal seam: what it lists (top-level
// groups, cameras and lights by their nodes, never hidden ones), its filters, the
// lines it marks without touching the selection, the ways out (OK, Enter, double
// click, Esc, Cancel), selecting by name with its record, and a view looking
// through the chosen camera.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "ombrel.h"
#include "scene/AttachGroups.h"
#include "scene/formSelectionWindow.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QAction>
#include <QPushButton>

#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace {

using Line = std::pair<std::string, int32_t>;  // text and handle

std::vector<Line> lines(const QListWidget* list) {
    std::vector<Line> out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back({list->item(i)->text().toStdString(), formSelectionWindow::LineHandle(list->item(i))});
    return out;
}

std::vector<int32_t> marked(const QListWidget* list) {
    std::vector<int32_t> out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) out.push_back(formSelectionWindow::LineHandle(list->item(i)));
    return out;
}

// Selects exactly the lines of these handles.
void choose(QListWidget* list, const std::vector<int32_t>& handles) {
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
        for (int32_t h : handles)
            if (formSelectionWindow::LineHandle(list->item(i)) == h) list->item(i)->setSelected(true);
}

void press(QWidget* target, Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
}

class SelectionWindowTest : public EditorFixture {
protected:
    // Top-level groups "desk", "twin", "twin" and a hidden "ghost"; "drawer" inside
    // "desk"; cameras "front" and a hidden "back"; lights "lamp" and a hidden "dim".
    void SetUp() override {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        const int32_t root = Globals::RootGrp;
        desk = MakeGroup("desk", root);
        drawer = MakeGroup("drawer", desk);
        twin1 = MakeGroup("twin", root);
        twin2 = MakeGroup("twin", root);
        ghost = MakeGroup("ghost", root);
        for (int32_t g : {desk, drawer, twin1, twin2, ghost}) MakePolygon(g, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
        OMBREL_group_disable(ghost, 1);
        front = OMBREL_camera_create("front");
        back = OMBREL_camera_create("back");
        const double at[3] = {0, 0, 0};
        lamp = OMBREL_light_create("lamp", at);
        dim = OMBREL_light_create("dim", at);
        f.trwGroupView_Populate();
        f.trwCamTrackBK_Populate();
        f.trwLight_Populate();
        f.trwCamTrackBK->SetImage(f.trwCamTrackBK->Item(KeyedTree::NodeKey("Camera", back)), "Cam Invisible");
        f.trwLight->SetImage(f.trwLight->Item(KeyedTree::NodeKey("Light", dim)), "Light Invisible");
    }

    void selectThroughTree(int32_t group) {
        form().trwGroupView_NodeClick(form().trwGroupView->Item(KeyedTree::NodeKey("Group", group)));
    }

    int32_t desk = 0, drawer = 0, twin1 = 0, twin2 = 0, ghost = 0, front = 0, back = 0, lamp = 0, dim = 0;
};

TEST_F(SelectionWindowTest, ListsVisibleTopLevelEntitiesByHandleAndFiltersThem) {
    Form1& f = form();
    selectThroughTree(drawer);
    bool seen = false;
    platform_.prompts.answerWindow<formSelectionWindow>([&](formSelectionWindow& w) {
        seen = true;
        EXPECT_EQ(w.windowTitle().toStdString(), "Selection Window");
        ASSERT_EQ(w.ShownList(), w.lstSelection[1]);
        EXPECT_TRUE(w.lstSelection[1]->isVisible());
        EXPECT_FALSE(w.lstSelection[0]->isVisible());
        EXPECT_TRUE(w.chkGroups->isEnabled());
        const std::vector<Line> all = {{"front", front}, {"lamp", lamp}, {"desk", desk}, {"twin", twin1},
                                       {"twin", twin2}};
        EXPECT_EQ(lines(w.ShownList()), all);
        // A nested group stands for its top-level ancestor's line...
        EXPECT_EQ(marked(w.ShownList()), std::vector<int32_t>{desk});
        // ...while the selection itself stays the nested group.
        EXPECT_EQ(Globals::CurrSelEntityHandle, drawer);

        w.chkGroups->click();
        EXPECT_EQ(lines(w.ShownList()), (std::vector<Line>{{"front", front}, {"lamp", lamp}}));
        w.chkCams->click();
        w.chkGroups->click();
        EXPECT_EQ(lines(w.ShownList()), (std::vector<Line>{{"lamp", lamp}, {"desk", desk}, {"twin", twin1},
                                                           {"twin", twin2}}));
        w.cmdCancel->click();
    });
    f.ShowSelectByNameWindow();
    EXPECT_TRUE(seen);
    EXPECT_EQ(Globals::CurrSelEntityHandle, drawer);
}

TEST_F(SelectionWindowTest, SelectsTheChosenLinesOwnEntitiesWithOneRecord) {
    Form1& f = form();
    struct Case {
        const char* name;
        std::vector<int32_t> chosen;
        int32_t kind;
        int32_t handle;  // for one entity
        std::vector<int32_t> groups, lights, cameras;
    } cases[] = {
        {"the second of two same-named groups", {twin2}, SelGroup, twin2, {twin2}, {}, {}},
        {"the first of them", {twin1}, SelGroup, twin1, {twin1}, {}, {}},
        {"a camera", {front}, SelCamera, front, {}, {}, {front}},
        {"a light", {lamp}, SelLight, lamp, {}, {lamp}, {}},
        {"several kinds", {front, lamp, twin2, desk}, SelMultiple, 0, {desk, twin2}, {lamp}, {front}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selectThroughTree(ghost);
        ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
        platform_.prompts.answerWindow<formSelectionWindow>([&](formSelectionWindow& w) {
            choose(w.ShownList(), c.chosen);
            w.cmdOk->click();
        });
        f.ShowSelectByNameWindow();
        EXPECT_EQ(Globals::CurrSelEntityType, c.kind);
        if (c.kind != SelMultiple) {
            EXPECT_EQ(Globals::CurrSelEntityHandle, c.handle);
        }
        const MultipleSelection& multi = *Globals::CurrMultiSel;
        if (c.kind == SelMultiple) {
            ASSERT_EQ(multi.NumOfGrps(), static_cast<int32_t>(c.groups.size()));
            for (std::size_t i = 0; i < c.groups.size(); ++i) EXPECT_EQ(multi.GetGrp(static_cast<int32_t>(i) + 1), c.groups[i]);
            EXPECT_EQ(multi.NumOfLights(), 1);
            EXPECT_EQ(multi.NumOfCams(), 1);
        }
        ActionUndoRedo* record = Globals::UndoRedoStack->Retrive();
        ASSERT_NE(record, before);
        EXPECT_EQ(record->ActionType, ActSelect);
    }

    // Opening on a multiple selection marks its lines; choosing the same ones records nothing.
    ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
    platform_.prompts.answerWindow<formSelectionWindow>([&](formSelectionWindow& w) {
        EXPECT_EQ(marked(w.ShownList()), (std::vector<int32_t>{front, lamp, desk, twin2}));
        w.cmdOk->click();
    });
    f.ShowSelectByNameWindow();
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), before);
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
}

TEST_F(SelectionWindowTest, EscAndCancelLeaveEverythingEnterAndDoubleClickAct) {
    Form1& f = form();
    selectThroughTree(twin1);
    Globals::NumSelPts = 1;  // a point selection that only a real change may drop
    struct Case {
        const char* name;
        void (*leave)(formSelectionWindow&);
        bool acts;
    } cases[] = {
        {"Esc", [](formSelectionWindow& w) { press(&w, Qt::Key_Escape); }, false},
        {"Cancel", [](formSelectionWindow& w) { w.cmdCancel->click(); }, false},
        {"closing the window", [](formSelectionWindow& w) { w.close(); }, false},
        {"Enter in the list", [](formSelectionWindow& w) { press(w.ShownList(), Qt::Key_Return); }, true},
        {"Enter in the window", [](formSelectionWindow& w) { press(&w, Qt::Key_Enter); }, true},
        {"a double click", [](formSelectionWindow& w) { w.lstSelection_DblClick(1); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
        const int32_t selected = Globals::CurrSelEntityHandle;
        const int32_t other = selected == twin1 ? twin2 : twin1;
        platform_.prompts.answerWindow<formSelectionWindow>([&](formSelectionWindow& w) {
            choose(w.ShownList(), {other});
            c.leave(w);
            EXPECT_FALSE(w.isVisible());
        });
        f.ShowSelectByNameWindow();
        if (c.acts) {
            EXPECT_EQ(Globals::CurrSelEntityHandle, other);
            EXPECT_NE(Globals::UndoRedoStack->Retrive(), before);
        } else {
            EXPECT_EQ(Globals::CurrSelEntityHandle, selected);
            EXPECT_EQ(Globals::UndoRedoStack->Retrive(), before);
            EXPECT_EQ(Globals::NumSelPts, 1);
        }
        Globals::NumSelPts = 1;
    }

    // OK with no line chosen clears the selection and records nothing.
    ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
    platform_.prompts.answerWindow<formSelectionWindow>([&](formSelectionWindow& w) {
        w.ShownList()->clearSelection();
        w.cmdOk->click();
    });
    f.ShowSelectByNameWindow();
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), before);
}

TEST_F(SelectionWindowTest, AViewLooksThroughTheChosenCameraByHandle) {
    Form1& f = form();
    OMBREL_camera_set_name(back, "front");  // the same name as the other camera
    f.trwCamTrackBK_Populate();
    selectThroughTree(desk);
    platform_.prompts.answerWindow<formSelectionWindow>([&](formSelectionWindow& w) {
        EXPECT_EQ(w.ShownList(), w.lstSelection[0]);
        EXPECT_FALSE(w.chkCams->isEnabled());
        EXPECT_EQ(lines(w.ShownList()), (std::vector<Line>{{"front", front}, {"front", back}}));
        choose(w.ShownList(), {back});
        w.cmdOk->click();
    });
    EXPECT_TRUE(scene::ShowSelectionWindow(&f, 0, -1, 0, -1, formSelectionWindow::ViewThroughCamera, 0, 2));
    EXPECT_EQ(Globals::ViewCams[2]->ViewedSceneCamera, back);
    EXPECT_EQ(f.lblPicView[2]->text().toStdString(), "Camera");
    EXPECT_EQ(f.lblPicView[2]->toolTip().toStdString(), "front");
    EXPECT_EQ(Globals::ChosenViewType, ViewWorldCamera);
    EXPECT_EQ(Globals::CurrSelEntityHandle, desk) << "the selection is not the window's business here";

    // Without a chosen line nothing changes.
    platform_.prompts.answerWindow<formSelectionWindow>([](formSelectionWindow& w) { w.cmdOk->click(); });
    scene::ShowSelectionWindow(&f, 0, -1, 0, -1, formSelectionWindow::ViewThroughCamera, 0, 1);
    EXPECT_EQ(Globals::ViewCams[1]->ViewedSceneCamera, 0);
    EXPECT_NE(f.lblPicView[1]->text().toStdString(), "Camera");
}

TEST_F(SelectionWindowTest, AttachMovesTheChosenGroupsUnderTheNestedReceiverWithOneRecord) {
    Form1& f = form();
    KeyedTree& tree = *f.trwGroupView;
    auto parentKey = [&](int32_t g) {
        const QTreeWidgetItem* up = tree.Item(KeyedTree::NodeKey("Group", g))->parent();
        return up ? KeyedTree::Key(up) : std::string();
    };
    selectThroughTree(drawer);

    // OK with nothing chosen attaches nothing and records nothing.
    ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
    platform_.prompts.answerWindow<formSelectionWindow>([](formSelectionWindow& w) { w.cmdOk->click(); });
    f.mnuAttach->trigger();
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), before);
    EXPECT_EQ(OMBREL_group_get_father_group(twin1), Globals::RootGrp);

    platform_.prompts.answerWindow<formSelectionWindow>([&](formSelectionWindow& w) {
        EXPECT_EQ(w.ShownList(), w.lstSelection[0]);
        EXPECT_FALSE(w.chkGroups->isEnabled());
        // Neither the receiver's own father nor a hidden group is offered.
        EXPECT_EQ(lines(w.ShownList()), (std::vector<Line>{{"twin", twin1}, {"twin", twin2}}));
        choose(w.ShownList(), {twin1, twin2});
        w.cmdOk->click();
    });
    f.mnuAttach->trigger();
    for (int32_t g : {twin1, twin2}) {
        EXPECT_EQ(OMBREL_group_get_father_group(g), drawer);
        EXPECT_EQ(parentKey(g), KeyedTree::NodeKey("Group", drawer));
    }
    EXPECT_EQ(parentKey(drawer), KeyedTree::NodeKey("Group", desk)) << "the receiver's node stays in its place";
    EXPECT_EQ(Globals::CurrSelEntityHandle, drawer);
    ASSERT_NE(Globals::UndoRedoStack->Retrive(), before);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActChangeFatherGrp);
    EXPECT_TRUE(f.mnuUngroup->isVisible()) << "the menu follows the receiver's new children";

    f.mnuUndo_Click();
    for (int32_t g : {twin1, twin2}) {
        EXPECT_EQ(OMBREL_group_get_father_group(g), Globals::RootGrp);
        EXPECT_EQ(parentKey(g), "");
    }
    EXPECT_EQ(Globals::CurrSelEntityHandle, drawer);

    // A group never goes under one of its own: the refusal is reported, nothing moves.
    ActionUndoRedo* last = Globals::UndoRedoStack->Retrive();
    EXPECT_THROW(scene::AttachGroupsUnder({desk}, drawer), std::exception);
    EXPECT_EQ(OMBREL_group_get_father_group(desk), Globals::RootGrp);
    EXPECT_EQ(parentKey(desk), "");
    EXPECT_EQ(parentKey(drawer), KeyedTree::NodeKey("Group", desk));
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), last);
}

TEST_F(SelectionWindowTest, NothingOpensWithoutAWorld) {
    Form1& f = form();
    platform_.prompts.answer(platform::MsgResult::No);
    f.mnuCloseFile_Click();
    ASSERT_FALSE(f.WorldLoaded);
    f.ShowSelectByNameWindow();  // an unscripted window would fail the test
}

}  // namespace
