// The group properties dialog, scripted through the modal seam: it writes only
// what the user changed, refuses what no group can take, follows a rename in the
// tree and the name field, keeps the light diminution within 0..100, and reads
// the dynamic state back after the chase dialog.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/WindowHooks.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "scene/formGrpProperties.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <string>
#include <vector>

namespace {

using platform::MsgResult;

std::vector<int32_t> polygonsOf(int32_t g) {
    std::vector<int32_t> out;
    for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_group_get_next_polygon(g, p)) out.push_back(p);
    return out;
}

std::array<double, 3> dimensions(int32_t g) {
    std::array<double, 3> d{};
    OMBREL_group_get_dimensions(g, d.data());
    return d;
}

void type(QLineEdit* field, const std::string& text) { field->setText(QString::fromStdString(text)); }

void pressEnter(QWidget* target) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
}

// The user picks an entry of the list.
void pick(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

class GroupPropertiesTest : public EditorFixture {
protected:
    // "mixed": two polygons with their own light diminutions and filters, 10 by 20 by 0.
    void SetUp() override {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        mixed = MakeGroup("mixed", Globals::RootGrp);
        const int32_t a = MakePolygon(mixed, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
        const int32_t b = MakePolygon(mixed, {{0, 10}, {0, 20}, {10, 20}, {10, 10}});
        OMBREL_polygon_set_light_diminution(a, 10);
        OMBREL_polygon_set_light_diminution(b, 60);
        OMBREL_polygon_set_translucent(a, 82);
        OMBREL_polygon_set_translucent(b, 49);
        f.trwGroupView_Populate();
        select(mixed);
    }
    void TearDown() override { core::windowHooks().showChaseDialog = nullptr; }

    void select(int32_t g) { form().trwGroupView_NodeClick(form().trwGroupView->Item(KeyedTree::NodeKey("Group", g))); }

    std::vector<double> dimus() {
        std::vector<double> out;
        for (int32_t p : polygonsOf(mixed)) out.push_back(OMBREL_polygon_get_light_diminution(p));
        return out;
    }
    std::vector<int32_t> filters() {
        std::vector<int32_t> out;
        for (int32_t p : polygonsOf(mixed)) out.push_back(OMBREL_polygon_get_translucent(p) & 0xFF);
        return out;
    }

    int32_t mixed = 0;
};

TEST_F(GroupPropertiesTest, OkWithoutAChangeWritesNothing) {
    Form1& f = form();
    const std::array<double, 3> dims = dimensions(mixed);
    platform_.prompts.answerWindow<formGrpProperties>([&](formGrpProperties& w) {
        EXPECT_EQ(w.windowTitle().toStdString(), "Group Properties.");
        EXPECT_EQ(w.txtGrpName->text().toStdString(), "mixed");
        EXPECT_FALSE(w.chkGrpDyn->isChecked());
        EXPECT_EQ(w.txtPolLightDimu->text().toStdString(), "10");
        EXPECT_EQ(w.updwnPolLightDimu->Value(), 10);
        EXPECT_EQ(w.cmbPolFilter->count(), 9);
        EXPECT_EQ(w.cmbPolFilter->currentText().toStdString(), "Normal");
        EXPECT_EQ(w.PolFilterCode, 82);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(w.txtGrpDim[static_cast<std::size_t>(i)]->text().toDouble(), dims[static_cast<std::size_t>(i)]);
        EXPECT_FALSE(w.cmdApply->isEnabled());
        EXPECT_TRUE(w.cmdEditChase->isEnabled()) << "the main window's chase dialog";
        w.cmdOk->click();
        EXPECT_FALSE(w.isVisible());
    });
    f.mnuProperties->trigger();
    EXPECT_EQ(dimus(), (std::vector<double>{10, 60}));
    EXPECT_EQ(filters(), (std::vector<int32_t>{82, 49}));
    EXPECT_EQ(dimensions(mixed), dims);
    EXPECT_EQ(Globals::GetEntityName(mixed), "mixed");
    EXPECT_EQ(OMBREL_group_is_static(mixed), 1);
}

TEST_F(GroupPropertiesTest, RefusedEntriesKeepTheDialogOpenAndWriteNothing) {
    Form1& f = form();
    struct Case {
        const char* field;  // "dimu", "name" or the dimension index
        std::string text;
        std::string message;
    } cases[] = {
        {"dimu", "abc", "Invalid Parameter - Light Diminution."},
        {"0", "x", "Invalid Parameter - Depth"},
        {"1", "0", "Invalid Parameter - Width"},
        {"0", "-3", "Invalid Parameter - Depth"},
        {"0", "1e13", "Invalid Parameter - Depth"},   // beyond any length
        {"1", "1e-11", "Invalid Parameter - Width"},  // a scale Undo could not give back
        {"2", "5", "Invalid Parameter - Height"},  // the flat group has no height to scale
        {"name", "   ", "Invalid Parameter - Name"},
    };
    const std::array<double, 3> dims = dimensions(mixed);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + " for " + c.text);
        platform_.prompts.answerWindow<formGrpProperties>([&](formGrpProperties& w) {
            const std::string which = c.field;
            QLineEdit* field = which == "dimu"   ? w.txtPolLightDimu
                               : which == "name" ? w.txtGrpName
                                                 : w.txtGrpDim[static_cast<std::size_t>(std::stoi(which))];
            type(field, c.text);
            // Something acceptable changed too: it must not be written either.
            type(w.txtGrpName, which == "name" ? c.text : "renamed");
            for (QPushButton* b : {w.cmdApply, w.cmdOk}) {
                platform_.prompts.answer(MsgResult::OK);
                b->click();
                EXPECT_TRUE(w.isVisible());
                ASSERT_FALSE(platform_.prompts.shown().empty());
                EXPECT_EQ(platform_.prompts.shown().back().text, c.message);
                EXPECT_EQ(platform_.prompts.shown().back().icon, platform::MsgIcon::Information);
            }
            w.cmdCancel->click();
        });
        f.mnuProperties_Click();
        EXPECT_EQ(Globals::GetEntityName(mixed), "mixed");
        EXPECT_EQ(dimensions(mixed), dims);
        EXPECT_EQ(dimus(), (std::vector<double>{10, 60}));
    }
}

