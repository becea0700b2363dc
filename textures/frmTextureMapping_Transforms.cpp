// Moving, rotating, scaling and mirroring the selected coordinates. A drag is
// measured by the screen cursor between steps; the axis locks ("X"/"1" keeps v,
// "Y"/"2" keeps u) are read at every point written. Each drag or mirror that
// changed a coordinate is one undo record.
#include "frmTextureMapping.h"

#include "TexturePicture.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "core/WindowProcedures.h"
#include "ombrel.h"
#include "platform/cursor.h"
#include "platform/key_state.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/DragInProgress.h"
#include "undo/SharedObjects.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

bool held(int key) { return platform::GetAsyncKeyState(key) < 0; }
bool lockedToU() { return held('X') || held('1'); }  // horizontal only: v stays
bool lockedToV() { return held('Y') || held('2'); }  // vertical only: u stays

// Reads, changes and writes every entry of the list through its owner.
template <class Change>
void changeEach(const TexCoordList& list, Change change) {
    for (int32_t i = 1; i <= list.Count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        double uv[2] = {0, 0};
        OMBREL_point_get_bitmap_xy(list.Pts[k], uv);
        change(uv[0], uv[1]);
        OMBREL_point_set_bitmap_xy(list.Pts[k], list.OwnerPols[k], uv);
    }
}

void push(std::unique_ptr<ActionUndoRedo> record) {
    undo::Shared(Globals::UndoRedoStack, "The undo history").Push(std::move(record));
}

}  // namespace

std::unique_ptr<ActionUndoRedo> frmTextureMapping::NewCoordsRecord() const {
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActChngTextureCoords;
    record->SetActionObjects();
    if (SelectedOnly())
        record->ChngTextureCoords->SetPtsChangedToCurrSel();
    else
        record->ChngTextureCoords->SetPtsChangedToGiven(TexSel.Pts, TexSel.OwnerPols, TexSel.Count);
    record->ChngTextureCoords->ExtractIniCoordsLoc();
    return record;
}

void frmTextureMapping::StartDragRecord() {
    DragRecord = NewCoordsRecord();
    // Undo and Redo keep off the history until the record is complete.
    undo::TransformDragFlag() = true;
}

void frmTextureMapping::EndDrag() {
    if (!DragRecord) return;
    undo::TransformDragFlag() = false;
    std::unique_ptr<ActionUndoRedo> record = std::move(DragRecord);
    record->ChngTextureCoords->ExtractFnlCoordsLoc();
    // A press and release without motion changed nothing.
    if (record->ChngTextureCoords->ChangesAnything()) push(std::move(record));
}

void frmTextureMapping::MeasureCursorMotion() {
    const platform::ScreenPoint now = platform::GetCursorPos();
    CursorDeltaX = now.x - LastCursorPos.x;
    CursorDeltaY = now.y - LastCursorPos.y;
    LastCursorPos = now;
}

void frmTextureMapping::AfterTransformStep() {
    PicMain_Paint();
    Globals::UpdateCameras();
}

void frmTextureMapping::MoveSelCoords() {
    // A texture drawn without pixels cannot be followed by the cursor.
    if (DispWidth == 0 || DispHeight == 0) return;
    const double du = CursorDeltaX / DispWidth, dv = CursorDeltaY / DispHeight;
    changeEach(ListInUse(), [&](double& u, double& v) {
        const bool keepV = lockedToU(), keepU = lockedToV();
        if (!keepU) u += du;
        if (!keepV) v += dv;
    });
    AfterTransformStep();
}

void frmTextureMapping::RotateSelCoords() {
    if (DispWidth == 0 || DispHeight == 0) return;
    const std::array<double, 2> centre = {TexU(MouseDownX), TexV(MouseDownY)};
    const double angle = CursorDeltaY;
    changeEach(ListInUse(), [&](double& u, double& v) {
        const std::array<double, 2> p = {u, v};
        std::array<double, 2> turned = {u, v};
        Maths::RotatePointAboutCenter2D(p, centre, angle, turned);
        u = turned[0];
        v = turned[1];
    });
    AfterTransformStep();
}

void frmTextureMapping::ScaleSelCoords() {
    if (DispWidth == 0 || DispHeight == 0) return;
    const double cu = TexU(MouseDownX), cv = TexV(MouseDownY);
    // Never negative, however far the cursor jumped up.
    const double s = std::abs(1 + 0.005 * CursorDeltaY);
    changeEach(ListInUse(), [&](double& u, double& v) {
        const bool keepV = lockedToU(), keepU = lockedToV();
        if (!keepU) u = cu + s * (u - cu);
        if (!keepV) v = cv + s * (v - cv);
    });
    AfterTransformStep();
}

void frmTextureMapping::MirrorSelCoords() {
    const bool flipU = lockedToU(), flipV = lockedToV();
    if (!flipU && !flipV) return;
    std::unique_ptr<ActionUndoRedo> record = NewCoordsRecord();
    const TexCoordList& list = ListInUse();
    double minU = 1e108, minV = 1e108, maxU = -1e108, maxV = -1e108;
    for (int32_t i = 1; i <= list.Count; ++i) {
        double uv[2] = {0, 0};
        OMBREL_point_get_bitmap_xy(list.Pts[static_cast<std::size_t>(i)], uv);
        minU = std::min(minU, uv[0]);
        maxU = std::max(maxU, uv[0]);
        minV = std::min(minV, uv[1]);
        maxV = std::max(maxV, uv[1]);
    }
    const double cu = (maxU - minU) / 2 + minU, cv = (maxV - minV) / 2 + minV;
    changeEach(list, [&](double& u, double& v) {
        if (flipU) u = cu - (u - cu);
        if (flipV) v = cv - (v - cv);
    });
    AfterTransformStep();
    record->ChngTextureCoords->ExtractFnlCoordsLoc();
    if (record->ChngTextureCoords->ChangesAnything()) push(std::move(record));
}
