// Moving, rotating, scaling and mirroring the selected coordinates by scripted
// drags: the screen cursor's motion, the axis locks held on the keyboard, one
// record per drag or mirror that changed something, exact Undo and Redo.
#include "texture_fixture.h"

#include "undo/DragInProgress.h"
#include "undo/UndoRedoCommands.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979;

class CoordTransformsTest : public TextureFixture {
protected:
    void SetUp() override {
        TextureFixture::SetUp();
        group = newGroup("g");
        pol = quad(group, 0, 0, {0.2, 0.2}, {0.4, 0.5}, bitmap("square", 100, 100));
        other = quad(group, 2, 0, {0.6, 0.6}, {0.8, 0.8});
        selectGroup(group);
        open();
        pts = pointsOf(pol);
        for (int32_t pt : pts) editor().TexSel.Append(pt, pol);
        before = coords();
    }

    std::vector<UV> coords() {
        std::vector<UV> out;
        for (int32_t pt : pts) out.push_back(uvOf(pt));
        return out;
    }

    // Arms the tool over the first selected coordinate and presses there.
    std::pair<double, double> grab(int32_t tool) {
        editor().SetToolMode(tool);
        const auto at = pixelOf(uvOf(pts[0]));
        hover(at.first, at.second);
        EXPECT_TRUE(editor().DragOverSel);
        press(at.first, at.second);
        return at;
    }

    // A whole drag: grab, one step by (dx, dy), release where the step ended.
    void drag(int32_t tool, double dx, double dy, const std::vector<int>& keys = {}) {
        const auto at = grab(tool);
        for (int k : keys) platform::setKeyHeld(k, true);
        dragTo(at.first + dx, at.second + dy);
        for (int k : keys) platform::setKeyHeld(k, false);
        release(at.first + dx, at.second + dy);
    }

    int32_t group = 0, pol = 0, other = 0;
    std::vector<int32_t> pts;
    std::vector<UV> before;
};

}  // namespace

TEST_F(CoordTransformsTest, MoveFollowsTheCursorAndTheLocksKeepOneAxis) {
    frmTextureMapping& e = editor();
    struct Case {
        std::vector<int> keys;
        bool u, v;  // which coordinate moves
    };
    for (const Case& c : std::vector<Case>{{{}, true, true},
                                           {{'X'}, true, false},
                                           {{'1'}, true, false},
                                           {{'Y'}, false, true},
                                           {{'2'}, false, true},
                                           {{'X', '2'}, false, false}}) {
        const std::vector<UV> start = coords();
        ActionUndoRedo* last = newest();
        drag(frmTextureMapping::TexMove, 20, -10, c.keys);
        const double du = 20.0 / e.DispWidth, dv = -10.0 / e.DispHeight;
        const std::vector<UV> now = coords();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            EXPECT_NEAR(now[i][0], start[i][0] + (c.u ? du : 0), 1e-12) << i;
            EXPECT_NEAR(now[i][1], start[i][1] + (c.v ? dv : 0), 1e-12) << i;
        }
        // One record for what moved, none for a drag that moved nothing.
        EXPECT_EQ(newest() != last, c.u || c.v);
    }
    // Undo and Redo give back the exact values.
    const std::vector<UV> moved = coords();
    undo::UndoCommand();
    undo::RedoCommand();
    EXPECT_EQ(coords(), moved);
    EXPECT_EQ(uvOf(pointsOf(other)[0]), (UV{0.6, 0.6}));
}

// After a transform drag, the select tool chosen by its button or its key draws
// bands that select again.
TEST_F(CoordTransformsTest, AfterADragTheSelectToolChosenAnyWaySelectsAgain) {
    frmTextureMapping& e = editor();
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"the toolbar button", [&] { e.Button("Select")->trigger(); }},
        {"the S key", [&] {
             platform::setKeyHeld('S', true);
             QKeyEvent key(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, "s");
             QApplication::sendEvent(e.PicMain, &key);
             platform::setKeyHeld('S', false);
         }},
    };
    for (const auto& [name, chooseSelect] : ways) {
        SCOPED_TRACE(name);
        drag(frmTextureMapping::TexMove, 20, -10);
        chooseSelect();
        ASSERT_EQ(e.TexToolMode, frmTextureMapping::TexSelect);
        const auto [x0, y0] = pixelOf({0.55, 0.55});
        const auto [x1, y1] = pixelOf({0.85, 0.85});
        band({x0, y0}, {x1, y1});
        const std::vector<int32_t> others = pointsOf(other);
        EXPECT_EQ(listPoints(e.TexSel), others);
        // The next round starts with the quad's own points selected again.
        e.TexSel.Clear();
        for (int32_t pt : pts) e.TexSel.Append(pt, pol);
    }
}

TEST_F(CoordTransformsTest, ScaleAboutThePressPointWithTheFactorNeverNegative) {
    frmTextureMapping& e = editor();
    struct Case {
        double dy;
        std::vector<int> keys;
        double factor;
        bool u, v;
    };
    for (const Case& c : std::vector<Case>{
             {-300, {}, 0.5, true, true}, {40, {'2'}, 1.2, false, true}, {-100, {'X'}, 0.5, true, false}}) {
        const std::vector<UV> start = coords();
        drag(frmTextureMapping::TexScale, 0, c.dy, c.keys);
        const double cu = e.TexU(e.MouseDownX), cv = e.TexV(e.MouseDownY);
        const std::vector<UV> now = coords();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            EXPECT_NEAR(now[i][0], c.u ? cu + c.factor * (start[i][0] - cu) : start[i][0], 1e-12) << c.dy;
            EXPECT_NEAR(now[i][1], c.v ? cv + c.factor * (start[i][1] - cv) : start[i][1], 1e-12) << c.dy;
        }
    }
}

