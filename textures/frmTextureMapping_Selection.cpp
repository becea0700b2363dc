// The editor's selected coordinates: the main list and the "Selected Only" list,
// the hit test, the mouse on PicMain and the rubber-band selection with its undo
// record.
#include "frmTextureMapping.h"

#include "TexturePicture.h"

#include "core/CoreTypes.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/colour.h"
#include "platform/cursor.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SharedObjects.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace {

bool held(int key) { return platform::GetAsyncKeyState(key) < 0; }

int32_t roundedPixel(float value) { return static_cast<int32_t>(std::lround(std::clamp(value, -1e9f, 1e9f))); }

// Walks every polygon of the selected group with each of its points; nothing
// while the selection is not a group.
template <class Visit>
void forEachGroupPoint(Visit visit) {
    if (Globals::CurrSelEntityType != SelGroup) return;
    const int32_t group = Globals::CurrSelEntityHandle;
    for (int32_t pol = OMBREL_group_get_first_polygon(group); pol != 0; pol = OMBREL_group_get_next_polygon(group, pol))
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt))
            visit(pt, pol);
}

// The same over the polygons selected in the main window.
template <class Visit>
void forEachSelPolPoint(Visit visit) {
    for (int32_t i = 1; i <= Globals::NumSelPols; ++i) {
        const int32_t pol = Globals::SelPols[i];
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt))
            visit(pt, pol);
    }
}

std::unordered_set<int32_t> pointsOf(const TexCoordList& list) {
    return {list.Pts.begin() + 1, list.Pts.begin() + 1 + list.Count};
}

}  // namespace

// ---- public operations

void frmTextureMapping::ResetSelections() {
    TexSel.Clear();
    TexSelOnly.Clear();
}

void frmTextureMapping::SetSelPts_And_OwnerPols(const int32_t* Pts, const int32_t* OwnerPols, int32_t count) {
    TexSel.Assign(Pts, OwnerPols, count);
}

void frmTextureMapping::SetSelPtsPartOfSelPols_And_OwnerPols(const int32_t* Pts, const int32_t* OwnerPols,
                                                             int32_t count) {
    TexSelOnly.Assign(Pts, OwnerPols, count);
}

const TexCoordList& frmTextureMapping::ListInUse() const { return SelectedOnly() ? TexSelOnly : TexSel; }

bool frmTextureMapping::CursorOverSelCoord() const {
    const platform::ScreenPoint cursor = platform::GetCursorPos();
    const QPoint corner = PicMain->mapToGlobal(QPoint(0, 0));
    const double cx = cursor.x - corner.x(), cy = cursor.y - corner.y();
    const TexCoordList& list = ListInUse();
    for (int32_t i = 1; i <= list.Count; ++i) {
        double uv[2] = {0, 0};
        OMBREL_point_get_bitmap_xy(list.Pts[static_cast<std::size_t>(i)], uv);
        const double dx = PixelX(uv[0]) - cx, dy = PixelY(uv[1]) - cy;
        if (dy * dy + dx * dx < 16) return true;
    }
    return false;
}

// ---- the mouse on PicMain

void frmTextureMapping::PicMain_MouseDown(int Button, int, float X, float Y) {
    MouseDownX = roundedPixel(X);
    MouseDownY = roundedPixel(Y);
    LastMouseX = X;
    LastMouseY = Y;
    LastCursorPos = platform::GetCursorPos();
    if ((Button & 1) && DragOverSel) StartDragRecord();
}

void frmTextureMapping::PicMain_MouseMove(int Button, int, float X, float Y) {
    switch (TexToolMode) {
    case TexSelect: SelectToolMouseMove(Button, X, Y); break;
    case TexMove:
    case TexRotate:
    case TexScale: TransformToolMouseMove(Button, X, Y); break;
    case TexPan:
        if (Button == 1) TexPanDrag(X, Y);
        break;
    case TexZoom:
        if (Button == 1) TexZoomDrag(X, Y);
        break;
    default: break;
    }
}

void frmTextureMapping::PicMain_MouseUp(int Button, int, float X, float Y) {
    if (Button != 1) return;
    MouseUpX = roundedPixel(X);
    MouseUpY = roundedPixel(Y);
    if (!DragOverSel && TexToolMode >= TexSelect && TexToolMode <= TexScale) {
        SelectCoordsInRubberBand();
        PicMain_Paint();
    }
    if (DragOverSel) EndDrag();
}

void frmTextureMapping::SelectToolMouseMove(int Button, float X, float Y) {
    if (Button != 1) return;
    int32_t colour = platform::rgb(255, 255, 0);
    if (held(platform::vk::Control))
        colour = platform::rgb(0, 255, 0);
    else if (held(platform::vk::Shift))
        colour = platform::rgb(255, 0, 0);
    DrawRubberBand(colour, X, Y);
}

