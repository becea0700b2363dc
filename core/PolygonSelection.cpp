#include "PolygonSelection.h"

#include "Camera.h"
#include "Globals.h"
#include "SelectionRect.h"
#include "WindowHooks.h"
#include "WindowProcedures.h"
#include "myLine.h"

#include "platform/gdi.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <unordered_set>
#include <vector>

namespace Globals {
namespace {

bool skipBackFaced() {
    const auto& hook = core::windowHooks().ignoreBackFacedForPolSel;
    return hook && hook();
}

// The polygon under a click, or every polygon with a point in the band.
template <class Visit>
void forEachPolInRect(const SelRect& r, Visit visit) {
    if (r.isClick()) {
        if (int32_t pol = GetGrpPolAtPixel(CurrSelEntityHandle, r.ux, r.uy)) visit(pol);
        return;
    }
    forEachFacingPolygon(CurrSelEntityHandle, skipBackFaced(), [&](int32_t pol) {
        bool inside = false;
        forEachPointOf(pol, [&](int32_t pt) { inside = inside || projectsInto(pt, r); });
        if (inside) visit(pol);
    });
}

void appendPol(int32_t polygon) {
    SelPols.checkCount(int64_t{NumSelPols} + 1);
    SelPols[++NumSelPols] = polygon;
}

bool editingPolygonsOrTexture() {
    const auto& h = core::windowHooks();
    return IsPolygonEditing() || (h.objModeText && h.objModeText() == "Edit Texture");
}

}  // namespace

void SelectPolsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    NumSelPols = 0;
    forEachPolInRect({UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY}, appendPol);
}

void AddPolsInRectToSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    std::unordered_set<int32_t> selected;
    for (int32_t i = 1; i <= NumSelPols; ++i) selected.insert(SelPols[i]);
    forEachPolInRect({UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY}, [&](int32_t pol) {
        if (selected.insert(pol).second) appendPol(pol);
    });
}

void RemovePolsInRectFromSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX,
                             int32_t LowerCornerY) {
    forEachPolInRect({UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY}, RemovePolFromSelPols);
}

bool IsPolInSelPols(int32_t polygon) {
    for (int32_t i = 1; i <= NumSelPols; ++i)
        if (SelPols[i] == polygon) return true;
    return false;
}

void RemovePolFromSelPols(int32_t polygon) {
    for (int32_t i = 1; i <= NumSelPols; ++i) {
        if (SelPols[i] != polygon) continue;
        for (int32_t k = i; k < NumSelPols; ++k) SelPols[k] = SelPols[k + 1];
        --NumSelPols;
        return;
    }
}

int32_t GetGrpPolAtPixel(int32_t group, int32_t x, int32_t y) {
    Point3d p = {0, 0, 0};
    int32_t polygon = 0;
    if (OMBREL_engine_2D_point_to_3D(x, y, p.data(), nullptr, &polygon) != 0 || polygon == 0) return 0;
    return OMBREL_polygon_is_in_group(polygon, group) == 1 ? polygon : 0;
}

void SelectPolsByKeyState(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    if (platform::isKeyHeld(platform::vk::Control)) AddPolsInRectToSel(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
    else if (platform::isKeyHeld(platform::vk::Shift))
        RemovePolsInRectFromSel(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
    else SelectPolsInRect(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
}

void DrawSelectedPols(int Index) {
    if (!editingPolygonsOrTexture() || !OverlayDC || !OverlayLine) return;
    platform::DeviceContext& dc = *OverlayDC;
    const platform::GdiObject old = platform::SelectObject(dc, PenRed);
    OverlayLine->SetDC(OverlayDC);
    const auto& h = core::windowHooks();
    if (const Camera* cam = ViewCams[static_cast<std::size_t>(Index)].get(); cam && h.viewWindow)
        OMBREL_camera_set_current(cam->lngSceneCamera, h.viewWindow(Index));
    std::vector<Point3d> corners;
    for (int32_t i = 1; i <= NumSelPols; ++i) {
        corners.clear();
        forEachPointOf(SelPols[i], [&](int32_t pt) {
            Point3d p = {0, 0, 0};
            OMBREL_point_get_xyz(pt, p.data());
            corners.push_back(p);
        });
        // A polygon of one point has no edge to draw.
        if (corners.size() < 2) continue;
        for (std::size_t k = 0; k < corners.size(); ++k)
            OverlayLine->Queue(corners[k], corners[(k + 1) % corners.size()]);
    }
    OverlayLine->Flush();
    platform::SelectObject(dc, old);
}

}  // namespace Globals
