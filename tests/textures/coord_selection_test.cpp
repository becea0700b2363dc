// Selecting texture coordinates: rubber bands that replace, add (Ctrl) or remove
// (Shift), a record only when the list changed, the "Selected Only" list with
// real owners, Undo restoring the list it names, the hit test and the band drawn
// on the editor's surface.
#include "texture_fixture.h"

#include "undo/UndoRedoCommands.h"

#include <QAction>

#include <algorithm>
#include <set>

namespace {

using platform::vk::Control;
using platform::vk::Shift;

class CoordSelectionTest : public TextureFixture {
protected:
    void SetUp() override {
        TextureFixture::SetUp();
        const int32_t b = bitmap("square", 100, 100);
        group = newGroup("g");
        polA = quad(group, 0, 0, {0.1, 0.1}, {0.3, 0.3}, b);
        polB = quad(group, 2, 0, {0.6, 0.6}, {0.8, 0.8}, b);
        selectGroup(group);
        open();
    }

    // A band around the coordinates from one corner to the other, 5 pixels wider.
    void bandAround(UV from, UV to, int key = 0) {
        auto [x0, y0] = pixelOf(from);
        auto [x1, y1] = pixelOf(to);
        band({x0 - 5, y0 - 5}, {x1 + 5, y1 + 5}, key);
    }

    std::set<int32_t> selected(const TexCoordList& list) {
        const auto pts = listPoints(list);
        return {pts.begin(), pts.end()};
    }
    std::set<int32_t> pointsSet(std::initializer_list<int32_t> pols) {
        std::set<int32_t> out;
        for (int32_t p : pols)
            for (int32_t pt : pointsOf(p)) out.insert(pt);
        return out;
    }

    int32_t group = 0, polA = 0, polB = 0;
};

}  // namespace

TEST_F(CoordSelectionTest, BandsReplaceAddAndRemoveAndRecordOnlyAChange) {
    frmTextureMapping& e = editor();
    struct Step {
        const char* what;
        UV from, to;
        int key;
        std::set<int32_t> expected;
        bool recorded;
    };
    const std::set<int32_t> a = pointsSet({polA}), b = pointsSet({polB}), ab = pointsSet({polA, polB}), none;
    const std::vector<Step> steps = {
        {"replace with A", {0.1, 0.1}, {0.3, 0.3}, 0, a, true},
        {"add B", {0.6, 0.6}, {0.8, 0.8}, Control, ab, true},
        {"add A again", {0.1, 0.1}, {0.3, 0.3}, Control, ab, false},
        {"remove A", {0.1, 0.1}, {0.3, 0.3}, Shift, b, true},
        {"remove A again", {0.1, 0.1}, {0.3, 0.3}, Shift, b, false},
        {"replace with nothing", {0.4, 0.4}, {0.5, 0.5}, 0, none, true},
        {"replace nothing with nothing", {0.4, 0.4}, {0.5, 0.5}, 0, none, false},
    };
    for (const Step& s : steps) {
        ActionUndoRedo* before = newest();
        bandAround(s.from, s.to, s.key);
        EXPECT_EQ(selected(e.TexSel), s.expected) << s.what;
        EXPECT_EQ(static_cast<std::size_t>(e.TexSel.Count), s.expected.size()) << s.what << ": nothing twice";
        EXPECT_EQ(newest() != before, s.recorded) << s.what;
        if (s.recorded) {
            EXPECT_EQ(newest()->ActionType, ActSelectCoords) << s.what;
        }
    }
    // The owners are the polygons holding the points.
    for (int32_t i = 1; i <= e.TexSel.Count; ++i) EXPECT_EQ(e.TexSel.OwnerPols[i], polB);

    // Undo steps back through the last three records: nothing, B, A and B.
    undo::UndoCommand();
    EXPECT_EQ(selected(e.TexSel), b);
    undo::UndoCommand();
    EXPECT_EQ(selected(e.TexSel), ab);
    undo::RedoCommand();
    EXPECT_EQ(selected(e.TexSel), b);
}

TEST_F(CoordSelectionTest, AClickOnNothingEmptiesTheSelectionOnce) {
    frmTextureMapping& e = editor();
    bandAround({0.1, 0.1}, {0.3, 0.3});
    ASSERT_EQ(e.TexSel.Count, 4);
    const auto [x, y] = pixelOf({0.5, 0.5});
    ActionUndoRedo* before = newest();
    press(x, y);
    release(x, y);
    EXPECT_EQ(e.TexSel.Count, 0);
    EXPECT_NE(newest(), before);
    before = newest();
    press(x, y);
    release(x, y);
    EXPECT_EQ(newest(), before);
}

TEST_F(CoordSelectionTest, SelectedOnlyWithoutSelectedPolygonsHitsNothing) {
    frmTextureMapping& e = editor();
    bandAround({0.1, 0.1}, {0.8, 0.8});
    ASSERT_EQ(e.TexSel.Count, 8);
    e.Button("Selected Only")->trigger();
    ASSERT_TRUE(e.SelectedOnly());
    EXPECT_EQ(e.ListInUse().Count, 0);
    bandAround({0.1, 0.1}, {0.8, 0.8});
    EXPECT_EQ(e.TexSel.Count, 0);
    EXPECT_EQ(e.TexSelOnly.Count, 0);
    e.SetToolMode(frmTextureMapping::TexMove);
    const auto [x, y] = pixelOf({0.1, 0.1});
    hover(x, y);
    EXPECT_FALSE(e.DragOverSel);
    // Zoom extent has nothing to fit.
    const double zoom = e.Zoom;
    e.TexZoomExtent();
    EXPECT_EQ(e.Zoom, zoom);
}

