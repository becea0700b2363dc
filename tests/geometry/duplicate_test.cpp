#include "builder_fixture.h"

#include "geometry/formDuplicate.h"

#include "core/Globals.h"
#include "platform/NumericField.h"
#include "platform/doubles/test_application.h"
#include "undo/UndoRedoCommands.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class DuplicateTest : public BuilderFixture {
protected:
    void SetUp() override {
        platform::doubles::testApplication();
        BuilderFixture::SetUp();
        core::windowHooks().addGroupNode = [this](int32_t g, int32_t father) { nodes.emplace_back(g, father); };
        core::windowHooks().removeGroupNode = [this](int32_t g) { removedNodes.push_back(g); };
    }

    // Opens the dialog; set fills it in before OK is pressed. Checks that OK
    // closes it, whatever happened.
    void duplicate(int copies, Point3d offset, const std::function<void(formDuplicate&)>& set = {}) {
        platform_.prompts.answerWindow<formDuplicate>([&](formDuplicate& d) {
            if (copies > 1) {
                d.updwnCopies->press(platform::UpDown::Up);
                for (int i = 2; i < copies; ++i) d.updwnCopies->step();
                d.updwnCopies->release();
            }
            EXPECT_EQ(d.lblCopies->text(), QString::number(copies));
            for (std::size_t i = 0; i < 3; ++i) d.txtOffset[i]->setText(platform::NumberText(offset[i]));
            if (set) set(d);
            d.cmdOK->click();
            EXPECT_FALSE(d.isVisible());
        });
        geometry::ShowDuplicateDialog(nullptr);
    }

    static Point3d location(int32_t g) {
        Point3d at{};
        OMBREL_group_get_location(g, &at[0], &at[1], &at[2]);
        return at;
    }

    static void selectGroup(int32_t g) {
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = g;
        Globals::CurrMultiSel->Reset();
        Globals::CurrMultiSel->AddGrpHandles(g);
    }

    std::vector<std::pair<int32_t, int32_t>> nodes;
    std::vector<int32_t> removedNodes;
};

TEST_F(DuplicateTest, OneCopyLiesOnItsGroupAndIsSelectedAlone) {
    const int32_t a = makeGroup("A", {10, 20, 30});
    selectGroup(a);
    duplicate(1, {0, 0, 0});
    const int32_t copy = Globals::CurrSelEntityHandle;
    ASSERT_NE(copy, a);
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(nameOf(copy), "A_copy");
    EXPECT_EQ(location(copy), location(a));
    EXPECT_EQ(OMBREL_group_get_father_group(copy), Globals::RootGrp);
    EXPECT_EQ(nodes, (std::vector<std::pair<int32_t, int32_t>>{{copy, Globals::RootGrp}}));
    EXPECT_EQ(Globals::PrevSelEntityHandle, a);

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(copy), 0);
    EXPECT_EQ(removedNodes, std::vector<int32_t>{copy});
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, a);
}

