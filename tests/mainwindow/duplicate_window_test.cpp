// The duplicate command from the main window: the copies' nodes in the group
// tree, with the hidden state of their sources.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "geometry/formDuplicate.h"
#include "mainwindow/formError.h"
#include "ombrel.h"
#include "platform/NumericField.h"

#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace {

std::string groupKey(int32_t g) { return KeyedTree::NodeKey("Group", g); }

class DuplicateWindowTest : public EditorFixture {
protected:
    void select(int32_t g) {
        Globals::SetPrevSelEntityToCurrSelEntity();
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = g;
        Globals::ThingsToDoOnSelectedEntityChange();
    }

    void duplicateOnce() {
        platform_.prompts.answerWindow<formDuplicate>([](formDuplicate& d) {
            d.txtOffset[1]->setText("25");
            d.cmdOK->click();
        });
        form().ShowDuplicateWindow();
    }
};

TEST_F(DuplicateWindowTest, ACopyIsATopLevelNodeShownHiddenWhenItsSourceIs) {
    StartEditor();
    OpenEmptyWorld();
    const int32_t outer = MakeGroup("outer", Globals::RootGrp);
    const int32_t inner = MakeGroup("inner", outer);
    MakePolygon(inner, {{0, 0}, {0, 1}, {1, 1}});
    OMBREL_group_disable(inner, 1);
    form().trwGroupView_Populate();
    ASSERT_EQ(KeyedTree::Image(form().trwGroupView->Item(groupKey(inner))), "Group Invisible");
    select(inner);

    duplicateOnce();
    const int32_t copy = Globals::CurrSelEntityHandle;
    ASSERT_NE(copy, inner);
    QTreeWidgetItem* node = form().trwGroupView->Item(groupKey(copy));
    EXPECT_EQ(node->parent(), nullptr);
    EXPECT_EQ(node->text(0), "inner_copy");
    EXPECT_EQ(KeyedTree::Image(node), "Group Invisible");
    EXPECT_TRUE(KeyedTree::Bold(node));

    form().mnuUndo_Click();
    EXPECT_FALSE(form().trwGroupView->Exists(groupKey(copy)));
    EXPECT_EQ(Globals::CurrSelEntityHandle, inner);
}

TEST_F(DuplicateWindowTest, AFailedCopyMakesNoNode) {
    StartEditor();
    OpenEmptyWorld();
    const int32_t a = MakeGroup("A", Globals::RootGrp);
    const int32_t gone = MakeGroup("gone", Globals::RootGrp);
    form().trwGroupView_Populate();
    Globals::SetPrevSelEntityToCurrSelEntity();
    Globals::CurrMultiSel->Reset();
    Globals::CurrMultiSel->AddGrpHandles(a);
    Globals::CurrMultiSel->AddGrpHandles(gone);
    Globals::CurrSelEntityType = SelMultiple;
    OMBREL_group_delete_members(gone);

    platform_.prompts.answerWindow<formDuplicate>([&](formDuplicate& d) {
        // The error window, once, and No to ending the program.
        platform_.prompts.answerWindow<formError>([](formError& w) { w.close(); }).answer(platform::MsgResult::No);
        d.cmdOK->click();
        EXPECT_FALSE(d.isVisible());
    });
    form().ShowDuplicateWindow();
    const int32_t a1 = Globals::CurrSelEntityHandle;
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::GetEntityName(a1), "A_copy");
    EXPECT_TRUE(form().trwGroupView->Exists(groupKey(a1)));
    EXPECT_FALSE(form().trwGroupView->Exists("Group0"));
    form().mnuUndo_Click();
    EXPECT_FALSE(form().trwGroupView->Exists(groupKey(a1)));
}

}  // namespace