TEST_F(CoordSelectionTest, EntriesChosenWithSelectedOnlyAreWrittenThroughTheirPolygon) {
    frmTextureMapping& e = editor();
    selectPolygons({polB});
    e.Button("Selected Only")->trigger();
    bandAround({0.1, 0.1}, {0.8, 0.8});
    ASSERT_EQ(selected(e.TexSel), pointsSet({polB}));
    EXPECT_EQ(listOwners(e.TexSel), std::vector<int32_t>(4, polB));
    EXPECT_EQ(listOwners(e.TexSelOnly), std::vector<int32_t>(4, polB));

    // Back on the main list, a move writes every entry through its polygon.
    e.Button("Selected Only")->trigger();
    e.SetToolMode(frmTextureMapping::TexMove);
    const auto [x, y] = pixelOf({0.6, 0.6});
    hover(x, y);
    ASSERT_TRUE(e.DragOverSel);
    press(x, y);
    dragTo(x + 10, y);
    release(x + 10, y);
    for (int32_t pt : pointsOf(polB)) EXPECT_GT(uvOf(pt)[0], 0.6);
    undo::UndoCommand();
    EXPECT_EQ(uvOf(pointsOf(polB)[0]), (UV{0.6, 0.6}));
}

TEST_F(CoordSelectionTest, UndoOfASelectedOnlyBandRestoresOnlyThatList) {
    frmTextureMapping& e = editor();
    bandAround({0.1, 0.1}, {0.8, 0.8});
    selectPolygons({polA});
    // Adding what is there changes nothing, yet builds the "Selected Only" list anew.
    ActionUndoRedo* before = newest();
    bandAround({0.1, 0.1}, {0.8, 0.8}, Control);
    EXPECT_EQ(newest(), before);
    e.Button("Selected Only")->trigger();
    ASSERT_EQ(selected(e.TexSelOnly), pointsSet({polA}));

    // Replacing with "Selected Only" down takes only A's points: none lie around B.
    bandAround({0.6, 0.6}, {0.8, 0.8});
    EXPECT_EQ(e.TexSel.Count, 0);
    EXPECT_EQ(e.TexSelOnly.Count, 0);
    undo::UndoCommand();
    EXPECT_EQ(selected(e.TexSelOnly), pointsSet({polA}));
    EXPECT_EQ(e.TexSel.Count, 0);
    undo::RedoCommand();
    EXPECT_EQ(e.TexSelOnly.Count, 0);
}

TEST_F(CoordSelectionTest, TheHitTestTakesPointsStrictlyCloserThanFourPixels) {
    frmTextureMapping& e = editor();
    bandAround({0.1, 0.1}, {0.1, 0.1});
    ASSERT_EQ(e.TexSel.Count, 1);
    // 256 pixels across: (0.25, 0.25) lies exactly on a pixel.
    e.Zoom = 256.0 / (e.BaseScale * 100);
    e.SetupWithNewZoom();
    ASSERT_EQ(e.DispWidth, 256);
    setUV(e.TexSel.Pts[1], e.TexSel.OwnerPols[1], {0.25, 0.25});
    const double x = e.PixelX(0.25), y = e.PixelY(0.25);
    e.SetToolMode(frmTextureMapping::TexScale);
    struct Case {
        int dx, dy;
        bool hit;
    };
    for (const Case& c :
         std::vector<Case>{{4, 0, false}, {0, -4, false}, {3, 3, false}, {3, 1, true}, {-2, 3, true}, {0, 0, true}}) {
        hover(x + c.dx, y + c.dy);
        EXPECT_EQ(e.DragOverSel, c.hit) << c.dx << ", " << c.dy;
        EXPECT_EQ(e.PicMain->MouseIcon(), c.hit ? "Scale" : "Pointer");
    }
}

TEST_F(CoordSelectionTest, TheBandIsDrawnOnTheSurfaceInTheColourOfItsKey) {
    struct Case {
        int key;
        uint32_t colour;
    };
    for (const Case& c : std::vector<Case>{{0, 0xFFFF00}, {Control, 0x00FF00}, {Shift, 0xFF0000}}) {
        if (c.key) platform::setKeyHeld(c.key, true);
        press(40, 40);
        dragTo(140, 100);
        int onBand = 0;
        for (int x = 40; x <= 140; ++x) onBand += pixel(x, 40) == c.colour;
        // Dash-dot: most but not all of the edge.
        EXPECT_GT(onBand, 50) << std::hex << c.colour;
        EXPECT_LT(onBand, 101) << std::hex << c.colour;
        release(140, 100);
        if (c.key) platform::setKeyHeld(c.key, false);
        // The release repaints without the band.
        EXPECT_NE(pixel(41, 40), c.colour);
    }
}
