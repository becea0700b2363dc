// The extrude and bevel fields of the polygon frame on a real window: their
// numbers, the spinners' press, steps and release, Enter, the one record of each
// gesture, and a world closed under a finished extrusion.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "geometry/mdlExtrude.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "platform/virtual_keys.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/ViewRedraw.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace {

using namespace Globals;
using Vec = std::array<double, 3>;

constexpr int kView = 0;
constexpr int kExtrude = 0, kBevel = 1;

std::map<int32_t, Vec> pointsOfGroup(int32_t group) {
    std::map<int32_t, Vec> out;
    for (int32_t p = OMBREL_group_get_first_polygon(group); p; p = OMBREL_group_get_next_polygon(group, p))
        for (int32_t pt = OMBREL_polygon_get_first_point(p); pt; pt = OMBREL_point_get_next_point(pt)) {
            Vec v{};
            OMBREL_point_get_xyz(pt, v.data());
            out[pt] = v;
        }
    return out;
}

double farthest(const std::map<int32_t, Vec>& a, const std::map<int32_t, Vec>& b) {
    double worst = a.size() == b.size() ? 0 : INFINITY;
    for (const auto& [pt, p] : a) {
        auto q = b.find(pt);
        if (q == b.end()) return INFINITY;
        for (std::size_t k = 0; k < 3; ++k) worst = std::max(worst, std::fabs(p[k] - q->second[k]));
    }
    return worst;
}

class ExtrudeBevelFieldsTest : public EditorFixture {
protected:
    // Two squares side by side in "walls", both selected in polygon mode.
    Form1& start() {
        Form1& f = StartEditor();
        openWalls();
        return f;
    }
    void openWalls() {
        Form1& f = form();
        OpenEmptyWorld();
        walls_ = MakeGroup("walls", RootGrp);
        left_ = MakePolygon(walls_, {{-100, -50}, {-100, 50}, {0, 50}, {0, -50}});
        right_ = MakePolygon(walls_, {{0, -50}, {0, 50}, {100, 50}, {100, -50}});
        f.trwGroupView_Populate();
        QApplication::processEvents();
        ::UpdateCameras();
        ClickView(kView, PixelOf(kView, -50, 0));
        ASSERT_EQ(CurrSelEntityHandle, walls_);
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText("Edit Geometry");
        f.cmbObjEditGeom->setCurrentText("Polygon");
        ClickView(kView, PixelOf(kView, -50, 0));
        ClickView(kView, PixelOf(kView, 50, 0), platform::vk::Control);
        ASSERT_EQ(NumSelPols, 2);
    }

    // Typed key by key over the field's text, then Enter or leaving the field.
    void type(int field, const QString& text, bool enter = true) {
        QLineEdit* edit = form().txtExtBvl[static_cast<std::size_t>(field)];
        edit->selectAll();
        QTest::keyClicks(edit, text);
        if (enter) {
            QTest::keyClick(edit, Qt::Key_Return);
        } else {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(edit, &out);
        }
    }
    // A held arrow: the press is the first step, then more steps, then the release.
    void hold(int field, platform::UpDown::Direction direction, int steps, const std::function<void()>& whileHeld = {}) {
        platform::UpDown* spinner = form().updwnExtBvl[static_cast<std::size_t>(field)];
        spinner->press(direction);
        for (int i = 1; i < steps; ++i) spinner->step();
        if (whileHeld) whileHeld();
        spinner->release();
    }
    QString text(int field) { return form().txtExtBvl[static_cast<std::size_t>(field)]->text(); }

    int32_t walls_ = 0, left_ = 0, right_ = 0;
};

}  // namespace

