// The window's side of the selection: Edit > Select All and Select Invert in each
// workspace mode, and the select tool's clicks and rubber bands in a real view,
// with the trees, the status bar and the undo history following.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "ombrel.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include <algorithm>
#include <array>
#include <functional>
#include <set>
#include <vector>

namespace {

using Pixel = std::array<int32_t, 2>;
using Globals::CurrMultiSel;

constexpr int kView = 0;
constexpr int kLeft = 1, kRight = 2;

// A flat polygon in the z = 0 plane through the given corners.
int32_t makePolygon(int32_t group, const std::vector<std::array<double, 2>>& corners) {
    return MakePolygon(group, corners);
}

int32_t makeGroup(const char* name, int32_t father) { return MakeGroup(name, father); }

// A square of side 100 around (cx, cy).
void square(int32_t group, double cx, double cy) {
    makePolygon(group, {{cx - 50, cy - 50}, {cx - 50, cy + 50}, {cx + 50, cy + 50}, {cx + 50, cy - 50}});
}

std::set<int32_t> selectedGroups() {
    std::set<int32_t> out;
    for (int32_t i = 1; i <= CurrMultiSel->NumOfGrps(); ++i) out.insert(CurrMultiSel->GetGrp(i));
    return out;
}

std::vector<int32_t> pointsOf(int32_t group) {
    std::vector<int32_t> out;
    for (int32_t pol = OMBREL_group_get_first_polygon(group); pol != 0; pol = OMBREL_group_get_next_polygon(group, pol))
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt))
            out.push_back(pt);
    return out;
}

std::vector<int32_t> selectedPoints() {
    std::vector<int32_t> out;
    for (int32_t i = 1; i <= Globals::NumSelPts; ++i) out.push_back(Globals::SelPts[i]);
    return out;
}

std::set<int32_t> ownersOfSelectedPoints() {
    std::set<int32_t> out;
    for (int32_t i = 1; i <= Globals::NumSelPtsPols; ++i) out.insert(Globals::SelPtsPols[i]);
    return out;
}

// Opaque pixels of one colour.
int pixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == (colour | 0xFF000000u);
    return count;
}

ActionUndoRedo* newestRecord() { return Globals::UndoRedoStack->Retrive(); }

class SelectionWindowTest : public EditorFixture {
protected:
    // Three top-level groups side by side in the z = 0 plane and a child of the
    // left one above it; the right group is two triangles sharing an edge.
    Form1& start() {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        left_ = makeGroup("left", Globals::RootGrp);
        square(left_, -300, 0);
        child_ = makeGroup("child", left_);
        square(child_, -300, 250);
        right_ = makeGroup("right", Globals::RootGrp);
        tri1_ = makePolygon(right_, {{250, -50}, {250, 50}, {350, 50}});
        tri2_ = makePolygon(right_, {{250, -50}, {350, 50}, {350, -50}});
        far_ = makeGroup("far", Globals::RootGrp);
        square(far_, 0, -300);
        f.trwGroupView_Populate();
        QApplication::processEvents();
        UpdateCameras();
        return f;
    }

    // The view pixel the engine draws the world point at.
    Pixel pixelOf(double x, double y) { return PixelOf(kView, x, y); }

    // A press and release of the left button (or another) with the key held.
    void click(const Pixel& at, int key = 0, int button = 1) { ClickView(kView, at, key, button); }

    // A rubber band: press, a few moves with the button held, release.
    void band(const Pixel& from, const Pixel& to, int key = 0, const std::function<void()>& beforeRelease = {}) {
        platform::clearKeyState();
        if (key) platform::setKeyHeld(key, true);
        Form1& f = form();
        f.picWindow_MouseDown(kView, 1, 0, static_cast<float>(from[0]), static_cast<float>(from[1]));
        for (int step = 1; step <= 3; ++step) {
            const float x = static_cast<float>(from[0] + (to[0] - from[0]) * step / 3);
            const float y = static_cast<float>(from[1] + (to[1] - from[1]) * step / 3);
            f.picWindow_MouseMove(kView, 1, 0, x, y);
        }
        if (beforeRelease) beforeRelease();
        f.picWindow_MouseUp(kView, 1, 0, static_cast<float>(to[0]), static_cast<float>(to[1]));
        platform::clearKeyState();
    }

    void hideInTree(int32_t group) { form().trwGroupView->SetImage(node(group), "Group Invisible"); }
    void showInTree(int32_t group) { form().trwGroupView->SetImage(node(group), "Group"); }