void frmTextureMapping::TransformToolMouseMove(int Button, float X, float Y) {
    if ((Button & 1) && DragOverSel) {
        MeasureCursorMotion();
        if (TexToolMode == TexMove) MoveSelCoords();
        if (TexToolMode == TexRotate) RotateSelCoords();
        if (TexToolMode == TexScale) ScaleSelCoords();
        return;
    }
    // A press that did not start on a selected coordinate hits nothing.
    if ((Button & 1) == 0 && CursorOverSelCoord()) {
        picMainSetMousePtr(TexToolMode == TexMove ? "Move" : TexToolMode == TexRotate ? "Rotate" : "Scale");
        DragOverSel = true;
        return;
    }
    picMainSetMousePtr("Pointer");
    DragOverSel = false;
    SelectToolMouseMove(Button, X, Y);
}

// ---- rubber-band selection

void frmTextureMapping::SelectCoordsInRubberBand() {
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActSelectCoords;
    record->SetActionObjects();
    const bool onlyBefore = SelectedOnly();
    const TexCoordList before = onlyBefore ? TexSelOnly : TexSel;
    record->SelectCoords->SetOldSelPts(before.Pts, before.OwnerPols, before.Count, onlyBefore ? 0 : 1);

    const double left = std::min(MouseDownX, MouseUpX), right = std::max(MouseDownX, MouseUpX);
    const double top = std::min(MouseDownY, MouseUpY), bottom = std::max(MouseDownY, MouseUpY);
    if (held(platform::vk::Control))
        AddCoordsInRect(left, top, right, bottom);
    else if (held(platform::vk::Shift))
        RemoveCoordsInRect(left, top, right, bottom);
    else
        SelectCoordsInRect(left, top, right, bottom);
    BuildSelOnlyList();
    DrawSelCoords();

    const bool onlyAfter = SelectedOnly();
    const TexCoordList& after = onlyAfter ? TexSelOnly : TexSel;
    record->SelectCoords->SetNewSelPts(after.Pts, after.OwnerPols, after.Count, onlyAfter ? 0 : 1);
    // A band that left its list as it was is no step of the history.
    if (onlyAfter == onlyBefore && after.SameAs(before)) return;
    undo::Shared(Globals::UndoRedoStack, "The undo history").Push(std::move(record));
}

void frmTextureMapping::SelectCoordsInRect(double left, double top, double right, double bottom) {
    TexSel.Clear();
    auto inside = [&](int32_t pt, int32_t pol) {
        double uv[2] = {0, 0};
        OMBREL_point_get_bitmap_xy(pt, uv);
        const double x = PixelX(uv[0]), y = PixelY(uv[1]);
        // Each entry goes through a real polygon: with "Selected Only" down, the
        // selected polygon that holds the point.
        if (left <= x && x <= right && top <= y && y <= bottom) TexSel.Append(pt, pol);
    };
    if (SelectedOnly())
        forEachSelPolPoint(inside);
    else
        forEachGroupPoint(inside);
}

void frmTextureMapping::AddCoordsInRect(double left, double top, double right, double bottom) {
    std::unordered_set<int32_t> selected = pointsOf(TexSel);
    forEachGroupPoint([&](int32_t pt, int32_t pol) {
        double uv[2] = {0, 0};
        OMBREL_point_get_bitmap_xy(pt, uv);
        const double x = PixelX(uv[0]), y = PixelY(uv[1]);
        if (left <= x && x <= right && top <= y && y <= bottom && selected.insert(pt).second) TexSel.Append(pt, pol);
    });
}

void frmTextureMapping::RemoveCoordsInRect(double left, double top, double right, double bottom) {
    std::unordered_set<int32_t> inside;
    forEachGroupPoint([&](int32_t pt, int32_t) {
        double uv[2] = {0, 0};
        OMBREL_point_get_bitmap_xy(pt, uv);
        const double x = PixelX(uv[0]), y = PixelY(uv[1]);
        if (left <= x && x <= right && top <= y && y <= bottom) inside.insert(pt);
    });
    if (inside.empty()) return;
    // The first entry of each point inside leaves the list; the rest keep their order.
    TexCoordList kept;
    for (int32_t i = 1; i <= TexSel.Count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (inside.erase(TexSel.Pts[k]) == 0) kept.Append(TexSel.Pts[k], TexSel.OwnerPols[k]);
    }
    TexSel = std::move(kept);
}

void frmTextureMapping::BuildSelOnlyList() {
    TexSelOnly.Clear();
    const std::unordered_set<int32_t> selected = pointsOf(TexSel);
    forEachSelPolPoint([&](int32_t pt, int32_t pol) {
        if (selected.count(pt)) TexSelOnly.Append(pt, pol);
    });
}
