// The polygon frame of "Edit Geometry" on a real window: polygons picked in a
// view, the frame filled from them, their name, flip, delete, detach, rotated
// flag, light diminution, blending filter and transparent colour, each change
// undone and redone.
#include "EditorFixture.h"

#include "bmp_writer.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "core/WeldedPoints.h"
#include "ombrel.h"
#include "platform/colour.h"
#include "platform/NumericField.h"
#include "platform/virtual_keys.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/ViewRedraw.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace Globals;

constexpr int kView = 0;

struct Values {
    int32_t rotated;
    double dimu;
    int32_t code;
};

Values valuesOf(int32_t p) {
    return {OMBREL_polygon_is_rotated(p), OMBREL_polygon_get_light_diminution(p), OMBREL_polygon_get_translucent(p)};
}

void setValues(int32_t p, const Values& v) {
    OMBREL_polygon_set_rotated(p, v.rotated);
    OMBREL_polygon_set_light_diminution(p, v.dimu);
    OMBREL_polygon_set_translucent(p, v.code);
}

std::vector<std::array<double, 3>> positionsOf(int32_t polygon) {
    std::vector<std::array<double, 3>> out;
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt; pt = OMBREL_point_get_next_point(pt)) {
        std::array<double, 3> p{};
        OMBREL_point_get_xyz(pt, p.data());
        out.push_back(p);
    }
    return out;
}


// The history as the menu and its cursor show it.
struct History {
    const ActionUndoRedo* next;
    bool undo, redo;
    bool operator==(const History&) const = default;
};

class PolygonPanelTest : public EditorFixture {
protected:
    // A group "walls" of three squares side by side in the top view, and another
    // group below them; "walls" is selected and edited in polygon mode.
    Form1& start() {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        walls_ = MakeGroup("walls", RootGrp);
        for (double x : {-150.0, 0.0, 150.0})
            pols_.push_back(MakePolygon(walls_, {{x - 50, -50}, {x - 50, 50}, {x + 50, 50}, {x + 50, -50}}));
        other_ = MakeGroup("other", RootGrp);
        MakePolygon(other_, {{-50, -300}, {-50, -200}, {50, -200}, {50, -300}});
        f.trwGroupView_Populate();
        QApplication::processEvents();
        ::UpdateCameras();
        ClickView(kView, PixelOf(kView, 0, 0));
        EXPECT_EQ(CurrSelEntityHandle, walls_);
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText("Edit Geometry");
        f.cmbObjEditGeom->setCurrentText("Polygon");
        EXPECT_TRUE(IsPolygonEditing());
        return f;
    }

    // Clicks the squares (by index) in the view: the first replaces the
    // selection, the others are added with Ctrl; none clicks empty space.
    void pickInOrder(const std::vector<int>& squares) {
        bool first = true;
        for (int i : squares) {
            ClickView(kView, PixelOf(kView, -150.0 + 150.0 * i, 0), first ? 0 : platform::vk::Control);
            first = false;
        }
        if (first) ClickView(kView, PixelOf(kView, 0, 150));
        ASSERT_EQ(NumSelPols, static_cast<int32_t>(squares.size()));
    }
    void pick(std::initializer_list<int> squares) { pickInOrder(squares); }

    void chooseFilter(const char* text) {
        Form1& f = form();
        const int i = f.cmbPolFilter->findText(text);
        ASSERT_GE(i, 0) << text;
        f.cmbPolFilter->setCurrentIndex(i);
        emit f.cmbPolFilter->activated(i);
    }

    void typeLightDimu(const QString& text) {
        form().txtPolLightDimu->setText(text);
        QTest::keyClick(form().txtPolLightDimu, Qt::Key_Return);
    }

    History history() const {
        return {UndoRedoStack->Retrive(), form_().mnuUndo->isVisible(), form_().mnuRedo->isVisible()};
    }
    const Form1& form_() const { return const_cast<PolygonPanelTest*>(this)->form(); }