TEST_F(CoordTransformsTest, RotationTurnsADegreePerPixelAndIgnoresTheLocks) {
    frmTextureMapping& e = editor();
    // Down by 90 pixels with "X" held: a quarter turn clockwise as seen.
    drag(frmTextureMapping::TexRotate, 35, 90, {'X'});
    const double cu = e.TexU(e.MouseDownX), cv = e.TexV(e.MouseDownY);
    const std::vector<UV> now = coords();
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const double du = before[i][0] - cu, dv = before[i][1] - cv;
        const double a = 90 * kPi / 180;
        EXPECT_NEAR(now[i][0], cu + du * std::cos(a) - dv * std::sin(a), 1e-9) << i;
        EXPECT_NEAR(now[i][1], cv + du * std::sin(a) + dv * std::cos(a), 1e-9) << i;
    }
    EXPECT_EQ(newest()->ActionType, ActChngTextureCoords);
    undo::UndoCommand();
    EXPECT_EQ(coords(), before);
}

TEST_F(CoordTransformsTest, APressAndReleaseWithoutMotionRecordsNothing) {
    ActionUndoRedo* last = newest();
    const auto at = grab(frmTextureMapping::TexMove);
    EXPECT_TRUE(undo::IsTransformDragInProgress());
    dragTo(at.first, at.second);
    release(at.first, at.second);
    EXPECT_FALSE(undo::IsTransformDragInProgress());
    EXPECT_EQ(newest(), last);
    EXPECT_EQ(coords(), before);
}

TEST_F(CoordTransformsTest, UndoWaitsForTheDragToEnd) {
    pushChange(pointsOf(other)[0], other, {0.9, 0.9});
    const auto at = grab(frmTextureMapping::TexMove);
    dragTo(at.first + 10, at.second);
    undo::UndoCommand();
    EXPECT_EQ(uvOf(pointsOf(other)[0]), (UV{0.9, 0.9}));
    release(at.first + 10, at.second);
    undo::UndoCommand();
    EXPECT_EQ(coords(), before);
    undo::UndoCommand();
    EXPECT_EQ(uvOf(pointsOf(other)[0]), (UV{0.6, 0.6}));
}

TEST_F(CoordTransformsTest, MirrorFlipsAboutTheSelectionsCentreWhileAnAxisKeyIsHeld) {
    frmTextureMapping& e = editor();
    ActionUndoRedo* last = newest();
    e.tbrBottom_ButtonClick("Mirror");
    EXPECT_EQ(coords(), before);
    EXPECT_EQ(newest(), last);

    platform::setKeyHeld('1', true);
    e.tbrBottom_ButtonClick("Mirror");
    platform::setKeyHeld('1', false);
    // u runs from 0.2 to 0.4 about 0.3; v stays.
    const std::vector<UV> now = coords();
    for (std::size_t i = 0; i < pts.size(); ++i) {
        EXPECT_NEAR(now[i][0], 0.6 - before[i][0], 1e-12);
        EXPECT_EQ(now[i][1], before[i][1]);
    }
    ASSERT_NE(newest(), last);
    last = newest();

    // One coordinate mirrors onto itself: nothing changes, nothing is recorded.
    e.TexSel.Clear();
    e.TexSel.Append(pts[0], pol);
    platform::setKeyHeld('Y', true);
    e.tbrBottom_ButtonClick("Mirror");
    platform::setKeyHeld('Y', false);
    EXPECT_EQ(uvOf(pts[0]), now[0]);
    EXPECT_EQ(newest(), last);

    undo::UndoCommand();
    EXPECT_EQ(coords(), before);
}

TEST_F(CoordTransformsTest, WithSelectedOnlyTheSelectedPolygonsEntriesMove) {
    frmTextureMapping& e = editor();
    selectPolygons({pol});
    e.TexSel.Clear();
    e.TexSel.Append(pointsOf(other)[0], other);
    e.TexSel.Append(pts[1], pol);
    e.TexSelOnly.Clear();
    e.TexSelOnly.Append(pts[1], pol);
    e.Button("Selected Only")->trigger();
    e.SetToolMode(frmTextureMapping::TexMove);
    const auto at = pixelOf(uvOf(pts[1]));
    hover(at.first, at.second);
    ASSERT_TRUE(e.DragOverSel);
    press(at.first, at.second);
    dragTo(at.first + 30, at.second);
    release(at.first + 30, at.second);
    EXPECT_NEAR(uvOf(pts[1])[0], before[1][0] + 30.0 / e.DispWidth, 1e-12);
    EXPECT_EQ(uvOf(pts[0]), before[0]);
    EXPECT_EQ(uvOf(pointsOf(other)[0]), (UV{0.6, 0.6}));
    undo::UndoCommand();
    EXPECT_EQ(coords(), before);
}