TEST_F(GroupPropertiesTest, AppliedChangesReachEveryPolygonTheTreeAndTheNameField) {
    Form1& f = form();
    OMBREL_group_set_dynamic(mixed);
    const std::array<double, 3> dims = dimensions(mixed);
    platform_.prompts.answerWindow<formGrpProperties>([&](formGrpProperties& w) {
        struct Typed {
            const char* text;
            int spinner;
            const char* shown;
        } rules[] = {{"150", 100, "100"}, {"-5", 0, "0"}, {"12.6", 13, "13"}};
        for (const Typed& t : rules) {
            SCOPED_TRACE(t.text);
            type(w.txtPolLightDimu, t.text);
            pressEnter(w.txtPolLightDimu);
            EXPECT_EQ(w.updwnPolLightDimu->Value(), t.spinner);
            EXPECT_EQ(w.txtPolLightDimu->text().toStdString(), t.shown);
        }
        pick(w.cmbPolFilter, "Light Source");
        type(w.txtGrpName, "  table ");
        type(w.txtGrpDim[1], QString::number(dims[1] * 2).toStdString());
        w.chkGrpDyn->click();  // back to static
        ASSERT_TRUE(w.cmdApply->isEnabled());
        w.cmdApply->click();
        EXPECT_FALSE(w.cmdApply->isEnabled());
        EXPECT_TRUE(w.isVisible());
        w.cmdCancel->click();
    });
    f.mnuProperties_Click();
    EXPECT_EQ(dimus(), (std::vector<double>{13, 13}));
    EXPECT_EQ(filters(), (std::vector<int32_t>{34, 34}));
    EXPECT_EQ(Globals::GetEntityName(mixed), "table");
    EXPECT_EQ(f.trwGroupView->Item(KeyedTree::NodeKey("Group", mixed))->text(0).toStdString(), "table");
    EXPECT_EQ(f.txtSelectedGrpName->text().toStdString(), "table");
    EXPECT_EQ(OMBREL_group_is_static(mixed), 1);
    EXPECT_FALSE(f.chkGrpDyn->isChecked()) << "the panel follows the dialog";
    const std::array<double, 3> now = dimensions(mixed);
    EXPECT_DOUBLE_EQ(now[0], dims[0]);
    EXPECT_DOUBLE_EQ(now[1], dims[1] * 2);
}

TEST_F(GroupPropertiesTest, AGroupWithoutPolygonsShowsZeroAndWritesNoPolygonProperty) {
    Form1& f = form();
    const int32_t empty = MakeGroup("empty", Globals::RootGrp);
    f.trwGroupView_Populate();
    select(empty);
    platform_.prompts.answerWindow<formGrpProperties>([&](formGrpProperties& w) {
        EXPECT_EQ(w.txtPolLightDimu->text().toStdString(), "0");
        EXPECT_EQ(w.cmbPolFilter->currentText().toStdString(), "Disable Blending");
        pick(w.cmbPolFilter, "Inverse");
        type(w.txtPolLightDimu, "40");
        w.cmdOk->click();
        EXPECT_FALSE(w.isVisible());
    });
    f.mnuProperties_Click();
    EXPECT_EQ(dimus(), (std::vector<double>{10, 60})) << "no other group's polygons";
}

TEST_F(GroupPropertiesTest, AStaleGroupIsRefusedQuietly) {
    Form1& f = form();
    OMBREL_group_delete_members(mixed);
    platform_.prompts.answerWindow<formGrpProperties>([&](formGrpProperties& w) {
        type(w.txtGrpName, "gone");
        type(w.txtPolLightDimu, "50");
        w.cmdOk->click();
    });
    f.mnuProperties_Click();
    EXPECT_EQ(OMBREL_ext_handle_kind(mixed), 0);
}

TEST_F(GroupPropertiesTest, EditChaseReadsTheDynamicStateBack) {
    Form1& f = form();
    int chases = 0;
    core::windowHooks().showChaseDialog = [&](QWidget* owner) {
        ++chases;
        EXPECT_NE(owner, nullptr);
        OMBREL_group_set_dynamic(mixed);
    };
    platform_.prompts.answerWindow<formGrpProperties>([&](formGrpProperties& w) {
        ASSERT_TRUE(w.cmdEditChase->isEnabled());
        EXPECT_FALSE(w.chkGrpDyn->isChecked());
        w.cmdEditChase->click();
        EXPECT_TRUE(w.chkGrpDyn->isChecked());
        EXPECT_TRUE(w.cmdApply->isEnabled());
        w.cmdOk->click();
    });
    f.mnuProperties_Click();
    EXPECT_EQ(chases, 1);
    EXPECT_EQ(OMBREL_group_is_static(mixed), 0);
    EXPECT_TRUE(f.chkGrpDyn->isChecked());
}

}  // namespace