    void editGeometry(const char* subMode) {
        Form1& f = form();
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText("Edit Geometry");
        f.cmbObjEditGeom->setCurrentText(subMode);
        ASSERT_EQ(f.cmbObj->currentText(), "Edit Geometry");
    }

    // The right group selected and edited in the sub-mode.
    Form1& editRightGroup(const char* subMode) {
        Form1& f = start();
        click(pixelOf(300, 0));
        EXPECT_EQ(Globals::CurrSelEntityHandle, right_);
        editGeometry(subMode);
        return f;
    }

    bool bold(int32_t group) {
        return KeyedTree::Bold(form().trwGroupView->Item(KeyedTree::NodeKey("Group", group)));
    }
    QTreeWidgetItem* node(int32_t group) { return form().trwGroupView->Item(KeyedTree::NodeKey("Group", group)); }

    int32_t left_ = 0, child_ = 0, right_ = 0, far_ = 0, tri1_ = 0, tri2_ = 0;
};

}  // namespace

TEST_F(SelectionWindowTest, SelectAllTakesTheVisibleTopLevelGroupsOfTheTree) {
    struct Case {
        const char* name;
        std::vector<int> hidden;  // 0 left, 1 right, 2 far
        int32_t kind;
        std::vector<int> selected;
    };
    const Case cases[] = {
        {"all visible", {}, SelMultiple, {0, 1, 2}},
        {"one hidden", {2}, SelMultiple, {0, 1}},
        {"one visible", {0, 2}, SelGroup, {1}},
        {"all hidden", {0, 1, 2}, SelNone, {}},
    };
    Form1& f = start();
    const int32_t groups[] = {left_, right_, far_};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        click(pixelOf(0, 200));  // empty space: nothing selected
        ASSERT_EQ(Globals::CurrSelEntityType, SelNone);
        for (int32_t g : groups) showInTree(g);
        for (int i : c.hidden) hideInTree(groups[i]);
        ActionUndoRedo* before = newestRecord();
        f.mnuSelectAll_Click();
        EXPECT_EQ(Globals::LastErrDescription, "");
        std::set<int32_t> expected;
        for (int i : c.selected) expected.insert(groups[i]);
        // The child is selected with its top-level group, never by itself.
        EXPECT_EQ(selectedGroups(), expected);
        EXPECT_EQ(Globals::CurrSelEntityType, c.kind);
        if (c.kind == SelGroup) {
            EXPECT_EQ(Globals::CurrSelEntityHandle, right_);
            EXPECT_TRUE(bold(right_));
            EXPECT_EQ(f.txtSelectedGrpName->text(), "right");
        }
        if (c.kind == SelMultiple) {
            EXPECT_EQ(f.txtSelectedGrpName->text(), "Multiple");
        }
        // Nothing selected before: a record unless nothing is selected again.
        ActionUndoRedo* after = newestRecord();
        EXPECT_EQ(after != before, c.kind != SelNone);
        if (after != before) {
            EXPECT_EQ(after->ActionType, 1);
        }

        // The same selection again records nothing.
        f.mnuSelectAll_Click();
        EXPECT_EQ(newestRecord(), after);
        EXPECT_EQ(selectedGroups(), expected);
    }
}

TEST_F(SelectionWindowTest, SelectInvertTakesTheOtherVisibleGroups) {
    Form1& f = start();
    hideInTree(far_);
    click(pixelOf(-300, 0));
    ASSERT_EQ(Globals::CurrSelEntityHandle, left_);

    f.mnuSelectInvert_Click();
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, right_);
    EXPECT_TRUE(bold(right_));
    EXPECT_FALSE(bold(left_));

    f.mnuSelectInvert_Click();
    EXPECT_EQ(Globals::CurrSelEntityHandle, left_);

    // Inverting a multiple selection of every visible group leaves nothing.
    f.mnuSelectAll_Click();
    ASSERT_EQ(Globals::CurrSelEntityType, SelMultiple);
    ActionUndoRedo* before = newestRecord();
    f.mnuSelectInvert_Click();
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_TRUE(selectedGroups().empty());
    EXPECT_NE(newestRecord(), before);
    EXPECT_EQ(f.txtSelectedGrpName->text(), "");
    EXPECT_FALSE(f.txtSelectedGrpName->isEnabled());

    // Undo gives the multiple selection back.
    f.mnuUndo_Click();
    EXPECT_FALSE(bold(far_)) << "the undone selection's node stays bold";
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(selectedGroups(), (std::set<int32_t>{left_, right_}));
}