    // A 2 x 2 palette picture whose index 5 is (200, 100, 50), in the test's folder.
    int32_t loadBitmap(const std::string& name, int32_t transparentIndex) {
        std::vector<TestRgb> palette(256, TestRgb{0, 0, 0});
        palette[3] = {9, 8, 7};
        palette[5] = {200, 100, 50};
        const std::string path = tempPath(name);
        writeBmp8(path, 2, 2, palette, {5, 3, 5, 3});
        const int32_t b = OMBREL_bitmap_load(path.c_str(), transparentIndex);
        EXPECT_NE(b, 0) << OMBREL_ext_get_last_error();
        return b;
    }

    int32_t walls_ = 0, other_ = 0;
    std::vector<int32_t> pols_;
};

TEST_F(PolygonPanelTest, TheFrameShowsTheOneSelectedPolygonOrHowManyAreSelected) {
    Form1& f = start();
    OMBREL_polygon_set_name(pols_[0], "north");
    OMBREL_polygon_set_color_fill(pols_[0], 10, 20, 30);
    setValues(pols_[0], {1, 12.5, 82});
    OMBREL_polygon_set_bitmap_fill(pols_[1], loadBitmap("keyed.bmp", 5));
    setValues(pols_[1], {0, 40, 34});
    OMBREL_polygon_set_bitmap_fill(pols_[2], loadBitmap("plain.bmp", -1));
    setValues(pols_[2], {0, 0, 7});  // a code without an entry

    struct Case {
        const char* name;
        std::vector<int> squares;
        QString nameText;
        bool nameEnabled;
        bool rotated;
        QString dimu;
        QString filter;
        bool transparent;
        int32_t buttonColour;
    };
    const int32_t face = Form1::ButtonFaceColour;
    const Case cases[] = {
        {"one polygon", {0}, "north", true, true, "12.5", "Normal", false, face},
        {"one with a transparent index", {1}, "", true, false, "40", "Light Source", true, platform::rgb(200, 100, 50)},
        // An unknown code leaves the list as it was.
        {"one with a bitmap and no index", {2}, "", true, false, "0", "Light Source", false, face},
        // The other controls keep what they showed.
        {"three", {2, 0, 1}, "3 Pols selected", false, false, "0", "Light Source", false, face},
        {"none", {}, "None", false, false, "0", "Light Source", false, face},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pickInOrder(c.squares);
        EXPECT_EQ(f.txtSelPolName->text(), c.nameText);
        EXPECT_EQ(f.txtSelPolName->isEnabled(), c.nameEnabled);
        EXPECT_EQ(f.chkPolRotated->isChecked(), c.rotated);
        EXPECT_EQ(f.txtPolLightDimu->text(), c.dimu);
        EXPECT_EQ(f.cmbPolFilter->currentText(), c.filter);
        EXPECT_EQ(f.chkEditPolTrans->isChecked(), c.transparent);
        EXPECT_EQ(f.cmdPoltextureTransparentClr->isEnabled(), c.transparent);
        EXPECT_EQ(Form1::BackColor(f.cmdPoltextureTransparentClr), c.buttonColour);
        if (c.name == std::string("one polygon")) {
            EXPECT_EQ(Form1::BackColor(f.cmdGrpClr), platform::rgb(10, 20, 30));
        }
        // Filling the frame records nothing but the selection itself.
        EXPECT_EQ(UndoRedoStack->Retrive()->ActionType, ActSelectPols);
    }
    // Undoing a selection fills the frame again; so does Select All.
    f.mnuUndo_Click();
    EXPECT_EQ(f.txtSelPolName->text(), "3 Pols selected");
    pick({0});
    f.mnuSelectAll_Click();
    EXPECT_EQ(f.txtSelPolName->text(), "3 Pols selected");
    // "Ignore Backfaced" starts unticked and is what the polygon picking asks.
    EXPECT_FALSE(f.chkIgnoreBackFacedForPolSel->isChecked());
    f.chkIgnoreBackFacedForPolSel->setChecked(true);
    EXPECT_TRUE(core::windowHooks().ignoreBackFacedForPolSel());
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(PolygonPanelTest, EachPropertyChangeIsUndonePolygonByPolygonAndRedoneForAll) {
    Form1& f = start();
    const Values own[] = {{1, 10, 49}, {0, 55.5, 82}, {1, 0, 34}};
    struct Case {
        const char* name;
        std::function<void()> change;
        Values now;  // the one value of the changed property; the others unused
        std::function<bool(const Values&, const Values&)> same;
        std::function<Values(Values, const Values&)> withNew;
    };
    const Case cases[] = {
        {"rotated flag", [&] { f.chkPolRotated->click(); }, {0, 0, 0},
         [](const Values& a, const Values& b) { return a.rotated == b.rotated; },
         [](Values v, const Values& n) { v.rotated = n.rotated; return v; }},
        {"light diminution", [&] { typeLightDimu("42"); }, {0, 42, 0},
         [](const Values& a, const Values& b) { return a.dimu == b.dimu; },
         [](Values v, const Values& n) { v.dimu = n.dimu; return v; }},
        {"blending filter", [&] { chooseFilter("Bright Translucent"); }, {0, 0, 66},
         [](const Values& a, const Values& b) { return a.code == b.code; },
         [](Values v, const Values& n) { v.code = n.code; return v; }},
    };
    for (const Case& c : cases) {
        for (bool oneAlreadyThere : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (oneAlreadyThere ? ", the second already at the new value" : ""));
            std::vector<Values> before(std::begin(own), std::end(own));
            if (oneAlreadyThere) before[1] = c.withNew(before[1], c.now);
            for (std::size_t i = 0; i < 3; ++i) setValues(pols_[i], before[i]);
            // The first polygon shows its values; then all three are selected.
            pick({0, 1, 2});
            // The box shows the first polygon's flag (1): its click clears it.
            c.change();
            for (int32_t p : pols_) EXPECT_TRUE(c.same(valuesOf(p), c.now));
            f.mnuUndo_Click();
            for (std::size_t i = 0; i < 3; ++i) {
                const Values v = valuesOf(pols_[i]);
                EXPECT_EQ(v.rotated, before[i].rotated) << i;
                EXPECT_EQ(v.dimu, before[i].dimu) << i;
                EXPECT_EQ(v.code, before[i].code) << i;
            }
            f.mnuRedo_Click();
            for (int32_t p : pols_) EXPECT_TRUE(c.same(valuesOf(p), c.now));
        }
    }
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(PolygonPanelTest, TheControlsFollowUndoAndRedoWithoutRecordingAgain) {
    Form1& f = start();
    for (int32_t p : pols_) setValues(p, {0, 5, 0});
    pick({0, 1});
    f.chkPolRotated->click();
    typeLightDimu("12.5");
    chooseFilter("Inverse");
    const History done = history();
    f.mnuUndo_Click();  // the filter
    EXPECT_EQ(f.cmbPolFilter->currentText(), "Disable Blending");
    f.mnuUndo_Click();  // the light diminution
    EXPECT_EQ(f.txtPolLightDimu->text(), "5");
    f.mnuUndo_Click();  // the flag
    EXPECT_FALSE(f.chkPolRotated->isChecked());
    f.mnuRedo_Click();
    f.mnuRedo_Click();
    f.mnuRedo_Click();
    EXPECT_TRUE(f.chkPolRotated->isChecked());
    EXPECT_EQ(f.txtPolLightDimu->text(), "12.5");
    EXPECT_EQ(f.cmbPolFilter->currentText(), "Inverse");
    EXPECT_EQ(history(), done);
    for (int32_t p : {pols_[0], pols_[1]}) {
        const Values v = valuesOf(p);
        EXPECT_EQ(v.rotated, 1);
        EXPECT_EQ(v.dimu, 12.5);
        EXPECT_EQ(v.code, 81);
    }
}

TEST_F(PolygonPanelTest, ChangesThatChangeNothingLeaveTheHistoryAsItWas) {
    Form1& f = start();
    for (int32_t p : pols_) setValues(p, {1, 30, 82});
    platform_.prompts.answerInput("").answerInput("");
    struct Case {
        const char* name;
        std::vector<int> squares;
        std::function<void()> action;
    };
    const Case cases[] = {
        {"the rotated box without polygons", {}, [&] { f.chkPolRotated->click(); }},
        {"the rotated flag all have", {0, 1}, [&] {
             f.SetPolRotatedBox(false);
             f.chkPolRotated->click();
         }},
        {"the filter all have", {0, 2}, [&] { chooseFilter("Normal"); }},
        {"a light diminution all have", {0, 1, 2}, [&] { typeLightDimu("30"); }},
        {"a light diminution above 100 when all have 100", {0}, [&] {
             OMBREL_polygon_set_light_diminution(pols_[0], 100);
             typeLightDimu("250");
             OMBREL_polygon_set_light_diminution(pols_[0], 30);
         }},
        {"text that is no number", {0}, [&] {
             for (const char* text : {"abc", "1e999", "nan", "inf", ""}) typeLightDimu(text);
         }},
        {"Flip without polygons", {}, [&] { f.cmdFlipPol->click(); }},
        {"Delete without polygons", {}, [&] { f.cmdDeletePol->click(); }},
        {"Detach cancelled", {1}, [&] { f.cmdDetachPols->click(); }},
        {"Detach with an empty name", {1}, [&] { f.cmdDetachPols->click(); }},
    };
    const int32_t groups = OMBREL_group_get_number_of_polygons(walls_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.squares.size() == 3) {
            f.mnuSelectAll_Click();
        } else {
            pickInOrder(c.squares);
        }
        const bool box = f.chkPolRotated->isChecked();
        const History before = history();
        c.action();
        EXPECT_EQ(history(), before);
        for (int32_t p : pols_) {
            const Values v = valuesOf(p);
            EXPECT_EQ(v.rotated, 1);
            EXPECT_EQ(v.dimu, 30);
            EXPECT_EQ(v.code, 82);
        }
        if (c.squares.empty()) {
            EXPECT_EQ(f.chkPolRotated->isChecked(), box);
        }
        EXPECT_EQ(OMBREL_group_get_number_of_polygons(walls_), groups);
        EXPECT_EQ(CurrSelEntityHandle, walls_);
    }
    EXPECT_EQ(platform_.prompts.pendingAnswers(), 0u);
    EXPECT_EQ(LastErrDescription, "");
}

