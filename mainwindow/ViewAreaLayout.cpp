#include "ViewAreaLayout.h"

ViewAreaLayout::ViewAreaLayout() {
    // A plausible grid until the first resize lays it out for real.
    const double g = BarThickness, half = (FrameWidth - Origin - FarMargin - g) / 2;
    const double x = Origin + half, y = Origin + half;
    picWindow[0] = {Origin, Origin, half, half};
    picWindow[1] = {x + g, Origin, half, half};
    picWindow[2] = {x + g, y + g, half, half};
    picWindow[3] = {Origin, y + g, half, half};
    imgSplitterVert[0] = {x, Origin, g, half};
    imgSplitterVert[1] = {x, y + g, g, half};
    imgSplitterHoriz[0] = {Origin, y, half, g};
    imgSplitterHoriz[1] = {x + g, y, half, g};
    imgSplitterHV = {x, y, g, g};
    SetFrameSize(FrameWidth, FrameHeight);
}

void ViewAreaLayout::notify(bool redraw) const {
    if (Changed) Changed(redraw);
}

Twips::Rect ViewAreaLayout::Grid() const {
    const auto& p0 = picWindow[0];
    const auto& p2 = picWindow[2];
    return {p0.Left, p0.Top, p2.Left + p2.Width - p0.Left, p2.Top + p2.Height - p0.Top};
}

void ViewAreaLayout::SetFrameSize(double width, double height) {
    FrameWidth = width;
    FrameHeight = height;
    picWindow[1].Width = width - picWindow[1].Left - FarMargin;
    picWindow[2].Width = width - picWindow[2].Left - FarMargin;
    picWindow[2].Height = height - picWindow[2].Top - FarMargin;
    picWindow[3].Height = height - picWindow[3].Top - FarMargin;
    imgSplitterHoriz[1].Width = picWindow[1].Width;
    imgSplitterVert[1].Height = picWindow[2].Height;
    picSplitterHoriz.Width = picWindow[1].Left - picWindow[0].Left + picWindow[1].Width;
    picSplitterVert.Height = picWindow[3].Top - picWindow[0].Top + picWindow[3].Height;
}

// The drags place the vertical bar at the pointer and the horizontal one half a
// bar above it, so these are their exact inverses: a resize keeps the crossing.
double ViewAreaLayout::CrossXFraction() const {
    return FrameWidth > 0 ? imgSplitterHV.Left / FrameWidth : 0.5;
}

double ViewAreaLayout::CrossYFraction() const {
    return FrameHeight > 0 ? (imgSplitterHV.Top + BarThickness / 2) / FrameHeight : 0.5;
}

void ViewAreaLayout::SizeControls_WithVerticalSplitter(double X) {
    auto& p = picWindow;
    const double W = p[1].Left - p[0].Left + p[1].Width;
    const double newLeft = X + BarThickness;
    p[0].Width = p[3].Width = X - p[0].Left;
    p[1].Left = p[2].Left = newLeft;
    p[1].Width = p[2].Width = W - (newLeft - p[0].Left);
    imgSplitterVert[0].Left = imgSplitterVert[1].Left = X;
    imgSplitterHV.Left = X;
    imgSplitterHoriz[0].Left = p[0].Left;
    imgSplitterHoriz[0].Width = p[0].Width;
    imgSplitterHoriz[1].Left = p[1].Left;
    imgSplitterHoriz[1].Width = p[1].Width;
    notify(true);
}

void ViewAreaLayout::SizeControls_WithHorizontalSplitter(double Y) {
    auto& p = picWindow;
    const double H = p[3].Top - p[0].Top + p[3].Height;
    p[0].Height = p[1].Height = Y - p[0].Top;
    p[2].Top = p[3].Top = Y + BarThickness;
    p[2].Height = H - (p[2].Top - p[1].Top);
    p[3].Height = H - (p[3].Top - p[0].Top);
    imgSplitterHoriz[0].Top = imgSplitterHoriz[1].Top = Y;
    imgSplitterVert[0].Top = p[0].Top;
    imgSplitterVert[0].Height = p[0].Height;
    imgSplitterVert[1].Top = p[2].Top;
    imgSplitterVert[1].Height = p[2].Height;
    imgSplitterHV.Top = imgSplitterVert[1].Top - imgSplitterHV.Height;
    // The crossing drag's vertical half has redrawn already.
    notify(!HVSplitterDragging);
}