TEST_F(SelectionWindowTest, InPointEditingSelectAllAndInvertWorkOnTheEditedGroupsPoints) {
    Form1& f = start();
    click(pixelOf(300, 0));
    ASSERT_EQ(Globals::CurrSelEntityHandle, right_);
    editGeometry("Point");
    const std::vector<int32_t> all = pointsOf(right_);
    ASSERT_EQ(all.size(), 6u);  // the shared corners once per triangle

    f.mnuSelectAll_Click();
    EXPECT_EQ(selectedPoints(), all);
    EXPECT_EQ(ownersOfSelectedPoints(), (std::set<int32_t>{tri1_, tri2_}));
    // The object selection stays.
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, right_);

    ActionUndoRedo* before = newestRecord();
    f.mnuSelectInvert_Click();
    EXPECT_EQ(Globals::NumSelPts, 0);
    EXPECT_EQ(Globals::NumSelPtsPols, 0);
    // Only an object selection change is recorded by the menu commands.
    EXPECT_EQ(newestRecord(), before);

    // From a part of the second triangle, inverting twice gives it back.
    Globals::NumSelPts = 0;
    const int32_t first = OMBREL_polygon_get_first_point(tri2_);
    Globals::SelPts[++Globals::NumSelPts] = first;
    f.mnuSelectInvert_Click();
    EXPECT_EQ(Globals::NumSelPts, 5);
    const std::vector<int32_t> inverted = selectedPoints();
    EXPECT_EQ(std::count(inverted.begin(), inverted.end(), first), 0);
    EXPECT_EQ(ownersOfSelectedPoints(), (std::set<int32_t>{tri1_, tri2_}));
    f.mnuSelectInvert_Click();
    EXPECT_EQ(selectedPoints(), (std::vector<int32_t>{first}));
    EXPECT_EQ(ownersOfSelectedPoints(), (std::set<int32_t>{tri2_}));
}

TEST_F(SelectionWindowTest, InPolygonEditingSelectAllAndInvertWorkOnTheEditedGroupsPolygons) {
    Form1& f = start();
    click(pixelOf(300, 0));
    editGeometry("Polygon");

    f.mnuSelectAll_Click();
    ASSERT_EQ(Globals::NumSelPols, 2);
    EXPECT_EQ(Globals::SelPols[1], tri1_);
    EXPECT_EQ(Globals::SelPols[2], tri2_);
    // The two triangles' points weld into the square's four corners.
    EXPECT_EQ(Globals::NumSelPolsRelatedPts, 4);

    f.mnuSelectInvert_Click();
    EXPECT_EQ(Globals::NumSelPols, 0);
    // Nothing left for a later transform to move.
    EXPECT_EQ(Globals::NumSelPolsRelatedPts, 0);

    Globals::SelPols[1] = tri1_;
    Globals::NumSelPols = 1;
    f.mnuSelectInvert_Click();
    ASSERT_EQ(Globals::NumSelPols, 1);
    EXPECT_EQ(Globals::SelPols[1], tri2_);
    EXPECT_EQ(Globals::NumSelPolsRelatedPts, 3);
    EXPECT_EQ(Globals::CurrSelEntityHandle, right_);
}

TEST_F(SelectionWindowTest, ClicksPickTheDrawnGroupAndKeysAddOrRemove) {
    Form1& f = start();
    const Pixel onLeft = pixelOf(-300, 0), onChild = pixelOf(-300, 250), onRight = pixelOf(280, -30);
    const Pixel empty = pixelOf(0, 200);
    // The engine drew the groups where the clicks go, and nothing at the empty spot.
    const QImage& picture = f.picWindow[kView]->buffer();
    const QRgb background = picture.pixel(empty[0], empty[1]);
    EXPECT_NE(picture.pixel(onLeft[0], onLeft[1]), background);
    EXPECT_NE(picture.pixel(onRight[0], onRight[1]), background);

    struct Step {
        const char* name;
        Pixel at;
        int key;
        int32_t kind;
        std::vector<int> selected;  // kLeft, kRight
    };
    const Step steps[] = {
        {"click on the left group", onLeft, 0, SelGroup, {kLeft}},
        {"ctrl-click on the right group", onRight, platform::vk::Control, SelMultiple, {kLeft, kRight}},
        {"ctrl-click on a selected group", onRight, platform::vk::Control, SelMultiple, {kLeft, kRight}},
        {"shift-click on the left group", onLeft, platform::vk::Shift, SelGroup, {kRight}},
        {"click on the child", onChild, 0, SelGroup, {kLeft}},
        {"click on empty space", empty, 0, SelNone, {}},
    };
    const int32_t leftCount = OMBREL_group_get_number_of_polygons(left_);
    const int32_t rightCount = OMBREL_group_get_number_of_polygons(right_);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        ActionUndoRedo* before = newestRecord();
        const std::set<int32_t> previous = selectedGroups();
        click(s.at, s.key);
        EXPECT_EQ(Globals::LastErrDescription, "");
        std::set<int32_t> expected;
        int32_t polygons = 0;
        for (int g : s.selected) {
            expected.insert(g == kLeft ? left_ : right_);
            polygons += g == kLeft ? leftCount : rightCount;
        }
        EXPECT_EQ(selectedGroups(), expected);
        EXPECT_EQ(Globals::CurrSelEntityType, s.kind);
        const bool changed = previous != expected;
        EXPECT_EQ(newestRecord() != before, changed);
        // The tree marks a single selected group; the status bar counts the
        // selected groups' polygons.
        EXPECT_EQ(bold(left_), s.kind == SelGroup && expected.count(left_));
        EXPECT_EQ(bold(right_), s.kind == SelGroup && expected.count(right_));
        if (s.kind == SelGroup) {
            EXPECT_EQ(f.trwGroupView->SelectedItem(), node(*expected.begin()));
        }
        EXPECT_EQ(f.StatusBarPanel(2), s.kind == SelNone ? QString() : QString::number(polygons));
    }
    EXPECT_FALSE(bold(child_));
}

