// The create panel on the workspace's Edit page and the Create menu that drives it.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <array>
#include <string>

namespace {

class CreatePanelTest : public EditorFixture {
protected:
    Form1& start() {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        return f;
    }

    // Caption, or "hidden" for a field the user does not see, and the shown value.
    static std::string field(Form1& f, bool count, int i) {
        const auto k = static_cast<std::size_t>(i);
        QLabel* label = f.Label23.at((count ? 25 : 30) + i);
        QLineEdit* text = count ? f.txtBoxSegments[k] : f.txtBoxDim[k];
        platform::UpDown* spinner = count ? f.updwnBoxSegments[k] : f.updwnBoxDim[k];
        EXPECT_EQ(text->text(), spinner->Tag) << "the field shows its value";
        const bool shown = !(count ? f.fldBoxSegments[k] : f.fldBoxDim[k])->isHidden();
        EXPECT_EQ(shown, !label->isHidden());
        return (shown ? label->text().toStdString() : "hidden " + label->text().toStdString()) + " " +
               text->text().toStdString();
    }

    static std::array<std::string, 6> fields(Form1& f) {
        return {field(f, false, 0), field(f, false, 1), field(f, false, 2),
                field(f, true, 0),  field(f, true, 1),  field(f, true, 2)};
    }

    static int32_t groupCount() {
        int32_t n = 0;
        for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g)) ++n;
        return n;
    }
};

TEST_F(CreatePanelTest, EachKindShowsItsFieldsDefaultsAndMinimums) {
    Form1& f = start();
    EXPECT_EQ(f.cmdCreate->text(), "&Create");
    EXPECT_EQ(f.cmbNewObjType->currentText(), "BOX");
    EXPECT_EQ(fields(f), (std::array<std::string, 6>{"Depth 100", "Width 100", "Height 100", "Depth Segs 1",
                                                      "Width Segs 1", "Height Segs 1"}));
    struct Case {
        const char* kind;
        std::array<std::string, 6> fields;
        std::array<int32_t, 3> minimums;
    };
    const Case cases[] = {
        {"TORUS", {"hidden  0", "Radius1 200", "Radius2 60", "Segments 10", "Sides 8", "hidden  1"}, {3, 3, 1}},
        {"BOX", {"Depth 100", "Width 100", "Height 100", "Depth Segs 1", "Width Segs 1", "Height Segs 1"}, {1, 1, 1}},
        {"PLANE", {"hidden  0", "Width 100", "Height 100", "hidden  1", "Width Segs 1", "Height Segs 1"}, {1, 1, 1}},
        {"SPHERE", {"hidden  0", "hidden  0", "Radius 100", "Segments 9", "hidden  1", "hidden  1"}, {1, 1, 1}},
        {"CYLINDER",
         {"hidden  0", "Radius 100", "Height 300", "hidden Cap Segs 1", "Sides 10", "Height Segs 1"}, {1, 3, 1}},
        {"CONE", {"hidden  0", "Radius 100", "Height 200", "hidden Cap Segs 1", "Sides 10", "Height Segs 1"}, {1, 3, 1}},
    };
    for (const Case& c : cases) {
        f.txtBoxDim[2]->setText("7");  // typed values of the kind before are not kept
        f.cmbNewObjType->setCurrentText(c.kind);
        EXPECT_EQ(fields(f), c.fields) << c.kind;
        EXPECT_EQ(Globals::BoxSegments, c.minimums) << c.kind;
    }
    f.cmbNewObjType->setEditable(true);
    f.cmbNewObjType->setEditText("cone");  // any other text changes nothing
    f.cmbNewObjType_Change();
    EXPECT_EQ(field(f, false, 2), "Height 200");
}