void ViewAreaLayout::placeHorizBar(double Y) {
    const double h = picSplitterHoriz.Height;
    const double newTop = imgSplitterHoriz[0].Top + Y - h / 2;
    const double lower = picWindow[0].Top + h / 2;
    const double upper = picWindow[2].Top + picWindow[2].Height - 2 * h;
    if (newTop <= lower)
        picSplitterHoriz.Top = lower;
    else if (newTop > upper)
        picSplitterHoriz.Top = upper;
    else
        picSplitterHoriz.Top = newTop;
}

void ViewAreaLayout::placeVertBar(double X) {
    const double w = picSplitterVert.Width;
    const double newLeft = imgSplitterVert[0].Left + X - imgSplitterVert[0].Width / 2;
    const double lower = picWindow[0].Left + w;
    const double upper = picWindow[1].Left + picWindow[1].Width - 2 * w;
    if (newLeft <= lower)
        picSplitterVert.Left = lower;
    else if (newLeft > upper)
        picSplitterVert.Left = upper;
    else
        picSplitterVert.Left = newLeft + w / 2;
}

void ViewAreaLayout::imgSplitterHoriz_MouseDown(int Index) {
    picSplitterHoriz = {picWindow[0].Left, imgSplitterHoriz[Index].Top,
                        picWindow[1].Left - picWindow[0].Left + picWindow[1].Width, BarThickness};
    picSplitterHorizVisible = true;
    HorizSplitterDragging = true;
    notify(false);
}

void ViewAreaLayout::imgSplitterHoriz_MouseMove(double Y) {
    if (!HorizSplitterDragging) return;
    placeHorizBar(Y);
    notify(false);
}

void ViewAreaLayout::imgSplitterHoriz_MouseUp() {
    if (!HorizSplitterDragging) return;
    SizeControls_WithHorizontalSplitter(picSplitterHoriz.Top);
    picSplitterHorizVisible = false;
    HorizSplitterDragging = false;
    notify(false);
}

void ViewAreaLayout::imgSplitterVert_MouseDown(int Index) {
    picSplitterVert = {imgSplitterVert[Index].Left, picWindow[0].Top, BarThickness,
                       picWindow[3].Top - picWindow[0].Top + picWindow[3].Height};
    picSplitterVertVisible = true;
    VertSplitterDragging = true;
    notify(false);
}

void ViewAreaLayout::imgSplitterVert_MouseMove(double X) {
    if (!VertSplitterDragging) return;
    placeVertBar(X);
    notify(false);
}

void ViewAreaLayout::imgSplitterVert_MouseUp() {
    if (!VertSplitterDragging) return;
    SizeControls_WithVerticalSplitter(picSplitterVert.Left);
    picSplitterVertVisible = false;
    VertSplitterDragging = false;
    notify(false);
}

void ViewAreaLayout::imgSplitterHV_MouseDown() {
    picSplitterVert = {imgSplitterHV.Left, picWindow[0].Top, BarThickness,
                       picWindow[3].Top - picWindow[0].Top + picWindow[3].Height};
    picSplitterHoriz = {picWindow[0].Left, imgSplitterHV.Top,
                        picWindow[1].Left - picWindow[0].Left + picWindow[1].Width, BarThickness};
    picSplitterVertVisible = picSplitterHorizVisible = true;
    HVSplitterDragging = true;
    notify(false);
}

void ViewAreaLayout::imgSplitterHV_MouseMove(double X, double Y) {
    if (!HVSplitterDragging) return;
    placeVertBar(X);
    placeHorizBar(Y);
    notify(false);
}

void ViewAreaLayout::imgSplitterHV_MouseUp() {
    if (!HVSplitterDragging) return;
    SizeControls_WithVerticalSplitter(picSplitterVert.Left);
    SizeControls_WithHorizontalSplitter(picSplitterHoriz.Top);
    picSplitterVertVisible = picSplitterHorizVisible = false;
    HVSplitterDragging = false;
    notify(false);
}

void ViewAreaLayout::imgSplitterHV_ResetPos(double xFraction, double yFraction) {
    const double targetX = FrameWidth * xFraction - imgSplitterHV.Left;
    const double targetY = FrameHeight * yFraction - imgSplitterHV.Top;
    imgSplitterHV_MouseDown();
    imgSplitterHV_MouseMove(targetX, targetY);
    imgSplitterHV_MouseUp();
}