// 0 to 100 applies, anything else is refused; the spinner shows the value
// rounded, halves to even, and the field the value in force.
TEST_F(PolygonPanelTest, LightDiminutionTakes0To100AndTheFieldShowsTheValueInForce) {
    Form1& f = start();
    struct Case {
        const char* text;
        double applied;
        int spinner;
        QString shown;  // the field after applying
    };
    const Case cases[] = {
        {"100", 100, 100, "100"},
        {"250", 100, 100, "100"},  // refused: 100 stays in force
        {"0", 0, 0, "0"},
        {"-5", 0, 0, "0"},
        {"12.5", 12.5, 12, "12.5"},
        {"12.25", 12.25, 12, "12.25"},
        {"13.5", 13.5, 14, "13.5"},
        {" 7 ", 7, 7, "7"},
    };
    pick({0, 2});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        typeLightDimu(c.text);
        EXPECT_EQ(OMBREL_polygon_get_light_diminution(pols_[0]), c.applied);
        EXPECT_EQ(OMBREL_polygon_get_light_diminution(pols_[2]), c.applied);
        EXPECT_EQ(f.updwnPolLightDimu->Value(), c.spinner);
        EXPECT_EQ(f.txtPolLightDimu->text(), c.shown);
        EXPECT_FALSE(f.PolLightDimuEditMarked());
        EXPECT_EQ(UndoRedoStack->Retrive()->ActionType, ActChngPolLightDimu);
    }
    EXPECT_EQ(OMBREL_polygon_get_light_diminution(pols_[1]), 0);
    // An arrow applies at once: 7 + 1.
    QToolButton* up = nullptr;
    for (QToolButton* arrow : f.updwnPolLightDimu->findChildren<QToolButton*>())
        if (arrow->arrowType() == Qt::UpArrow) up = arrow;
    ASSERT_NE(up, nullptr);
    up->click();
    EXPECT_EQ(f.txtPolLightDimu->text(), "8");
    EXPECT_EQ(OMBREL_polygon_get_light_diminution(pols_[2]), 8);
    f.mnuUndo_Click();
    EXPECT_EQ(OMBREL_polygon_get_light_diminution(pols_[2]), 7);
    // Typing marks the field until it is applied; leaving it applies too.
    f.txtPolLightDimu->setText("33");
    EXPECT_TRUE(f.PolLightDimuEditMarked());
    f.txtPolLightDimu_LostFocus();
    EXPECT_EQ(OMBREL_polygon_get_light_diminution(pols_[0]), 33);
    EXPECT_FALSE(f.PolLightDimuEditMarked());
}