TEST_F(DuplicateTest, SeveralCopiesLieOffsetsApartInOrderAndAreSelectedTogether) {
    const int32_t a = makeGroup("A", {0, 0, 0});
    const int32_t b = makeGroup("B", {0, 40, 0});
    const int32_t camera = OMBREL_camera_create("cam");
    Globals::CurrMultiSel->Reset();
    Globals::CurrMultiSel->AddGrpHandles(a);
    Globals::CurrMultiSel->AddGrpHandles(b);
    Globals::CurrMultiSel->AddCamHandles(camera);
    Globals::CurrSelEntityType = SelMultiple;

    // Several copies are one creation of kind 6.
    platform_.prompts.answerWindow<formDuplicate>([&](formDuplicate& d) {
        d.updwnCopies->clickUp();
        d.txtOffset[0]->setText("100");
        d.cmdOK->click();
    });
    geometry::ShowDuplicateDialog(nullptr);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActCreate);

    const MultipleSelection& sel = *Globals::CurrMultiSel;
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    ASSERT_EQ(sel.NumOfGrps(), 4);
    EXPECT_EQ(sel.NumOfCams(), 0);
    const char* names[] = {"A_copy", "B_copy", "A_copy2", "B_copy2"};
    const int32_t sources[] = {a, b, a, b};
    const double steps[] = {1, 1, 2, 2};
    for (int32_t i = 0; i < 4; ++i) {
        const int32_t copy = sel.GetGrp(i + 1);
        EXPECT_EQ(nameOf(copy), names[i]);
        EXPECT_EQ(OMBREL_group_get_father_group(copy), Globals::RootGrp);
        const Point3d from = location(sources[i]), to = location(copy);
        EXPECT_DOUBLE_EQ(to[0], from[0] + 100 * steps[i]);
        EXPECT_DOUBLE_EQ(to[1], from[1]);
        EXPECT_EQ(nodes[static_cast<std::size_t>(i)].first, copy);
    }
    EXPECT_EQ(OMBREL_camera_get_first_camera(), camera);  // the camera was not copied
    EXPECT_EQ(OMBREL_camera_get_next_camera(camera), 0);

    // Undo takes all four copies out and gives the old selection back; Redo
    // brings the same copies back as the selection.
    std::vector<int32_t> copies;
    for (int32_t i = 1; i <= 4; ++i) copies.push_back(sel.GetGrp(i));
    undo::UndoCommand();
    for (int32_t copy : copies) EXPECT_EQ(OMBREL_group_get_father_group(copy), 0);
    EXPECT_EQ(removedNodes, copies);
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(sel.NumOfGrps(), 2);
    EXPECT_EQ(sel.NumOfCams(), 1);
    undo::RedoCommand();
    for (int32_t copy : copies) EXPECT_EQ(OMBREL_group_get_father_group(copy), Globals::RootGrp);
    ASSERT_EQ(sel.NumOfGrps(), 4);
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(sel.GetGrp(i + 1), copies[static_cast<std::size_t>(i)]);
}

TEST_F(DuplicateTest, ACopyOfANestedGroupIsATopLevelGroupWithItsWholeSubtree) {
    const int32_t outer = makeGroup("outer", {0, 0, 0});
    const int32_t inner = makeGroup("inner", {5, 0, 0}, outer);
    const int32_t deepest = makeGroup("deepest", {0, 5, 0}, inner);
    OMBREL_group_disable(deepest, 1);
    selectGroup(inner);
    duplicate(1, {0, 0, -7.5});
    const int32_t copy = Globals::CurrSelEntityHandle;
    EXPECT_EQ(OMBREL_group_get_father_group(copy), Globals::RootGrp);
    EXPECT_EQ(OMBREL_group_get_father_group(inner), outer);
    const std::vector<int32_t> below = includedGroups(copy);
    ASSERT_EQ(below.size(), 1u);
    EXPECT_EQ(nameOf(below[0]), "deepest");
    EXPECT_EQ(OMBREL_group_is_disable(below[0]), 1);  // the copy keeps its source's hidden state
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(copy), 4);
    const Point3d was = location(inner), now = location(copy);
    EXPECT_DOUBLE_EQ(now[2], was[2] - 7.5);
}

TEST_F(DuplicateTest, AStaleGroupEndsTheCopiesAndWhatWasMadeStaysUndoable) {
    const int32_t a = makeGroup("A", {0, 0, 0});
    const int32_t gone = makeGroup("gone", {50, 0, 0});
    Globals::CurrMultiSel->Reset();
    Globals::CurrMultiSel->AddGrpHandles(a);
    Globals::CurrMultiSel->AddGrpHandles(gone);
    Globals::CurrSelEntityType = SelMultiple;
    OMBREL_group_delete_members(gone);
    ASSERT_FALSE(alive(gone));

    platform_.prompts.answerWindow<formDuplicate>([&](formDuplicate& d) {
        platform_.prompts.answer(platform::MsgResult::OK);  // the error window, once
        d.cmdOK->click();
        EXPECT_FALSE(d.isVisible());
    });
    geometry::ShowDuplicateDialog(nullptr);
    ASSERT_EQ(platform_.prompts.shown().size(), 2u);
    EXPECT_EQ(platform_.prompts.shown()[1].title, "Error");
    EXPECT_NE(LastErrDescription, "");

    const int32_t a1 = Globals::CurrSelEntityHandle;
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(nameOf(a1), "A_copy");
    EXPECT_EQ(Globals::CurrMultiSel->NumOfGrps(), 1);
    EXPECT_EQ(Globals::CurrMultiSel->GetGrp(1), a1);
    EXPECT_EQ(nodes, (std::vector<std::pair<int32_t, int32_t>>{{a1, Globals::RootGrp}}));  // none for the failure

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(a1), 0);
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
}