TEST_F(CreatePanelTest, FieldsTakeWhatIsTypedWhenLeft) {
    Form1& f = start();
    f.cmbNewObjType->setCurrentText("CYLINDER");
    struct Case {
        bool count;
        int index;
        const char* keys;  // typed over the field's whole text; '\b' is Backspace
        const char* shown;  // once the field is left
    };
    // Rows of one field follow each other: what is no value brings the row before's back.
    const Case cases[] = {
        {false, 1, "12.5", "12.5"}, {false, 1, "abc", "12.5"}, {false, 1, "-", "12.5"},
        {false, 1, ".", "12.5"},    {false, 1, "\b", "12.5"}, {false, 1, "1e999", "12.5"},
        {false, 1, "1e13", "12.5"}, {false, 1, "-50", "-50"},  {false, 1, "0", "0"},
        {true, 2, "2.5", "2"},      {true, 2, "3.5", "4"},     {true, 2, "x", "4"},
        {true, 2, "-7", "1"},       {true, 1, "0", "3"},       {true, 1, "1e999", "3"},
        {true, 1, "12", "12"},      {true, 1, "5000", "5000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        const auto k = static_cast<std::size_t>(c.index);
        QLineEdit* text = c.count ? f.txtBoxSegments[k] : f.txtBoxDim[k];
        text->selectAll();
        for (const char* key = c.keys; *key; ++key) {
            if (*key == '\b') QTest::keyClick(text, Qt::Key_Backspace);
            else QTest::keyClicks(text, QString(QLatin1Char(*key)));
        }
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(text, &out);
        EXPECT_EQ(text->text(), c.shown);
        EXPECT_EQ((c.count ? f.updwnBoxSegments[k] : f.updwnBoxDim[k])->Tag, c.shown);
    }
}

TEST_F(CreatePanelTest, SpinnersFoldTheirStepIntoTheValueAndRestAtZero) {
    Form1& f = start();
    f.txtBoxDim[0]->setText("0.5");
    f.updwnBoxDim[0]->clickDown();
    EXPECT_EQ(f.txtBoxDim[0]->text(), "1");  // a dimension stays at 1 or more
    f.txtBoxDim[0]->setText("0.5");
    f.updwnBoxDim[0]->clickUp();
    EXPECT_EQ(f.txtBoxDim[0]->text(), "1.5");
    EXPECT_EQ(f.updwnBoxDim[0]->Value(), 0);

    f.cmbNewObjType->setCurrentText("CONE");
    platform::UpDown* sides = f.updwnBoxSegments[1];
    sides->press(platform::UpDown::Down);  // held down well past the minimum
    for (int i = 0; i < 20; ++i) sides->step();
    sides->release();
    EXPECT_EQ(f.txtBoxSegments[1]->text(), "3");
    sides->press(platform::UpDown::Up);
    for (int i = 0; i < 4; ++i) sides->step();
    sides->release();
    EXPECT_EQ(f.txtBoxSegments[1]->text(), "8");
    EXPECT_EQ(sides->Value(), 0);
}

TEST_F(CreatePanelTest, RefusedValuesCreateAndRecordNothing) {
    Form1& f = start();
    struct Case {
        const char* kind;
        bool count;
        int index;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"BOX", false, 0, "0", "Invalid Parameter - Depth"},
        {"SPHERE", false, 2, "0", "Invalid Parameter - Radius"},
        {"CONE", false, 1, "0", "Invalid Parameter - Radius"},
        {"CONE", false, 2, "0", "Invalid Parameter - Height"},
        {"CYLINDER", false, 1, "0", "Invalid Parameter - Radius"},
        {"TORUS", false, 2, "0", "Invalid Parameter - Radius2"},
        {"BOX", true, 1, "1001", "Invalid Parameter - Width Segs"},
        {"BOX", true, 0, "2000", "Invalid Parameter - Depth Segs"},
        {"PLANE", true, 1, "1000", "Invalid Parameter - Too many polygons."},
        {"SPHERE", true, 0, "400", "Invalid Parameter - Too many polygons."},
        {"CYLINDER", true, 1, "101", "Only Cylinders with a max of 100 sides are supported."},
    };
    for (const Case& c : cases) {
        f.cmbNewObjType->setCurrentText(c.kind);
        f.cmbNewObjType_Change();  // the kind's defaults again, also when it stays chosen
        if (c.kind == std::string("PLANE")) f.txtBoxSegments[2]->setText("300");
        const auto k = static_cast<std::size_t>(c.index);
        (c.count ? f.txtBoxSegments[k] : f.txtBoxDim[k])->setText(QString::fromLatin1(c.typed));
        const std::size_t shown = platform_.prompts.shown().size();
        platform_.prompts.answer(platform::MsgResult::OK);
        f.cmdCreate->click();
        ASSERT_EQ(platform_.prompts.shown().size(), shown + 1) << c.message;
        EXPECT_EQ(platform_.prompts.shown().back().text, c.message);
        EXPECT_EQ(platform_.prompts.shown().back().icon, platform::MsgIcon::Information);
        EXPECT_EQ(groupCount(), 1) << c.message;  // the root group alone
        EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord()) << c.message;
        EXPECT_EQ(f.StatusBarPanel(3), "") << c.message;  // no "Please wait!" left behind
    }
}

TEST_F(CreatePanelTest, TheCreateMenuBuildsTheKindWithItsDefaults) {
    Form1& f = start();
    f.cmbNewObjType->setCurrentText("TORUS");
    f.mnuBox->trigger();
    EXPECT_EQ(f.cmbNewObjType->currentText(), "BOX");
    const int32_t first = Globals::CurrSelEntityHandle;
    EXPECT_EQ(Globals::GetEntityName(first), "Box01");
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(first), 6);

    // Typed values give way to the defaults when the menu chooses the same kind.
    f.txtBoxDim[0]->setText("7");
    f.txtBoxSegments[1]->setText("5");
    f.mnuBox->trigger();
    const int32_t second = Globals::CurrSelEntityHandle;
    EXPECT_EQ(Globals::GetEntityName(second), "Box02");
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(second), 6);
    double dims[3] = {};
    OMBREL_group_get_dimensions(second, dims);
    EXPECT_EQ(dims[0], 100);
    EXPECT_EQ(f.txtBoxDim[0]->text(), "100");

    f.mnuTorus->trigger();
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(Globals::CurrSelEntityHandle), 80);
}

TEST_F(CreatePanelTest, ANewPrimitiveIsATopLevelNodeThatUndoTakesAway) {
    Form1& f = start();
    f.cmbNewObjType->setCurrentText("SPHERE");
    f.txtBoxDim[2]->setText("-50");  // a negative radius is built as given
    f.cmdCreate->click();
    const int32_t sphere = Globals::CurrSelEntityHandle;
    ASSERT_EQ(Globals::CurrSelEntityType, SelGroup);
    const std::string key = KeyedTree::NodeKey("Group", sphere);
    ASSERT_TRUE(f.trwGroupView->Exists(key));
    QTreeWidgetItem* node = f.trwGroupView->Item(key);
    EXPECT_EQ(node->parent(), nullptr);
    EXPECT_EQ(node->text(0), "Sphere01");
    EXPECT_EQ(KeyedTree::Image(node), "Group");
    EXPECT_EQ(f.StatusBarPanel(2), "200");
    EXPECT_EQ(f.StatusBarPanel(3), "");

    f.mnuUndo_Click();
    EXPECT_FALSE(f.trwGroupView->Exists(key));
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    f.mnuRedo_Click();
    EXPECT_TRUE(f.trwGroupView->Exists(key));
    EXPECT_EQ(OMBREL_group_get_father_group(sphere), Globals::RootGrp);
    EXPECT_EQ(Globals::CurrSelEntityHandle, sphere);
}

}  // namespace