TEST_F(SelectionWindowTest, ARubberBandSelectsWhatItsRectangleHolds) {
    Form1& f = start();
    // The band from above-left of the left group to below-right of the right
    // group's first corners, in pixels.
    const Pixel a = pixelOf(-360, 60), b = pixelOf(360, -60);
    const Pixel from = {std::min(a[0], b[0]), std::min(a[1], b[1])};
    const Pixel to = {std::max(a[0], b[0]), std::max(a[1], b[1])};
    // While the button is held the band is drawn over the view, yellow without a key.
    int bandPixels = -1;
    band(from, to, 0, [&] { bandPixels = pixelsOf(f.picWindow[kView]->transient().dc().image(), qRgb(255, 255, 0)); });
    EXPECT_GT(bandPixels, to[0] - from[0]);
    EXPECT_EQ(Globals::LastErrDescription, "");
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(selectedGroups(), (std::set<int32_t>{left_, right_}));
    EXPECT_EQ(f.txtSelectedGrpName->text(), "Multiple");

    // Shift removes what a band over the right group holds.
    const Pixel r1 = pixelOf(240, 60), r2 = pixelOf(360, -60);
    band({std::min(r1[0], r2[0]), std::min(r1[1], r2[1])}, {std::max(r1[0], r2[0]), std::max(r1[1], r2[1])},
         platform::vk::Shift);
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, left_);

    // A band over the child alone: without a key its top-level group, with Ctrl
    // the child itself joins.
    const Pixel c1 = pixelOf(-360, 310), c2 = pixelOf(-240, 190);
    const Pixel childFrom = {std::min(c1[0], c2[0]), std::min(c1[1], c2[1])};
    const Pixel childTo = {std::max(c1[0], c2[0]), std::max(c1[1], c2[1])};
    band(childFrom, childTo, platform::vk::Control);
    EXPECT_EQ(selectedGroups(), (std::set<int32_t>{left_, child_}));
    band(childFrom, childTo);
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, left_);
    EXPECT_TRUE(bold(left_));
}

TEST_F(SelectionWindowTest, ARightButtonReleaseSelectsNothing) {
    Form1& f = start();
    click(pixelOf(-300, 0));
    ASSERT_EQ(Globals::CurrSelEntityHandle, left_);
    ActionUndoRedo* before = newestRecord();
    click(pixelOf(300, 0), 0, /*button=*/2);
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, left_);
    EXPECT_EQ(newestRecord(), before);
    EXPECT_TRUE(bold(left_));
    EXPECT_FALSE(bold(right_));
    EXPECT_EQ(f.txtSelectedGrpName->text(), "left");
}