TEST_F(DuplicateTest, WithoutAGroupNothingIsCopiedAndNothingChanges) {
    const int32_t camera = OMBREL_camera_create("cam");
    Globals::CurrMultiSel->Reset();
    Globals::CurrMultiSel->AddCamHandles(camera);
    Globals::CurrSelEntityType = SelMultiple;
    const int32_t groups = static_cast<int32_t>(includedGroups(Globals::RootGrp).size());
    duplicate(3, {1, 1, 1});
    EXPECT_EQ(static_cast<int32_t>(includedGroups(Globals::RootGrp).size()), groups);
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(Globals::CurrMultiSel->NumOfCams(), 1);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), nullptr);
    EXPECT_TRUE(nodes.empty());
}

TEST_F(DuplicateTest, CancelChangesNothing) {
    const int32_t a = makeGroup("A", {0, 0, 0});
    selectGroup(a);
    platform_.prompts.answerWindow<formDuplicate>([](formDuplicate& d) { d.cmdCancel->click(); });
    geometry::ShowDuplicateDialog(nullptr);
    EXPECT_EQ(includedGroups(Globals::RootGrp), std::vector<int32_t>{a});
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), nullptr);
}

// Typed key by key over the whole text ('\b' is Backspace), then left: what is
// no offset brings the one in force back.
TEST_F(DuplicateTest, TheFieldsKeepTheLastOffsetTyped) {
    formDuplicate d;
    EXPECT_EQ(d.windowTitle(), "Duplicate.");
    EXPECT_EQ(d.lblCopies->text(), "1");
    QLineEdit* x = d.txtOffset[0];
    struct Case {
        const char* keys;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{"\b", "", "0"},          {"-", "-", "0"},         {"12.5", "12.5", "12.5"},
                          {"abc", "12.5", "12.5"},   {".", ".", "12.5"},      {"1e999", "1e999", "12.5"},
                          {"1e13", "1e13", "12.5"},  {"inf", "12.5", "12.5"}, {"-25", "-25", "-25"},
                          {"12.5", "12.5", "12.5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        x->selectAll();
        for (const char* k = c.keys; *k; ++k) {
            const bool back = *k == '\b';
            const QString text = back ? QString() : QString(QLatin1Char(*k));
            QKeyEvent key(QEvent::KeyPress, back ? Qt::Key_Backspace : Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(x, &key);
        }
        EXPECT_EQ(x->text(), c.typed);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(x, &out);
        EXPECT_EQ(x->text(), c.shown);
        EXPECT_EQ(d.updwnOffset[0]->Tag, c.shown);
    }
    d.updwnOffset[0]->clickUp();
    EXPECT_EQ(x->text(), "13.5");
    d.updwnOffset[0]->clickDown();
    EXPECT_EQ(x->text(), "12.5");

    // The copy count is never typed: held at either end it stops there.
    d.updwnCopies->press(platform::UpDown::Up);
    for (int i = 0; i < 120; ++i) d.updwnCopies->step();
    d.updwnCopies->release();
    EXPECT_EQ(d.lblCopies->text(), "99");
    d.updwnCopies->press(platform::UpDown::Down);
    for (int i = 0; i < 120; ++i) d.updwnCopies->step();
    d.updwnCopies->release();
    EXPECT_EQ(d.lblCopies->text(), "1");
}

TEST_F(DuplicateTest, ALargeSubtreeIsCopiedWhole) {
    const int32_t top = makeGroup("big", {0, 0, 0});
    int32_t father = top;
    for (int level = 0; level < 4; ++level) {
        const int32_t g = OMBREL_group_create(("level" + std::to_string(level)).c_str());
        OMBREL_group_set_father_group(g, father);
        for (int i = 0; i < 2500; ++i) square(g, {double(i), double(level), 0}, 1);
        father = g;
    }
    selectGroup(top);
    duplicate(1, {0, 0, 0});
    const int32_t copy = Globals::CurrSelEntityHandle;
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(copy), 10002);
    EXPECT_EQ(includedGroups(copy).size(), 4u);
}

}  // namespace
