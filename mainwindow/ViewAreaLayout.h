// The view area of the main window in twips: four views in a 2 by 2 grid inside
// the frame frmPicWins, a vertical and a horizontal splitter between them, the
// splitter images that take the mouse and the bars shown while dragging. Only
// arithmetic here; the main window puts the widgets where this says.
#pragma once

#include "Twips.h"

#include <array>
#include <functional>

class ViewAreaLayout {
public:
    // Thickness of the splitter bars and images (the gap between views), the
    // views' distance from the frame's top left, and their distance from its
    // right and bottom.
    static constexpr double BarThickness = 90;
    static constexpr double Origin = 60;
    static constexpr double FarMargin = 80;

    ViewAreaLayout();

    // Called after the views were resized; redraw is false where the views are
    // not redrawn (the horizontal half of a crossing drag).
    std::function<void(bool redraw)> Changed;

    double FrameWidth = 6000;
    double FrameHeight = 6000;
    std::array<Twips::Rect, 4> picWindow{};
    std::array<Twips::Rect, 2> imgSplitterHoriz{};  // 0 under the left column, 1 under the right
    std::array<Twips::Rect, 2> imgSplitterVert{};   // 0 beside the top row, 1 beside the bottom
    Twips::Rect imgSplitterHV{};
    Twips::Rect picSplitterHoriz{};
    Twips::Rect picSplitterVert{};
    bool picSplitterHorizVisible = false;
    bool picSplitterVertVisible = false;
    bool HorizSplitterDragging = false;
    bool VertSplitterDragging = false;
    bool HVSplitterDragging = false;

    // A new frame size: the right-hand and bottom views end FarMargin inside it
    // and the drag bars span the grid. The crossing is not moved.
    void SetFrameSize(double width, double height);
    // The crossing as fractions of the frame, such that imgSplitterHV_ResetPos
    // with them puts it back where it is.
    double CrossXFraction() const;
    double CrossYFraction() const;

    void SizeControls_WithVerticalSplitter(double X);
    void SizeControls_WithHorizontalSplitter(double Y);
    void imgSplitterHV_ResetPos(double xFraction, double yFraction);

    // The drag protocol; positions are relative to the pressed image, in twips.
    void imgSplitterHoriz_MouseDown(int Index);
    void imgSplitterHoriz_MouseMove(double Y);
    void imgSplitterHoriz_MouseUp();
    void imgSplitterVert_MouseDown(int Index);
    void imgSplitterVert_MouseMove(double X);
    void imgSplitterVert_MouseUp();
    void imgSplitterHV_MouseDown();
    void imgSplitterHV_MouseMove(double X, double Y);
    void imgSplitterHV_MouseUp();

    // The whole grid, from the top left of view 0 to the bottom right of view 2.
    Twips::Rect Grid() const;

private:
    void placeHorizBar(double Y);
    void placeVertBar(double X);
    void notify(bool redraw) const;
};