TEST_F(SelectionWindowTest, UndoAndRedoStepThroughTheSelections) {
    Form1& f = start();
    click(pixelOf(-300, 0));
    click(pixelOf(300, 0), platform::vk::Control);
    click(pixelOf(0, -300));
    ASSERT_EQ(Globals::CurrSelEntityHandle, far_);

    f.mnuUndo_Click();
    EXPECT_FALSE(bold(far_)) << "the undone selection's node stays bold";
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(selectedGroups(), (std::set<int32_t>{left_, right_}));
    EXPECT_EQ(f.txtSelectedGrpName->text(), "Multiple");
    EXPECT_EQ(f.StatusBarPanel(2), QString::number(OMBREL_group_get_number_of_polygons(left_) +
                                                   OMBREL_group_get_number_of_polygons(right_)));
    f.mnuUndo_Click();
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, left_);
    EXPECT_TRUE(bold(left_));
    EXPECT_EQ(f.txtSelectedGrpName->text(), "left");

    f.mnuRedo_Click();
    f.mnuRedo_Click();
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, far_);
    EXPECT_TRUE(bold(far_));
    EXPECT_FALSE(bold(left_));
    EXPECT_FALSE(bold(right_));
    EXPECT_EQ(Globals::LastErrDescription, "");
}

// Undo back to "nothing selected" runs the whole selection path: the tree, the
// group's name and the editing modes it offered all go, and come back on Redo.
TEST_F(SelectionWindowTest, UndoBackToNothingSelectedClearsTheWindow) {
    Form1& f = start();
    ASSERT_EQ(Globals::CurrSelEntityType, SelNone);
    click(pixelOf(-300, 0));
    ASSERT_EQ(Globals::CurrSelEntityHandle, left_);
    auto expectSelected = [&](bool selected) {
        EXPECT_EQ(Globals::CurrSelEntityType, selected ? SelGroup : SelNone);
        EXPECT_EQ(bold(left_), selected);
        EXPECT_EQ(f.txtSelectedGrpName->text(), selected ? "left" : "");
        EXPECT_EQ(f.cmbObj->count(), selected ? 3 : 1);
        EXPECT_EQ(f.cmbObj->currentText(), "New Object");
        EXPECT_EQ(f.StatusBarPanel(2),
                  selected ? QString::number(OMBREL_group_get_number_of_polygons(left_)) : QString());
    };
    expectSelected(true);
    f.mnuUndo_Click();
    expectSelected(false);
    f.mnuRedo_Click();
    expectSelected(true);
    f.mnuUndo_Click();
    expectSelected(false);
    EXPECT_EQ(Globals::LastErrDescription, "");
}

TEST_F(SelectionWindowTest, ThePolygonCountsFollowAPointDeleteAndItsUndoAndRedo) {
    Form1& f = editRightGroup("Point");
    const int32_t world = OMBREL_group_get_number_of_polygons(Globals::RootGrp);
    auto expectCounts = [&](int32_t gone) {
        EXPECT_EQ(f.StatusBarPanel(1), QString::number(world - gone));
        EXPECT_EQ(f.StatusBarPanel(2), QString::number(2 - gone));
    };
    expectCounts(0);
    click(pixelOf(350, -50));  // a corner of the second triangle only
    ASSERT_EQ(Globals::NumSelPts, 1);
    f.cmdEditPtDelete_Click();
    expectCounts(1);
    f.mnuUndo_Click();
    expectCounts(0);
    f.mnuRedo_Click();
    expectCounts(1);
    EXPECT_EQ(Globals::LastErrDescription, "");
}

TEST_F(SelectionWindowTest, InGeometryEditingAReleasePicksPolygonsOrPointsNotObjects) {
    Form1& f = editRightGroup("Polygon");
    click(pixelOf(330, -30));
    ASSERT_EQ(Globals::NumSelPols, 1);
    EXPECT_EQ(Globals::SelPols[1], tri2_);
    EXPECT_EQ(newestRecord()->ActionType, 19);
    click(pixelOf(270, 30), platform::vk::Control);
    EXPECT_EQ(Globals::NumSelPols, 2);
    EXPECT_EQ(Globals::SelPols[2], tri1_);
    // A click elsewhere picks no object while the group is edited.
    click(pixelOf(-300, 0));
    EXPECT_EQ(Globals::NumSelPols, 0);
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, right_);

    f.cmbObjEditGeom->setCurrentText("Point");
    // Corners of one triangle each: the owners follow the points.
    click(pixelOf(250, 50));
    EXPECT_EQ(Globals::NumSelPts, 1);
    EXPECT_EQ(ownersOfSelectedPoints(), (std::set<int32_t>{tri1_}));
    EXPECT_EQ(newestRecord()->ActionType, 21);
    click(pixelOf(350, -50), platform::vk::Control);
    EXPECT_EQ(Globals::NumSelPts, 2);
    EXPECT_EQ(ownersOfSelectedPoints(), (std::set<int32_t>{tri1_, tri2_}));
    EXPECT_EQ(Globals::CurrSelEntityHandle, right_);
    EXPECT_EQ(Globals::LastErrDescription, "");
}
