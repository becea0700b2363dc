// The point tools of the selected track on the camera page ("Point"): selecting
// points by click or band, inserting a point on the edge under the pointer and
// deleting the selected points. Neither point edit can be undone: each empties
// the history, after asking, before it changes the track.
#include "Form1.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/ObjectSelection.h"
#include "core/PointSelection.h"
#include "core/SelectionCentres.h"
#include "core/TrackPointEdits.h"
#include "core/TrackPointSelection.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "transform/EditModes.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <span>

namespace {

constexpr const char* kClearsHistory =
    "This action cannot be undone. All previous undo's will be cleared!. Do you wish to continue?";

bool userAcceptsLosingHistory() {
    return platform::msgBox(kClearsHistory, platform::MsgButtons::YesNoCancel, platform::MsgIcon::Information) ==
           platform::MsgResult::Yes;
}

ActionUndoRedo_Stack& history() {
    if (!Globals::UndoRedoStack) throw platform::EditorError("The undo history has not been created");
    return *Globals::UndoRedoStack;
}

int32_t selectedTrack() { return Globals::CurrSelEntityType == SelTrack ? Globals::CurrSelEntityHandle : 0; }

// Entries 1 to NumSelTrkPts, the part of the list that counts.
std::vector<int32_t> selectedTrackPts() {
    using namespace Globals;
    const auto count = static_cast<std::size_t>(std::max(0, NumSelTrkPts));
    return {SelTrkPts.begin() + 1, SelTrkPts.begin() + 1 + static_cast<std::ptrdiff_t>(std::min(count, SelTrkPts.size() - 1))};
}

}  // namespace

void Form1::buildTrackPointFrame() {
    auto* layout = new QHBoxLayout(frmTrackPoint);
    layout->setContentsMargins(2, 2, 2, 2);
    tlbrBtnInsert = new QToolBar(frmTrackPoint);
    tlbrBtnInsert->setObjectName("tlbrBtnInsert");
    QAction* insert = tlbrBtnInsert->addAction("Insert");
    insert->setObjectName("Insert");
    insert->setCheckable(true);
    insert->setToolTip("Insert a point on the edge under the pointer");
    cmdTrkPtDelete = new QPushButton("Delete", frmTrackPoint);
    cmdTrkPtDelete->setObjectName("cmdTrkPtDelete");
    cmdTrkPtDelete->setToolTip("Delete the selected points");
    layout->addWidget(tlbrBtnInsert);
    layout->addWidget(cmdTrkPtDelete);
    layout->addStretch(1);
    connect(insert, &QAction::triggered, this, platform::trapped(this, [this] { tlbrBtnInsert_ButtonClick(); }));
    connect(cmdTrkPtDelete, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdTrkPtDelete_Click(); }));
}

bool Form1::InsertingTrackPts() const {
    return tlbrBtnInsert && !tlbrBtnInsert->actions().isEmpty() && tlbrBtnInsert->actions().first()->isChecked();
}

bool Form1::IsTrackPointEditing() const { return transform::IsTrackPointEditing(); }

void Form1::makeActiveViewCurrent() {
    const auto index = static_cast<std::size_t>(PicBoxFocused);
    if (const auto& cam = Globals::ViewCams[index]) OMBREL_camera_set_current(cam->lngSceneCamera, picWindow[index]->hWnd());
}

void Form1::tlbrBtnInsert_ButtonClick() {
    // A search left from an earlier press of the button names no edge now.
    TrkInsertEdgeFound = false;
    if (InsertingTrackPts()) SetToolMode(ToolSelect);
}

void Form1::SelectTrackPts() {
    using namespace Globals;
    if (selectedTrack() == 0) return;
    makeActiveViewCurrent();
    const std::vector<int32_t> before = selectedTrackPts();
    int32_t ux = 0, uy = 0, lx = 0, ly = 0;
    SetUpperAndLowerCorners(ux, uy, lx, ly);
    WidenPointSelRect(ux, uy, lx, ly);
    SelectTrackPtsByKeyState(ux, uy, lx, ly);
    ComputeSelTrackPtsAvgCenter();
    // A release that leaves the selection as it was records nothing: a useless
    // record could push an older deletion out of the history for good.
    if (selectedTrackPts() == before) return;
    auto record = ActionUndoRedo::New(ActSelectTrkPts);
    std::vector<int32_t> old(1, 0);
    old.insert(old.end(), before.begin(), before.end());
    record->SelectTrkPts->SetOldSelTrkPts(old, static_cast<int32_t>(before.size()));
    record->SelectTrkPts->SetNewSelTrkPts(SelTrkPts, NumSelTrkPts);
    history().Push(std::move(record));
}

void Form1::FindTrackEdgeUnderCursor(int, float X, float Y) {
    const int32_t track = selectedTrack();
    if (track == 0) return;
    makeActiveViewCurrent();
    int32_t edge = 0;
    Point3d point = {0, 0, 0};
    TrkInsertEdgeFound = Globals::FindTrackEdgeAt(track, static_cast<int32_t>(std::lround(X)),
                                                  static_cast<int32_t>(std::lround(Y)), edge, point);
    if (TrkInsertEdgeFound) {
        TrkInsertEdgeIdx = edge;
        TrkInsertPt = point;
    }
    picWinSetMousePtr(TrkInsertEdgeFound ? "Cross hair" : "Pointer");
}

void Form1::InsertTrackPt() {
    using namespace Globals;
    const int32_t track = selectedTrack();
    if (!TrkInsertEdgeFound || track == 0) return;
    // Records naming point indices, redo ones too, no longer fit once the
    // points above the new one move up.
    if (history().HoldsAnyRecord()) {
        if (!userAcceptsLosingHistory()) return;
        history().Reset();
    }
    InsertTrackPtAfter(track, TrkInsertEdgeIdx, TrkInsertPt);
    NumSelTrkPts = 0;
    SelTrkPts.resize(1);
}

void Form1::cmdTrkPtDelete_Click() {
    using namespace Globals;
    const int32_t track = selectedTrack();
    if (NumSelTrkPts == 0 || track == 0) return;
    const std::vector<int32_t> selected = selectedTrackPts();
    const int32_t remaining = OMBREL_track_get_number_of_points(track) - CountTrackPts(track, selected);
    if (remaining < 2) {
        platform::msgBox("We need to have atleast 2 points. No point has been deleted.", platform::MsgButtons::OK,
                         platform::MsgIcon::Information);
        return;
    }
    if (!userAcceptsLosingHistory()) return;
    history().Reset();
    std::vector<int32_t> sorted;
    SortSelTrackPts(sorted);
    DeleteTrackPts(track, std::span<const int32_t>(sorted).subspan(1));
    NumSelTrkPts = 0;
    SelTrkPts.resize(1);
    UpdateCameras();
}