TEST_F(PolygonPanelTest, AStalePolygonInTheSelectionIsRefusedQuietly) {
    Form1& f = start();
    pick({0, 1});
    // Gone from the engine behind the panel's back.
    OMBREL_polygon_delete(pols_[1]);
    const auto corners = positionsOf(pols_[0]);
    f.cmdFlipPol->click();
    EXPECT_NE(positionsOf(pols_[0]), corners);
    f.mnuUndo_Click();
    EXPECT_EQ(positionsOf(pols_[0]), corners);
    // Three records, the history's whole length.
    f.chkPolRotated->click();
    typeLightDimu("64");
    chooseFilter("Control");
    const Values v = valuesOf(pols_[0]);
    EXPECT_EQ(v.rotated, 1);
    EXPECT_EQ(v.dimu, 64);
    EXPECT_EQ(v.code, 68);
    for (int i = 0; i < 3; ++i) f.mnuUndo_Click();
    const Values back = valuesOf(pols_[0]);
    EXPECT_EQ(back.rotated, 0);
    EXPECT_EQ(back.dimu, 0);
    EXPECT_EQ(back.code, 0);
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(PolygonPanelTest, TheTransparentColourIsRefusedInTheOrderOfItsChecks) {
    Form1& f = start();
    const int32_t animation = OMBREL_animation_create("flames");
    OMBREL_polygon_set_animation(pols_[0], animation);
    OMBREL_polygon_set_bitmap_fill(pols_[2], loadBitmap("wall.bmp", -1));
    std::vector<int> pickerModes;
    f.ShowTrnsClrPcr = [&](int mode) { pickerModes.push_back(mode); };
    const std::string none = "Please selecet at least one polygon.";
    const std::string single = "Please selecet a single polygon only.";
    const std::string animated =
        "Selected polygon uses 2D animation. To change transparent color you will need to edit the animation.";
    const std::string noBitmap = "Selected polygon doesn't have a bitmap assigned to it.";
    struct Case {
        const char* name;
        std::vector<int> squares;
        std::string message;  // "" = accepted
    };
    const Case cases[] = {
        {"no polygon", {}, none},
        {"an animated polygon", {0}, animated},
        {"a polygon without a bitmap", {1}, noBitmap},
        {"two polygons", {1, 2}, single},
        {"two polygons, the first animated", {0, 2}, single},
        {"a polygon with a bitmap", {2}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pickInOrder(c.squares);
        ASSERT_FALSE(f.chkEditPolTrans->isChecked());
        const History before = history();
        const std::size_t shown = platform_.prompts.shown().size();
        // The box.
        if (!c.message.empty()) platform_.prompts.answer(platform::MsgResult::OK);
        f.chkEditPolTrans->click();
        EXPECT_EQ(f.chkEditPolTrans->isChecked(), c.message.empty());
        EXPECT_EQ(f.cmdPoltextureTransparentClr->isEnabled(), c.message.empty());
        EXPECT_FALSE(f.SkipPolTransClick);
        // The button, enabled or not, asks the same.
        if (!c.message.empty()) platform_.prompts.answer(platform::MsgResult::OK);
        f.cmdPoltextureTransparentClr_Click();
        const auto& prompts = platform_.prompts.shown();
        if (c.message.empty()) {
            EXPECT_EQ(prompts.size(), shown);
            EXPECT_EQ(pickerModes, std::vector<int>{0});
            // Unchecking changes nothing on the polygon.
            f.chkEditPolTrans->click();
            EXPECT_FALSE(f.cmdPoltextureTransparentClr->isEnabled());
        } else {
            ASSERT_EQ(prompts.size(), shown + 2);
            for (std::size_t i = shown; i < shown + 2; ++i) {
                EXPECT_EQ(prompts[i].text, c.message);
                EXPECT_EQ(prompts[i].title, "TALVORA");
                EXPECT_EQ(prompts[i].icon, platform::MsgIcon::Information);
            }
        }
        EXPECT_EQ(history(), before);
    }
    EXPECT_EQ(OMBREL_polygon_get_transparent_index(pols_[2]), -1);
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(PolygonPanelTest, TheTransparentColourRecordWritesTheBoxWithoutItsClickHandling) {
    Form1& f = start();
    const int32_t plain = loadBitmap("brick.bmp", 3);
    for (int32_t p : {pols_[0], pols_[1]}) OMBREL_polygon_set_bitmap_fill(p, plain);
    pick({0, 1});
    // What the picker records: the index 3 of both polygons' bitmap becomes 5.
    auto pickIndex = [&](int32_t index) {
        auto r = ActionUndoRedo::New(ActChngPolTrnsIndx);
        r->ChngPolTransIndx->SetSel_PolandFatherGrp(SelPols[1], CurrSelEntityHandle);
        r->ChngPolTransIndx->SetPrevTrnsIndx(OMBREL_polygon_get_transparent_index(SelPols[1]));
        r->ChngPolTransIndx->SetAffectAllPolsWithSameMapNameFlag(true);
        const int32_t keyed = OMBREL_bitmap_load(GetEntityName(plain).c_str(), index);
        for (int32_t p : {pols_[0], pols_[1]}) OMBREL_polygon_set_bitmap_fill(p, keyed);
        r->ChngPolTransIndx->SetNewTrnsIndx(index);
        UndoRedoStack->Push(std::move(r));
    };
    pickIndex(5);
    pickIndex(-1);
    const std::size_t shown = platform_.prompts.shown().size();

    f.mnuUndo_Click();  // back to 5
    EXPECT_TRUE(f.chkEditPolTrans->isChecked());
    EXPECT_TRUE(f.cmdPoltextureTransparentClr->isEnabled());
    EXPECT_EQ(Form1::BackColor(f.cmdPoltextureTransparentClr), platform::rgb(200, 100, 50));
    f.mnuUndo_Click();  // back to 3
    EXPECT_TRUE(f.chkEditPolTrans->isChecked());
    EXPECT_EQ(Form1::BackColor(f.cmdPoltextureTransparentClr), platform::rgb(9, 8, 7));
    f.mnuRedo_Click();
    f.mnuRedo_Click();  // to none
    EXPECT_FALSE(f.chkEditPolTrans->isChecked());
    EXPECT_FALSE(f.cmdPoltextureTransparentClr->isEnabled());
    EXPECT_EQ(Form1::BackColor(f.cmdPoltextureTransparentClr), Form1::ButtonFaceColour);
    for (int32_t p : {pols_[0], pols_[1]}) EXPECT_EQ(OMBREL_polygon_get_transparent_index(p), -1);
    f.mnuUndo_Click();  // to 5 again
    EXPECT_TRUE(f.chkEditPolTrans->isChecked());
    for (int32_t p : {pols_[0], pols_[1]}) EXPECT_EQ(OMBREL_polygon_get_transparent_index(p), 5);
    // Two polygons are selected, yet no record showed a message.
    EXPECT_EQ(platform_.prompts.shown().size(), shown);
    EXPECT_FALSE(f.SkipPolTransClick);

    // The user's next click is handled: unchecking, then checking with two polygons.
    f.chkEditPolTrans->click();
    EXPECT_FALSE(f.cmdPoltextureTransparentClr->isEnabled());
    platform_.prompts.answer(platform::MsgResult::OK);
    f.chkEditPolTrans->click();
    ASSERT_EQ(platform_.prompts.shown().size(), shown + 1);
    EXPECT_EQ(platform_.prompts.shown().back().text, "Please selecet a single polygon only.");
    EXPECT_FALSE(f.chkEditPolTrans->isChecked());
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(PolygonPanelTest, TheNameFieldRenamesTheOnePolygonOnEnterOnly) {
    Form1& f = start();
    OMBREL_polygon_set_name(pols_[1], "door");
    f.AddPolNode(pols_[1], walls_);
    const std::string key = KeyedTree::NodeKey("Pol", pols_[1]);
    pick({1});
    EXPECT_EQ(f.txtSelPolName->text(), "door");
    const History before = history();

    struct Case {
        const char* name;
        QString typed;
        int key;  // Qt key ending the edit; 0: the field loses focus
        std::string engineName;
    };
    const Case cases[] = {
        {"Enter applies as typed", "  porte d'entrée ", Qt::Key_Return, "  porte d'entrée "},
        {"Escape puts the engine name back", "gate", Qt::Key_Escape, "  porte d'entrée "},
        {"leaving drops the edit", "hatch", 0, "  porte d'entrée "},
        {"an empty name is applied too", "", Qt::Key_Return, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.txtSelPolName->setText(c.typed);
        EXPECT_TRUE(f.PolNameEditMarked());
        if (c.key) {
            QTest::keyClick(f.txtSelPolName, static_cast<Qt::Key>(c.key));
        } else {
            f.txtSelPolName_LostFocus();
        }
        EXPECT_EQ(GetEntityName(pols_[1]), c.engineName);
        EXPECT_EQ(f.trwGroupView->Item(key)->text(0).toStdString(), c.engineName);
        if (c.key) {
            EXPECT_FALSE(f.PolNameEditMarked());
        }
        if (c.key != Qt::Key_Return) {
            EXPECT_EQ(f.txtSelPolName->text().toStdString(), c.engineName);
        }
    }
    EXPECT_EQ(history(), before);

    // With two polygons the field does nothing.
    pick({0, 1});
    f.txtSelPolName->setText("both");
    EXPECT_FALSE(f.PolNameEditMarked());
    f.txtSelPolName_KeyPress(13);
    EXPECT_EQ(GetEntityName(pols_[0]), "");
    EXPECT_EQ(GetEntityName(pols_[1]), "");
}

TEST_F(PolygonPanelTest, FlipAndDeleteAreUndoneAndRedone) {
    Form1& f = start();
    pick({0, 1});
    const auto first = positionsOf(pols_[0]);
    const auto reversed = std::vector<std::array<double, 3>>(first.rbegin(), first.rend());
    f.cmdFlipPol->click();
    EXPECT_EQ(UndoRedoStack->Retrive()->ActionType, ActPolsFlip);
    EXPECT_EQ(positionsOf(pols_[0]), reversed);
    f.cmdFlipPol->click();
    EXPECT_EQ(positionsOf(pols_[0]), first);
    f.mnuUndo_Click();
    EXPECT_EQ(positionsOf(pols_[0]), reversed);
    f.mnuRedo_Click();
    EXPECT_EQ(positionsOf(pols_[0]), first);

    f.cmdDeletePol->click();
    EXPECT_EQ(PolygonsOf(walls_), std::vector<int32_t>{pols_[2]});
    EXPECT_EQ(NumSelPols, 0);
    EXPECT_EQ(f.txtSelPolName->text(), "None");
    EXPECT_EQ(f.StatusBarPanel(2), "1");
    EXPECT_EQ(NumWeldedPts, 4);
    f.mnuUndo_Click();
    EXPECT_EQ(PolygonsOf(walls_).size(), 3u);
    EXPECT_EQ(SelectedPolygons(), (std::vector<int32_t>{pols_[0], pols_[1]}));
    EXPECT_EQ(NumWeldedPts, 12);
    EXPECT_EQ(f.StatusBarPanel(2), "3");
    f.mnuRedo_Click();
    EXPECT_EQ(PolygonsOf(walls_), std::vector<int32_t>{pols_[2]});
    EXPECT_EQ(LastErrDescription, "");
}

// The name field follows the polygon selection through a deletion, its Undo and
// its Redo; with nothing selected it is a plain, disabled "None".
TEST_F(PolygonPanelTest, TheNameFieldFollowsADeletionItsUndoAndItsRedo) {
    Form1& f = start();
    OMBREL_polygon_set_name(pols_[0], "north");
    struct Case {
        const char* name;
        std::vector<int> squares;
        QString typed;  // left unapplied before the deletion
        QString shown;  // with the polygons back
        bool enabled;
    };
    const Case cases[] = {
        {"one named polygon", {0}, "half typed", "north", true},
        {"two polygons", {1, 2}, "", "2 Pols selected", false},
    };
    auto expectNone = [&] {
        EXPECT_EQ(f.txtSelPolName->text(), "None");
        EXPECT_FALSE(f.txtSelPolName->isEnabled());
        EXPECT_FALSE(f.PolNameEditMarked());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pickInOrder(c.squares);
        if (!c.typed.isEmpty()) {
            f.txtSelPolName->setText(c.typed);
            ASSERT_TRUE(f.PolNameEditMarked());
        }
        f.cmdDeletePol->click();
        expectNone();
        for (int round = 0; round < 3; ++round) {
            f.mnuUndo_Click();
            ASSERT_EQ(NumSelPols, static_cast<int32_t>(c.squares.size()));
            EXPECT_EQ(f.txtSelPolName->text(), c.shown);
            EXPECT_EQ(f.txtSelPolName->isEnabled(), c.enabled);
            f.mnuRedo_Click();
            ASSERT_EQ(NumSelPols, 0);
            expectNone();
        }
        f.mnuUndo_Click();
    }
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(PolygonPanelTest, DetachMakesANamedGroupThatUndoTakesAwayAndRedoBringsBack) {
    Form1& f = start();
    pick({0, 2});
    platform_.prompts.answerInput("Détaché");
    f.cmdDetachPols->click();
    const auto& asked = platform_.prompts.shown().back();
    EXPECT_EQ(asked.text, "New Group Name:");
    EXPECT_EQ(asked.title, "Detach Polygons.");
    const int32_t made = CurrSelEntityHandle;
    ASSERT_NE(made, walls_);
    EXPECT_EQ(GetEntityName(made), "Détaché");
    EXPECT_EQ(PolygonsOf(made), (std::vector<int32_t>{pols_[0], pols_[2]}));
    EXPECT_EQ(PolygonsOf(walls_), std::vector<int32_t>{pols_[1]});
    EXPECT_EQ(OMBREL_group_get_father_group(made), RootGrp);
    std::array<double, 3> pivot{};
    OMBREL_group_get_rotate_reference_point(made, pivot.data());
    EXPECT_EQ(pivot, (std::array<double, 3>{0, 0, 0}));
    const std::string key = KeyedTree::NodeKey("Group", made);
    ASSERT_TRUE(f.trwGroupView->Exists(key));
    EXPECT_EQ(f.trwGroupView->Item(key)->parent(), nullptr);
    EXPECT_EQ(f.trwGroupView->Item(key)->text(0), "Détaché");
    EXPECT_EQ(f.txtSelectedGrpName->text(), "Détaché");
    EXPECT_EQ(NumSelPols, 0);
    EXPECT_EQ(UndoRedoStack->Retrive()->ActionType, ActDetachPols);

    for (int round = 0; round < 2; ++round) {
        f.mnuUndo_Click();
        EXPECT_EQ(PolygonsOf(walls_).size(), 3u);
        EXPECT_EQ(OMBREL_group_get_father_group(made), 0);
        EXPECT_EQ(OMBREL_group_is_disable(made), 1);
        EXPECT_FALSE(f.trwGroupView->Exists(key));
        EXPECT_EQ(CurrSelEntityHandle, walls_);
        EXPECT_EQ(f.txtSelectedGrpName->text(), "walls");
        f.mnuRedo_Click();
        EXPECT_EQ(CurrSelEntityHandle, made);
        EXPECT_EQ(PolygonsOf(made), (std::vector<int32_t>{pols_[0], pols_[2]}));
        EXPECT_EQ(OMBREL_group_is_disable(made), 0);
        EXPECT_TRUE(f.trwGroupView->Exists(key));
        EXPECT_EQ(f.txtSelectedGrpName->text(), "Détaché");
    }
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(PolygonPanelTest, DetachNeedsOneSelectedGroup) {
    Form1& f = start();
    pick({0});
    // A multiple selection keeps its polygons but detaches nothing, asking nothing.
    CurrSelEntityType = SelMultiple;
    const History before = history();
    f.cmdDetachPols->click();
    EXPECT_EQ(history(), before);
    EXPECT_EQ(PolygonsOf(walls_).size(), 3u);
    CurrSelEntityType = SelGroup;
}

}  // namespace
