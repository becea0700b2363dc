// The selected track's points in the top view: clicks and bands with the keys
// held, each release that changed the selection recorded once; the handle
// moving, turning and scaling the points selected so; inserting a point on the
// edge under the pointer and deleting the selected points, both after the
// question that empties the history.
#include "TrackWorld.h"

#include <QAction>
#include <QPushButton>
#include <QToolBar>

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>

namespace {

namespace vk = platform::vk;
using platform::MsgResult;

class TrackPointsTest : public TrackWorldTest {
protected:
    // Pixels bounding the points with a margin of 8.
    std::pair<Pixel, Pixel> around(int32_t track, const std::vector<int32_t>& indices) {
        Pixel lo = {1 << 30, 1 << 30}, hi = {-(1 << 30), -(1 << 30)};
        for (int32_t i : indices) {
            const Pixel p = pixelOf(pointsOf(track)[static_cast<std::size_t>(i)]);
            for (int k = 0; k < 2; ++k) lo[k] = std::min(lo[k], p[k] - 8), hi[k] = std::max(hi[k], p[k] + 8);
        }
        return {lo, hi};
    }
    QAction* insertButton() { return form().tlbrBtnInsert->actions().first(); }
};

TEST_F(TrackPointsTest, ClicksAndBandsSelectByKeysAndOnlyChangesAreRecorded) {
    Form1& f = start();
    // Points 3 and 4 are one unit apart: the same pixel in the top view.
    const int32_t track = makeTrack({{-300, -200, 0}, {-100, -200, 0}, {100, -200, 0}, {300, 100, 0}, {301, 100, 0}}, false);
    selectTrack(track);
    editPoints();
    const Pixel empty = pixelOf({0, 300, 0});
    auto pt = [&](int32_t i) { return pixelOf(pointsOf(track)[static_cast<std::size_t>(i)]); };
    // The indices are copied: a captured initializer list would outlive its array.
    auto bandAround = [&](std::vector<int32_t> indices, std::vector<int> keys = {}) {
        return [this, track, indices, keys] {
            const auto [lo, hi] = around(track, indices);
            band(lo, hi, keys);
        };
    };
    struct Case {
        const char* name;
        std::function<void()> gesture;
        std::vector<int32_t> selected;
        bool recorded;
    };
    const Case cases[] = {
        {"click on a point", [&] { click(pt(1)); }, {1}, true},
        {"click on two overlapping points", [&] { click(pt(3)); }, {3, 4}, true},
        {"click on nothing", [&] { click(empty); }, {}, true},
        {"click on nothing, nothing selected", [&] { click(empty); }, {}, false},
        {"band", bandAround({0, 1, 2}), {0, 1, 2}, true},
        {"band with Ctrl adds, no point twice", bandAround({2, 3, 4}, {vk::Control}), {0, 1, 2, 3, 4}, true},
        {"band with Shift removes", bandAround({1, 2}, {vk::Shift}), {0, 3, 4}, true},
        {"Ctrl with Shift adds", [&] { click(pt(1), {vk::Control, vk::Shift}); }, {0, 3, 4, 1}, true},
        {"Ctrl on a selected point", [&] { click(pt(0), {vk::Control}); }, {0, 3, 4, 1}, false},
        {"Shift on nothing", [&] { click(empty, {vk::Shift}); }, {0, 3, 4, 1}, false},
        {"Shift on an unselected point", [&] { click(pt(2), {vk::Shift}); }, {0, 3, 4, 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pushMarker();
        c.gesture();
        EXPECT_EQ(selectedPts(), c.selected);
        EXPECT_EQ(newestType(), c.recorded ? ActSelectTrkPts : ActSelect);
        // The track stays the selection: its points are not objects to pick.
        EXPECT_EQ(Globals::CurrSelEntityType, SelTrack);
    }

    // Undo and Redo give each selection back, with the centre of its points.
    click(pt(2));
    EXPECT_EQ(selectedPts(), std::vector<int32_t>{2});
    f.mnuUndo_Click();
    EXPECT_EQ(selectedPts(), (std::vector<int32_t>{0, 3, 4, 1}));
    EXPECT_NEAR(Globals::SelTrkPtsAvgCenter[0], (-300 + 300 + 301 - 100) / 4.0, 1e-9);
    f.mnuRedo_Click();
    EXPECT_EQ(selectedPts(), std::vector<int32_t>{2});
    EXPECT_NEAR(Globals::SelTrkPtsAvgCenter[0], 100, 1e-9);
}

TEST_F(TrackPointsTest, OnlyPointEditingOnTheCameraPageSelectsPoints) {
    Form1& f = start();
    const int32_t track = makeTrack({{-300, -200, 0}, {300, -200, 0}}, false);
    struct Case {
        int page;
        const char* mode;
        std::vector<int32_t> selected;
    };
    const Case cases[] = {{2, "Track", {}}, {0, "Point", {}}, {2, "Point", {0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        selectTrack(track);
        editPoints(c.mode);
        f.tabWorkspace->setCurrentIndex(c.page);
        click(pixelOf({-300, -200, 0}));
        EXPECT_EQ(selectedPts(), c.selected);
    }
}

TEST_F(TrackPointsTest, TheHandleMovesTurnsAndScalesThePointsSelectedByABand) {
    Form1& f = start();
    const std::vector<P3> start = {{-300, -200, 0}, {-100, -150, 0}, {100, -200, 0}, {300, 100, 0}};
    const int32_t track = makeTrack(start, false);
    selectTrack(track);
    editPoints();
    for (int32_t tool : {ToolMove, ToolRotate, ToolScale}) {
        SCOPED_TRACE(tool);
        f.SetToolMode(ToolSelect);
        const auto [lo, hi] = around(track, {0, 1});
        band(lo, hi);
        ASSERT_EQ(selectedPts(), (std::vector<int32_t>{0, 1}));
        f.SetToolMode(tool);
        UpdateCameras();
        handleDrag(alongLongestAxis(0.6), alongLongestAxis(1.3));
        const std::vector<P3> after = pointsOf(track);
        EXPECT_FALSE(near(after[0], start[0], 1e-6));
        EXPECT_FALSE(near(after[1], start[1], 1e-6));
        EXPECT_TRUE(near(after[2], start[2], 0));
        EXPECT_TRUE(near(after[3], start[3], 0));
        if (tool == ToolMove) {
            // Both by the same offset.
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(after[0][k] - start[0][k], after[1][k] - start[1][k], 1e-9) << k;
        }
        f.mnuUndo_Click();
        for (std::size_t i = 0; i < start.size(); ++i) EXPECT_TRUE(near(pointsOf(track)[i], start[i], 1e-9)) << i;
    }
}

// ---- insertion

TEST_F(TrackPointsTest, InsertingOnTheEdgeUnderThePointerAsksWhileTheHistoryHoldsAnyRecord) {
    Form1& f = StartEditor();
    enum class History { Empty, Undo, OnlyRedo };
    struct Case {
        const char* name;
        History history;
        std::optional<MsgResult> answer;  // none: no question
        bool inserted;
    };
    const Case cases[] = {
        {"empty history", History::Empty, std::nullopt, true},
        {"undo records, Yes", History::Undo, MsgResult::Yes, true},
        {"undo records, No", History::Undo, MsgResult::No, false},
        {"undo records, Cancel", History::Undo, MsgResult::Cancel, false},
        {"only redo records, Yes", History::OnlyRedo, MsgResult::Yes, true},
        {"only redo records, No", History::OnlyRedo, MsgResult::No, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenEmptyWorld();
        QApplication::processEvents();
        f.PicBoxFocused = kView;
        const std::vector<P3> start = {{-300, -200, 0}, {300, -200, 0}, {300, 200, 0}};
        const int32_t track = makeTrack(start, false);
        selectTrack(track);
        editPoints();
        click(pixelOf(start[2]));  // one point selected: the insertion clears it
        Globals::UndoRedoStack->Reset();
        if (c.history != History::Empty) pushMarker();
        if (c.history == History::OnlyRedo) f.mnuUndo_Click();
        if (c.answer) platform_.prompts.answer(*c.answer);

        insertButton()->trigger();
        EXPECT_EQ(Globals::CurrToolMode, ToolSelect);
        const Pixel at = between(pixelOf(start[1]), pixelOf(start[2]), 0.25);
        f.picWindow_MouseMove(kView, 0, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
        EXPECT_TRUE(f.TrkInsertEdgeFound);
        EXPECT_EQ(f.picWindow[kView]->MouseIcon(), "Cross hair");
        click(at);

        if (c.answer) {
            ASSERT_FALSE(platform_.prompts.shown().empty());
            const auto& asked = platform_.prompts.shown().back();
            EXPECT_EQ(asked.text, "This action cannot be undone. All previous undo's will be cleared!. Do you wish to continue?");
            EXPECT_EQ(asked.buttons, platform::MsgButtons::YesNoCancel);
            EXPECT_EQ(asked.icon, platform::MsgIcon::Information);
        }
        const std::vector<P3> after = pointsOf(track);
        if (c.inserted) {
            ASSERT_EQ(after.size(), 4u);
            EXPECT_TRUE(near(after[2], {300, -100, 0}, 15)) << after[2][0] << ", " << after[2][1];
            EXPECT_TRUE(near(after[3], start[2], 0));
            EXPECT_EQ(Globals::NumSelTrkPts, 0);
            EXPECT_EQ(Globals::UndoRedoStack->HoldsAnyRecord(), false);
        } else {
            EXPECT_EQ(after.size(), 3u);
            EXPECT_EQ(Globals::NumSelTrkPts, 1);
            EXPECT_TRUE(Globals::UndoRedoStack->HoldsAnyRecord());
        }
        insertButton()->trigger();  // released
        f.UnloadWorld();
    }
}

TEST_F(TrackPointsTest, PointsAreInsertedOnlyOverAnEdgeAndTheClosingEdgeAppends) {
    Form1& f = start();
    const std::vector<P3> start = {{-300, -200, 0}, {300, -200, 0}, {300, 200, 0}};
    const int32_t track = makeTrack(start, true);
    selectTrack(track);
    editPoints();
    Globals::UndoRedoStack->Reset();
    insertButton()->trigger();
    // Off every edge: the plain pointer, nothing inserted.
    const Pixel off = pixelOf({0, 150, 0});
    f.picWindow_MouseMove(kView, 0, 0, static_cast<float>(off[0]), static_cast<float>(off[1]));
    EXPECT_FALSE(f.TrkInsertEdgeFound);
    EXPECT_EQ(f.picWindow[kView]->MouseIcon(), "Pointer");
    click(off);
    EXPECT_EQ(pointsOf(track).size(), 3u);
    // On the closing edge, from the last point to the first: the new last point.
    click(between(pixelOf(start[2]), pixelOf(start[0]), 0.5));
    const std::vector<P3> after = pointsOf(track);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_TRUE(near(after[3], {0, 0, 0}, 15));
    EXPECT_TRUE(near(after[0], start[0], 0));
}

// ---- deletion

TEST_F(TrackPointsTest, DeletingSelectedPointsAlwaysAsksAndEmptiesTheHistoryOnYes) {
    Form1& f = StartEditor();
    struct Case {
        const char* name;
        bool redoOnly;
        MsgResult answer;
        bool deleted;
    };
    const Case cases[] = {
        {"undo records, Yes", false, MsgResult::Yes, true},
        {"undo records, No", false, MsgResult::No, false},
        {"only redo records, Cancel", true, MsgResult::Cancel, false},
        {"only redo records, Yes", true, MsgResult::Yes, true},
    };
    std::vector<P3> start;
    for (int i = 0; i < 7; ++i) start.push_back({-300.0 + 100 * i, i % 2 == 0 ? -200.0 : 0.0, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenEmptyWorld();
        QApplication::processEvents();
        f.PicBoxFocused = kView;
        const int32_t track = makeTrack(start, false);
        selectTrack(track);
        editPoints();
        click(pixelOf(start[5]));
        click(pixelOf(start[2]), {vk::Control});
        ASSERT_EQ(selectedPts(), (std::vector<int32_t>{5, 2}));
        Globals::UndoRedoStack->Reset();
        pushMarker();
        if (c.redoOnly) f.mnuUndo_Click();
        platform_.prompts.answer(c.answer);
        f.cmdTrkPtDelete->click();
        EXPECT_EQ(platform_.prompts.shown().back().buttons, platform::MsgButtons::YesNoCancel);
        if (c.deleted) {
            const std::vector<P3> expected = {start[0], start[1], start[3], start[4], start[6]};
            EXPECT_EQ(pointsOf(track), expected);
            EXPECT_EQ(Globals::NumSelTrkPts, 0);
            EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
        } else {
            EXPECT_EQ(pointsOf(track), start);
            EXPECT_EQ(selectedPts(), (std::vector<int32_t>{5, 2}));
            EXPECT_TRUE(Globals::UndoRedoStack->HoldsAnyRecord());
        }
        f.UnloadWorld();
    }
}

TEST_F(TrackPointsTest, ADeletionLeavingFewerThanTwoPointsIsRefusedBeforeTheQuestion) {
    Form1& f = start();
    const std::vector<P3> start = {{-300, -200, 0}, {0, 0, 0}, {300, -200, 0}};
    const int32_t track = makeTrack(start, false);
    selectTrack(track);
    editPoints();
    const auto [lo, hi] = around(track, {0, 1});
    band(lo, hi);
    click(pixelOf(start[2]), {vk::Control});
    ASSERT_EQ(Globals::NumSelTrkPts, 3);
    platform_.prompts.answer(MsgResult::OK);
    f.cmdTrkPtDelete->click();
    const auto& said = platform_.prompts.shown().back();
    EXPECT_EQ(said.text, "We need to have atleast 2 points. No point has been deleted.");
    EXPECT_EQ(said.icon, platform::MsgIcon::Information);
    EXPECT_EQ(pointsOf(track), start);
    EXPECT_EQ(Globals::NumSelTrkPts, 3);
    EXPECT_TRUE(Globals::UndoRedoStack->HoldsAnyRecord());

    // Two of three go: one would be left.
    click(pixelOf(start[1]), {vk::Shift});
    ASSERT_EQ(Globals::NumSelTrkPts, 2);
    platform_.prompts.answer(MsgResult::OK);
    f.cmdTrkPtDelete->click();
    EXPECT_EQ(pointsOf(track), start);
    // One of three: asked, and deleted.
    click(pixelOf(start[1]));
    platform_.prompts.answer(MsgResult::Yes);
    f.cmdTrkPtDelete->click();
    EXPECT_EQ(pointsOf(track), (std::vector<P3>{start[0], start[2]}));
}

}  // namespace
