// The window's layout: least width and height, the splitter drags, the focus
// frame and maximising one view.
#include "EditorFixture.h"

#include "mainwindow/Twips.h"
#include "mainwindow/ViewAreaLayout.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QFrame>
#include <QTabWidget>
#include <QToolBar>

namespace {

constexpr double kTolerance = 1e-6;

}  // namespace

using LayoutTest = EditorFixture;

TEST_F(LayoutTest, TheWindowNeverGetsNarrowerThanItsLeastWidth) {
    Form1& f = StartEditor();
    f.resize(Twips::toPixels(5000), f.height());
    QApplication::processEvents();
    EXPECT_GE(f.Width(), Form1::MinWidth - Twips::perPixel());
    f.resize(Twips::toPixels(12000), f.height());
    QApplication::processEvents();
    EXPECT_NEAR(f.Width(), 12000, Twips::perPixel());
}

TEST_F(LayoutTest, AShortWindowGrowsBackToTheWorkspacesLeastHeight) {
    Form1& f = StartEditor();
    f.resize(f.width(), Twips::toPixels(3000));
    QApplication::processEvents();
    EXPECT_GE(Twips::fromPixels(f.tabWorkspace->height()), Form1::MinWorkspaceHeight - 2 * Twips::perPixel());
    EXPECT_GE(Twips::fromPixels(f.frmPicWins->height()), Form1::MinWorkspaceHeight - 2 * Twips::perPixel());
}

TEST_F(LayoutTest, HidingTheToolbarGivesItsHeightToTheViews) {
    Form1& f = StartEditor();
    const int before = f.frmPicWins->height();
    f.mnuToolbar->trigger();
    QApplication::processEvents();
    EXPECT_GT(f.frmPicWins->height(), before);
}

TEST_F(LayoutTest, MaximisingEachViewAndRestoring) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    ViewAreaLayout& area = f.ViewArea();
    // Corner of the crossing that leaves view i the whole area.
    const double corners[4][2] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        f.mnuResetViews_Click();
        f.PicBoxFocused = i;
        const double savedX = area.imgSplitterHV.Left / area.FrameWidth;
        const double savedY = area.imgSplitterHV.Top / area.FrameHeight;
        f.ToggleWindowMinMax();
        EXPECT_TRUE(f.ViewMaximized);
        // The crossing went to the far corner as far as the drag's limits allow.
        const double crossX = area.imgSplitterHV.Left / area.FrameWidth;
        const double crossY = area.imgSplitterHV.Top / area.FrameHeight;
        EXPECT_LT(std::abs(crossX - corners[i][0]), 0.1);
        EXPECT_LT(std::abs(crossY - corners[i][1]), 0.1);
        for (int v = 0; v < 4; ++v) EXPECT_EQ(f.picWindow[v]->isVisible(), v == i) << v;
        const Twips::Rect grid = area.Grid();
        EXPECT_NEAR(f.picWindow[i]->width(), Twips::toPixels(grid.Width), 1);
        EXPECT_NEAR(f.picWindow[i]->height(), Twips::toPixels(grid.Height), 1);

        f.ToggleWindowMinMax();
        EXPECT_FALSE(f.ViewMaximized);
        for (PicWindow* view : f.picWindow) EXPECT_TRUE(view->isVisible());
        EXPECT_NEAR(area.imgSplitterHV.Left / area.FrameWidth, savedX + 0.007, kTolerance);
        // The horizontal bar lands half a bar above the pointer.
        EXPECT_NEAR(area.imgSplitterHV.Top, (savedY + 0.007) * area.FrameHeight - ViewAreaLayout::BarThickness / 2,
                    kTolerance);
    }
}

TEST_F(LayoutTest, ResetViewsRestoresTheFourViewsAtFortyEightPercent) {
    Form1& f = StartEditor();
    f.PicBoxFocused = 2;
    f.ToggleWindowMinMax();
    f.ViewArea().imgSplitterHV_ResetPos(0.48, 0.48);
    f.mnuResetViews_Click();
    EXPECT_FALSE(f.ViewMaximized);
    for (PicWindow* view : f.picWindow) EXPECT_TRUE(view->isVisible());
}

TEST_F(LayoutTest, TheFocusFrameLiesTenTwipsOutsideTheActiveView) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    // Each time the crossing point goes somewhere new, so both splitters move the views.
    const struct {
        int view;
        double x, y;
    } cases[] = {{0, 0.3, 0.6}, {2, 0.6, 0.35}, {3, 0.45, 0.7}, {1, 0.55, 0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.view);
        f.PicBoxFocused = c.view;
        f.ViewArea().imgSplitterHV_ResetPos(c.x, c.y);
        const Twips::Rect& v = f.ViewArea().picWindow[static_cast<std::size_t>(c.view)];
        EXPECT_EQ(f.shpFocus->x(), Twips::toPixels(v.Left - 10));
        EXPECT_EQ(f.shpFocus->y(), Twips::toPixels(v.Top - 10));
        EXPECT_EQ(f.shpFocus->x() + f.shpFocus->width(), Twips::toPixels(v.Left + v.Width + 10));
        EXPECT_EQ(f.shpFocus->y() + f.shpFocus->height(), Twips::toPixels(v.Top + v.Height + 10));
        EXPECT_TRUE(f.shpFocus->isVisible());
    }
}