TEST_F(ExtrudeBevelFieldsTest, TheFieldsSitInThePolygonFrameAndKeepTheirLastNumberWhenLeft) {
    Form1& f = start();
    for (QLineEdit* edit : f.txtExtBvl) EXPECT_TRUE(f.frmEditGeomPolygon->isAncestorOf(edit));
    EXPECT_TRUE(f.frmEditGeomPolygon->isAncestorOf(f.tlbrCut));
    EXPECT_EQ(text(kExtrude), "0");
    EXPECT_EQ(text(kBevel), "1");
    struct Case {
        int field;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {{kExtrude, "12", "12"}, {kExtrude, "abc", "12"}, {kExtrude, "1e999", "12"},
                          {kBevel, "1.5", "1.5"},  {kBevel, "x", "1.5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        type(c.field, c.typed, false);
        EXPECT_EQ(text(c.field), c.kept);
        EXPECT_EQ(f.updwnExtBvl[static_cast<std::size_t>(c.field)]->Tag, c.kept);
    }
    EXPECT_EQ(UndoRedoStack->Retrive() ? UndoRedoStack->Retrive()->ActionType : 0, ActSelectPols);
}

TEST_F(ExtrudeBevelFieldsTest, HoldingTheExtrudeSpinnerPreviewsAndRecordsOneExtrusion) {
    Form1& f = start();
    const auto before = pointsOfGroup(walls_);
    hold(kExtrude, platform::UpDown::Up, 3, [&] {
        EXPECT_EQ(text(kExtrude), "3");
        EXPECT_FALSE(f.ExtBvlSpinReleased);
    });
    EXPECT_EQ(LastErrDescription, "");
    EXPECT_TRUE(f.ExtBvlSpinReleased);
    EXPECT_EQ(text(kExtrude), "0");
    // The running sum moved again at every step: 1 + 2 + 3 along the normal (0, 0, 1).
    for (int32_t pt = OMBREL_polygon_get_first_point(left_); pt; pt = OMBREL_point_get_next_point(pt)) {
        Vec p{};
        OMBREL_point_get_xyz(pt, p.data());
        EXPECT_NEAR(p[2], 6 + 1e-6, 1e-9);
    }
    ASSERT_EQ(UndoRedoStack->Retrive()->ActionType, ActExtrude);
    ASSERT_EQ(mdlExtrude::NumAddedPols, 6);
    for (int32_t i = 1; i <= 6; ++i)
        EXPECT_TRUE(f.trwGroupView->Exists(KeyedTree::NodeKey("Pol", mdlExtrude::AddedPols[static_cast<std::size_t>(i)])));
    const auto extruded = pointsOfGroup(walls_);

    f.mnuUndo_Click();
    EXPECT_LE(farthest(pointsOfGroup(walls_), before), 1e-9);
    f.mnuRedo_Click();
    EXPECT_LE(farthest(pointsOfGroup(walls_), extruded), 1e-9);

    // One more gesture is one more record.
    ActionUndoRedo* last = UndoRedoStack->Retrive();
    hold(kExtrude, platform::UpDown::Down, 1);
    EXPECT_NE(UndoRedoStack->Retrive(), last);
    f.mnuUndo_Click();
    EXPECT_EQ(UndoRedoStack->Retrive(), last);
}

TEST_F(ExtrudeBevelFieldsTest, EnterExtrudesByTheTypedDepth) {
    Form1& f = start();
    type(kExtrude, "10");
    EXPECT_EQ(LastErrDescription, "");
    ASSERT_EQ(UndoRedoStack->Retrive()->ActionType, ActExtrude);
    EXPECT_NEAR(UndoRedoStack->Retrive()->Extrude->Offset()[2], 10 + 1e-6, 1e-9);
    EXPECT_EQ(text(kExtrude), "1");
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(walls_), 2 + 6);
    EXPECT_EQ(f.StatusBarPanel(1), "8");
}

TEST_F(ExtrudeBevelFieldsTest, TheBevelSpinnerScalesByEachStepsFactorAndTypedTinyFactorsAreRefused) {
    Form1& f = start();
    const auto before = pointsOfGroup(walls_);
    hold(kBevel, platform::UpDown::Up, 2, [&] { EXPECT_EQ(text(kBevel), "1.02"); });
    EXPECT_EQ(text(kBevel), "1");
    ASSERT_EQ(UndoRedoStack->Retrive()->ActionType, ActBevel);
    EXPECT_NEAR(UndoRedoStack->Retrive()->Bevel->BevelAmount(), 1.0302, 1e-12);
    Vec corner{};
    OMBREL_point_get_xyz(OMBREL_polygon_get_first_point(left_), corner.data());
    EXPECT_NEAR(corner[0], -100 * 1.0302, 1e-9);
    const auto bevelled = pointsOfGroup(walls_);

    for (const char* typed : {"0", "0.005", "-0.001"}) {
        SCOPED_TRACE(typed);
        ActionUndoRedo* last = UndoRedoStack->Retrive();
        type(kBevel, typed);
        EXPECT_EQ(text(kBevel), "1");  // the last accepted value again
        EXPECT_EQ(f.updwnExtBvl[kBevel]->Tag, "1");
        EXPECT_EQ(UndoRedoStack->Retrive(), last);
        EXPECT_EQ(pointsOfGroup(walls_), bevelled);
    }
    f.mnuUndo_Click();
    EXPECT_EQ(pointsOfGroup(walls_), before);
}

TEST_F(ExtrudeBevelFieldsTest, AfterTheWorldIsClosedNoPolygonOfItIsReached) {
    Form1& f = start();
    type(kExtrude, "5");
    ASSERT_EQ(mdlExtrude::NumAddedPols, 6);
    f.SetCutButtonValue(1);

    // Another world: the old sides are forgotten, and a bevel there names no
    // polygon but its own group's.
    platform_.prompts.answer(platform::MsgResult::No);  // "Save changes?"
    openWalls();
    EXPECT_EQ(mdlExtrude::NumAddedPols, 0);
    EXPECT_EQ(f.CutButtonValue(), 0);
    std::map<int32_t, Vec> marked;
    for (int i = 0; i < 6; ++i) {
        const int32_t p = MakePolygon(walls_, {{300.0 + i * 10, 0}, {300.0 + i * 10, 5}, {305.0 + i * 10, 5}}, 0);
        const double n[3] = {0, 0, 7};
        OMBREL_point_set_normal(OMBREL_polygon_get_first_point(p), n);
        marked[OMBREL_polygon_get_first_point(p)] = {0, 0, 7};
    }
    OMBREL_ext_clear_last_error();
    type(kBevel, "2");
    EXPECT_EQ(LastErrDescription, "");
    EXPECT_STREQ(OMBREL_ext_get_last_error(), "");
    ASSERT_EQ(UndoRedoStack->Retrive()->ActionType, ActBevel);
    for (const auto& [pt, normal] : marked) {
        Vec n{};
        EXPECT_EQ(OMBREL_ext_point_get_normal(pt, n.data()), 1);
        EXPECT_EQ(n, normal);
    }
}
