#include "PointSelection.h"

#include "Globals.h"
#include "SelectionRect.h"
#include "WindowHooks.h"
#include "WindowProcedures.h"

#include "platform/gdi.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <unordered_set>
#include <vector>

namespace Globals {
namespace {

bool skipBackFaced() {
    const auto& hook = core::windowHooks().ignoreBackFacedForPtSel;
    return hook && hook();
}

template <class Visit>
void forEachPointInRect(const SelRect& r, Visit visit) {
    forEachFacingPolygon(CurrSelEntityHandle, skipBackFaced(), [&](int32_t pol) {
        forEachPointOf(pol, [&](int32_t pt) {
            if (projectsInto(pt, r)) visit(pt);
        });
    });
}

void appendPt(int32_t point) {
    SelPts.checkCount(int64_t{NumSelPts} + 1);
    SelPts[++NumSelPts] = point;
}

}  // namespace

void WidenPointSelRect(int32_t& UpperCornerX, int32_t& UpperCornerY, int32_t& LowerCornerX, int32_t& LowerCornerY) {
    if (UpperCornerX == LowerCornerX) {
        UpperCornerX -= 2;
        LowerCornerX += 2;
    }
    if (UpperCornerY == LowerCornerY) {
        UpperCornerY -= 2;
        LowerCornerY += 2;
    }
}

void SelectPtsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    NumSelPts = 0;
    forEachPointInRect({UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY}, appendPt);
}

void AddPtsInRectToSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    std::unordered_set<int32_t> selected;
    for (int32_t i = 1; i <= NumSelPts; ++i) selected.insert(SelPts[i]);
    forEachPointInRect({UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY}, [&](int32_t pt) {
        if (selected.insert(pt).second) appendPt(pt);
    });
}

void RemovePtsInRectFromSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX,
                            int32_t LowerCornerY) {
    std::unordered_set<int32_t> inside;
    forEachPointInRect({UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY},
                       [&](int32_t pt) { inside.insert(pt); });
    if (inside.empty()) return;
    // One pass instead of a search per point: each inside point drops its first entry.
    int32_t kept = 0;
    for (int32_t i = 1; i <= NumSelPts; ++i) {
        const int32_t pt = SelPts[i];
        if (inside.erase(pt) == 0) SelPts[++kept] = pt;
    }
    NumSelPts = kept;
}

bool IsPtInSelPts(int32_t point) {
    for (int32_t i = 1; i <= NumSelPts; ++i)
        if (SelPts[i] == point) return true;
    return false;
}

void RemovePtFromSelPts(int32_t point) {
    for (int32_t i = 1; i <= NumSelPts; ++i) {
        if (SelPts[i] != point) continue;
        for (int32_t k = i; k < NumSelPts; ++k) SelPts[k] = SelPts[k + 1];
        --NumSelPts;
        return;
    }
}

void SelectPtsByKeyState(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    if (platform::isKeyHeld(platform::vk::Control)) AddPtsInRectToSel(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
    else if (platform::isKeyHeld(platform::vk::Shift))
        RemovePtsInRectFromSel(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
    else SelectPtsInRect(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
}

void DrawSelectedPts(int /*Index*/) {
    if (!IsPointEditing() || !OverlayDC) return;
    platform::DeviceContext& dc = *OverlayDC;
    const platform::GdiObject old = platform::SelectObject(dc, PenRed);
    // One call for all the squares: a group may hold a million points.
    std::vector<int32_t> ltrb;
    for (int32_t i = 1; i <= NumSelPts; ++i) {
        Point3d p = {0, 0, 0};
        OMBREL_point_get_xyz(SelPts[i], p.data());
        PixelPt px = {0, 0};
        if (OMBREL_engine_3D_point_to_2D(p.data(), px.data()) != 0) continue;
        ltrb.insert(ltrb.end(), {px[0] - 2, px[1] - 2, px[0] + 2, px[1] + 2});
    }
    platform::Rectangles(dc, ltrb.data(), static_cast<int>(ltrb.size() / 4));
    platform::SelectObject(dc, old);
}

}  // namespace Globals