TEST_F(LayoutTest, APressInAViewMakesItTheActiveOne) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.picWindow[3]->MouseDown(3, 1, 0, 5, 5);
    EXPECT_EQ(f.PicBoxFocused, 3);
}

// The splitter arithmetic on its own.
TEST(ViewAreaLayoutTest, DraggedBarsStopAtTheirLimits) {
    ViewAreaLayout a;
    a.SetFrameSize(9000, 7000);
    a.imgSplitterHV_ResetPos(0.5, 0.5);
    const double g = ViewAreaLayout::BarThickness;
    struct Case {
        double y;
        double expectedTop;
    };
    const Case horizontal[] = {
        {-1e6, a.picWindow[0].Top + g / 2},
        {1e6, a.picWindow[2].Top + a.picWindow[2].Height - 2 * g},
        {300, a.imgSplitterHoriz[0].Top + 300 - g / 2},
    };
    for (const Case& c : horizontal) {
        a.imgSplitterHoriz_MouseDown(0);
        a.imgSplitterHoriz_MouseMove(c.y);
        EXPECT_NEAR(a.picSplitterHoriz.Top, c.expectedTop, kTolerance) << c.y;
        a.imgSplitterHoriz_MouseUp();
        EXPECT_FALSE(a.picSplitterHorizVisible);
        // The rows meet at the bar and the bottom edge stays.
        EXPECT_NEAR(a.picWindow[0].Top + a.picWindow[0].Height, c.expectedTop, kTolerance);
        EXPECT_NEAR(a.picWindow[3].Top, c.expectedTop + g, kTolerance);
        EXPECT_NEAR(a.picWindow[2].Top + a.picWindow[2].Height, 7000 - ViewAreaLayout::FarMargin, kTolerance);
        a.imgSplitterHV_ResetPos(0.5, 0.5);
    }
    const Case vertical[] = {
        {-1e6, a.picWindow[0].Left + g},
        {1e6, a.picWindow[1].Left + a.picWindow[1].Width - 2 * g},
        {-400, a.imgSplitterVert[0].Left - 400 - g / 2 + g / 2},
    };
    for (const Case& c : vertical) {
        a.imgSplitterVert_MouseDown(1);
        a.imgSplitterVert_MouseMove(c.y);
        EXPECT_NEAR(a.picSplitterVert.Left, c.expectedTop, kTolerance) << c.y;
        a.imgSplitterVert_MouseUp();
        EXPECT_NEAR(a.picWindow[0].Width, c.expectedTop - a.picWindow[0].Left, kTolerance);
        EXPECT_NEAR(a.picWindow[2].Left, c.expectedTop + g, kTolerance);
        EXPECT_NEAR(a.picWindow[1].Left + a.picWindow[1].Width, 9000 - ViewAreaLayout::FarMargin, kTolerance);
        a.imgSplitterHV_ResetPos(0.5, 0.5);
    }
}

TEST(ViewAreaLayoutTest, AResizeKeepsTheCrossingAtItsFractions) {
    ViewAreaLayout a;
    a.SetFrameSize(9000, 7000);
    a.imgSplitterHV_ResetPos(0.3, 0.7);
    for (int i = 0; i < 5; ++i) {
        const double x = a.CrossXFraction(), y = a.CrossYFraction();
        a.SetFrameSize(9000 + 500 * i, 7000 - 200 * i);
        a.imgSplitterHV_ResetPos(x, y);
    }
    EXPECT_NEAR(a.CrossXFraction(), 0.3, kTolerance);
    EXPECT_NEAR(a.CrossYFraction(), 0.7, kTolerance);
}

TEST(ViewAreaLayoutTest, OnlyTheVerticalHalfOfACrossingDragRedraws) {
    ViewAreaLayout a;
    std::vector<bool> redraws;
    a.Changed = [&](bool redraw) { redraws.push_back(redraw); };
    a.imgSplitterHV_ResetPos(0.4, 0.4);
    EXPECT_EQ(std::count(redraws.begin(), redraws.end(), true), 1);
    redraws.clear();
    a.SizeControls_WithHorizontalSplitter(2000);
    EXPECT_EQ(redraws, std::vector<bool>{true});
}
