// The window's layout: workspace panel on the left, the view frame on the right,
// the splitters between the views, the focus frame and the maximised view.
#include "Form1.h"

#include "SplitterHandle.h"

#include "views/PicWindow.h"

#include <QFrame>
#include <QLabel>
#include <QTabWidget>

#include <algorithm>

namespace {

// Room around the workspace panel and the view frame inside the client area.
constexpr double kTopMargin = 40;
constexpr double kSideMargin = 60;
constexpr double kBottomMargin = 60;
constexpr double kFrameGap = 70;
// Where a view's caption sits inside its top left corner.
constexpr double kLabelInset = 60;
constexpr double kLabelWidth = 1500;
constexpr double kLabelHeight = 255;
constexpr double kFocusOutside = 10;

Twips::Rect outset(const Twips::Rect& r, double by) {
    return {r.Left - by, r.Top - by, r.Width + 2 * by, r.Height + 2 * by};
}

}  // namespace

double Form1::Width() const { return Twips::fromPixels(width()); }

double Form1::Height() const { return Twips::fromPixels(height()); }

void Form1::Form_Resize() {
    if (resizing_) return;
    resizing_ = true;
    // Errors are ignored: a size a control refuses leaves it as it was.
    try {
        if (Width() < MinWidth) resize(Twips::toPixels(MinWidth), height());
        if (!tabWorkspace->isHidden()) tabWorkspace_Resize();
        picWinsResize();
        SetWindowFocus();
    } catch (...) {
    }
    resizing_ = false;
}

// The client area between toolbar and status bar, in twips.
namespace {

double clientHeight(const QWidget* centre) { return Twips::fromPixels(centre->height()); }

double clientWidth(const QWidget* centre) { return Twips::fromPixels(centre->width()); }

}  // namespace

void Form1::tabWorkspace_Resize() {
    double panelH = clientHeight(centralWidget()) - kTopMargin - kBottomMargin;
    if (panelH < MinWorkspaceHeight) {
        // The panel's least height: the window grows instead.
        resize(width(), height() + Twips::toPixels(MinWorkspaceHeight - panelH));
        panelH = MinWorkspaceHeight;
    }
    Twips::place(*tabWorkspace, {kSideMargin, kTopMargin, WorkspaceWidth, panelH});
    CamWorkspaceFrame_Resize(frmCam);
    CamScrollBar_Resize();
    frmLight_Resize();
    LightScrollBar_Resize();
    trwGroupView_Resize();
}

void Form1::trwGroupView_Resize() {
    // The tree fills its page through the page's layout.
}

void Form1::picWinsResize() {
    const double xFraction = viewArea_.CrossXFraction();
    const double yFraction = viewArea_.CrossYFraction();
    double avail = clientHeight(centralWidget()) - kTopMargin - kBottomMargin;
    if (avail < MinWorkspaceHeight) {
        resize(width(), height() + Twips::toPixels(MinWorkspaceHeight - avail));
        avail = MinWorkspaceHeight;
    }
    const double frameLeft = tabWorkspace->isHidden()
                                 ? kSideMargin
                                 : Twips::fromPixels(tabWorkspace->x() + tabWorkspace->width()) + kFrameGap;
    const Twips::Rect frame = {frameLeft, kTopMargin, clientWidth(centralWidget()) - frameLeft - kSideMargin, avail};
    Twips::place(*frmPicWins, frame);
    viewArea_.SetFrameSize(frame.Width, frame.Height);
    imgSplitterHV_ResetPos(xFraction, yFraction);
}

void Form1::imgSplitterHV_ResetPos(double xFraction, double yFraction) {
    viewArea_.imgSplitterHV_ResetPos(xFraction, yFraction);
}

void Form1::applyViewArea() {
    const auto& a = viewArea_;
    for (std::size_t i = 0; i < 4; ++i) {
        const bool shown = !ViewMaximized || static_cast<int>(i) == PicBoxFocused;
        // A maximised view takes the whole grid; the others are hidden.
        const Twips::Rect r = ViewMaximized && shown ? a.Grid() : a.picWindow[i];
        Twips::place(*picWindow[i], r);
        picWindow[i]->setVisible(shown);
        Twips::place(*lblPicView[i], {r.Left + kLabelInset, r.Top + kLabelInset / 2,
                                      std::min(kLabelWidth, std::max(0.0, r.Width - kLabelInset)), kLabelHeight});
        lblPicView[i]->setVisible(shown);
        lblPicView[i]->raise();
    }
    for (std::size_t i = 0; i < 2; ++i) {
        Twips::place(*imgSplitterHoriz[i], a.imgSplitterHoriz[i]);
        Twips::place(*imgSplitterVert[i], a.imgSplitterVert[i]);
        imgSplitterHoriz[i]->setVisible(!ViewMaximized);
        imgSplitterVert[i]->setVisible(!ViewMaximized);
    }
    Twips::place(*imgSplitterHV, a.imgSplitterHV);
    imgSplitterHV->setVisible(!ViewMaximized);
    imgSplitterHV->raise();
    Twips::place(*picSplitterHoriz, a.picSplitterHoriz);
    Twips::place(*picSplitterVert, a.picSplitterVert);
    picSplitterHoriz->setVisible(a.picSplitterHorizVisible);
    picSplitterVert->setVisible(a.picSplitterVertVisible);
    picSplitterHoriz->raise();
    picSplitterVert->raise();
}

void Form1::SetWindowFocus() {
    const auto i = static_cast<std::size_t>(PicBoxFocused);
    shpFocus->hide();
    const Twips::Rect view = ViewMaximized ? viewArea_.Grid() : viewArea_.picWindow[i];
    Twips::place(*shpFocus, outset(view, kFocusOutside));
    shpFocus->show();
    shpFocus->raise();
}

void Form1::focusActiveView() { picWindow.at(static_cast<std::size_t>(PicBoxFocused))->setFocus(); }

void Form1::ToggleWindowMinMax() {
    if (!ViewMaximized) {
        ViewMaximized = true;
        SavedSplitterPos = {viewArea_.imgSplitterHV.Left / viewArea_.FrameWidth,
                            viewArea_.imgSplitterHV.Top / viewArea_.FrameHeight};
        // The corner that leaves the active view the whole area.
        static const double corners[4][2] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
        imgSplitterHV_ResetPos(corners[PicBoxFocused][0], corners[PicBoxFocused][1]);
    } else {
        ViewMaximized = false;
        imgSplitterHV_ResetPos(SavedSplitterPos[0] + 0.007, SavedSplitterPos[1] + 0.007);
    }
    SetWindowFocus();
}
