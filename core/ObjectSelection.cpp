#include "ObjectSelection.h"

#include "CoreTypes.h"
#include "Globals.h"
#include "MultipleSelection.h"
#include "SelectionCentres.h"
#include "WindowHooks.h"

#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "platform/colour.h"
#include "platform/device_context.h"
#include "platform/gdi.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <cmath>

namespace Globals {
namespace {

struct Rect {
    int32_t ux, uy, lx, ly;
    bool isClick() const { return ux == lx && uy == ly; }
    bool holds(const PixelPt& px) const { return ux <= px[0] && px[0] <= lx && uy <= px[1] && px[1] <= ly; }
};

MultipleSelection& currSel() { return *CurrMultiSel; }
int32_t father(int32_t group) { return OMBREL_group_get_father_group(group); }
int32_t cameraOfMarker(int32_t group) { return SceneCameras ? SceneCameras->GetCamHandle(group) : 0; }
int32_t lightOfMarker(int32_t group) { return SceneLights ? SceneLights->GetLightHandle(group) : 0; }

// A point of the group's own polygons (the engine's walk goes on into its
// children, which the world walk visits by themselves) projects into the rect.
bool ownPolygonsHit(int32_t group, const Rect& r) {
    for (int32_t pol = OMBREL_group_get_first_polygon(group); pol != 0 && OMBREL_polygon_get_group(pol) == group;
         pol = OMBREL_group_get_next_polygon(group, pol)) {
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
            Point3d p = {0, 0, 0};
            OMBREL_point_get_xyz(pt, p.data());
            PixelPt px = {0, 0};
            const int32_t res = OMBREL_engine_3D_point_to_2D(p.data(), px.data());
            if (res == -1 || res == 2) continue;
            if (r.holds(px)) return true;
        }
    }
    return false;
}

// Every enabled group of the world with a point of its own in the rect, once, in
// the engine's order.
template <class Visit>
void forEachHitGroup(const Rect& r, Visit visit) {
    for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g)) {
        if (OMBREL_group_is_disable(g) == 1) continue;
        if (ownPolygonsHit(g, r)) visit(g);
    }
}

void addPicked() {
    switch (PickedEntityType) {
    case SelGroup: currSel().AddGrpHandles(PickedEntityHandle); break;
    case SelCamera: currSel().AddCamHandles(PickedEntityHandle); break;
    case SelLight: currSel().AddLightHandles(PickedEntityHandle); break;
    default: break;
    }
}

void addMarkerEntities(int32_t marker) {
    if (int32_t cam = cameraOfMarker(marker)) currSel().AddCamHandles(cam);
    if (int32_t light = lightOfMarker(marker)) currSel().AddLightHandles(light);
}

void removeMarkerEntities(int32_t marker) {
    if (int32_t cam = cameraOfMarker(marker)) currSel().RemoveCam(cam);
    if (int32_t light = lightOfMarker(marker)) currSel().RemoveLight(light);
}

}  // namespace

void SetSelKindFromMultiSel(bool oneTrackCounts) {
    const MultipleSelection& sel = currSel();
    const int32_t total = sel.TotalEntities();
    if (total == 0) {
        CurrSelEntityType = SelNone;
    } else if (total == 1) {
        if (sel.NumOfGrps() == 1) {
            CurrSelEntityType = SelGroup;
            CurrSelEntityHandle = sel.GetGrp(1);
        } else if (sel.NumOfCams() == 1) {
            CurrSelEntityType = SelCamera;
            CurrSelEntityHandle = sel.GetCam(1);
        } else if (sel.NumOfLights() == 1) {
            CurrSelEntityType = SelLight;
            CurrSelEntityHandle = sel.GetLight(1);
        } else if (oneTrackCounts) {
            CurrSelEntityType = SelTrack;
            CurrSelEntityHandle = sel.GetTrack(1);
        }
    } else {
        CurrSelEntityType = SelMultiple;
    }
}

void SetUpperAndLowerCorners(int32_t& UpperCornerX, int32_t& UpperCornerY, int32_t& LowerCornerX,
                             int32_t& LowerCornerY) {
    auto round = [](float v) { return static_cast<int32_t>(std::nearbyint(v)); };
    UpperCornerX = round(std::fmin(MouseDownX, MouseUpX));
    LowerCornerX = round(std::fmax(MouseDownX, MouseUpX));
    UpperCornerY = round(std::fmin(MouseDownY, MouseUpY));
    LowerCornerY = round(std::fmax(MouseDownY, MouseUpY));
}

int32_t GetTopMostFatherGrp(int32_t group) {
    if (father(group) == 0) return 0;
    for (int32_t cur = group;;) {
        const int32_t f = father(cur);
        if (f == 0) return cur;
        if (f == RootGrp) return RootGrp;
        cur = f;
    }
}

int32_t GetTopMostFatherGrpExcludingRootGrp(int32_t group) {
    if (father(group) == 0) return 0;
    for (int32_t cur = group;;) {
        const int32_t f = father(cur);
        if (f == 0 || f == RootGrp) return cur;
        cur = f;
    }
}

void PickEntityAt(int32_t x, int32_t y) {
    PickedEntityType = SelNone;
    Point3d p = {0, 0, 0};
    int32_t polygon = 0;
    if (OMBREL_engine_2D_point_to_3D(x, y, p.data(), nullptr, &polygon) != 0 || polygon == 0) return;
    const int32_t group = OMBREL_polygon_get_group(polygon);
    if (group == 0) return;
    if (father(group) != 0) {
        PickedEntityType = SelGroup;
        PickedEntityHandle = GetTopMostFatherGrpExcludingRootGrp(group);
        return;
    }
    if (int32_t cam = cameraOfMarker(group)) {
        PickedEntityType = SelCamera;
        PickedEntityHandle = cam;
    }
    if (int32_t light = lightOfMarker(group)) {
        PickedEntityType = SelLight;
        PickedEntityHandle = light;
    }
}

void RemoveChildGrpFromSel() {
    MultipleSelection& sel = currSel();
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) {
        const int32_t g = sel.GetGrp(i);
        if (father(g) != RootGrp) {
            sel.RemoveGrp(g);
            return;
        }
    }
}

void SelectObjsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    const Rect r{UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY};
    currSel().Reset();
    if (r.isClick()) {
        PickEntityAt(r.ux, r.uy);
        addPicked();
    } else {
        forEachHitGroup(r, [](int32_t g) {
            if (father(g) == 0) {
                addMarkerEntities(g);
            } else if (GetTopMostFatherGrp(g) == RootGrp) {
                currSel().AddGrpHandles(GetTopMostFatherGrpExcludingRootGrp(g));
            }
        });
    }
    SetSelKindFromMultiSel(true);
}

void AddObjsInRectToSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    const Rect r{UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY};
    const int32_t kind = CurrSelEntityType;
    if (kind != SelGroup && kind != SelCamera && kind != SelLight && kind != SelMultiple) currSel().Reset();
    RemoveChildGrpFromSel();
    if (r.isClick()) {
        PickEntityAt(r.ux, r.uy);
        addPicked();
    } else {
        forEachHitGroup(r, [](int32_t g) {
            const int32_t top = GetTopMostFatherGrp(g);
            if (top == RootGrp) currSel().AddGrpHandles(g);
            else if (top == 0) addMarkerEntities(g);
            else currSel().AddGrpHandles(top);
        });
    }
    SetSelKindFromMultiSel();
}

void RemoveObjsInRectFromSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX,
                             int32_t LowerCornerY) {
    const Rect r{UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY};
    if (r.isClick()) {
        PickEntityAt(r.ux, r.uy);
        if (PickedEntityType == SelGroup) {
            const int32_t top = GetTopMostFatherGrp(PickedEntityHandle);
            if (top == RootGrp) currSel().RemoveGrp(PickedEntityHandle);
            else if (top != 0) currSel().RemoveGrp(top);
        } else if (PickedEntityType == SelCamera) {
            currSel().RemoveCam(PickedEntityHandle);
        } else if (PickedEntityType == SelLight) {
            // As the rubber band does.
            currSel().RemoveLight(PickedEntityHandle);
        }
    } else {
        forEachHitGroup(r, [](int32_t g) {
            const int32_t top = GetTopMostFatherGrp(g);
            if (top == RootGrp) currSel().RemoveGrp(g);
            else if (top == 0) removeMarkerEntities(g);
            else currSel().RemoveGrp(top);
        });
    }
    SetSelKindFromMultiSel();
}

void SelectMultipleObjects() {
    if (CurrToolMode != ToolSelect) return;
    int32_t ux = 0, uy = 0, lx = 0, ly = 0;
    SetUpperAndLowerCorners(ux, uy, lx, ly);
    if (platform::isKeyHeld(platform::vk::Control)) AddObjsInRectToSel(ux, uy, lx, ly);
    else if (platform::isKeyHeld(platform::vk::Shift)) RemoveObjsInRectFromSel(ux, uy, lx, ly);
    else SelectObjsInRect(ux, uy, lx, ly);
    ComputeSelObjsAvgCenter();
}

void ValidateChangedPolygons() {
    const int32_t group = CurrSelEntityHandle;
    for (int32_t pol = OMBREL_group_get_first_polygon(group); pol != 0;
         pol = OMBREL_group_get_next_polygon(group, pol))
        OMBREL_polygon_is_valid(pol);
}

int32_t GetClickedGroup(float x, float y) {
    Point3d p = {0, 0, 0};
    int32_t polygon = 0;
    const auto px = static_cast<int32_t>(std::nearbyint(x)), py = static_cast<int32_t>(std::nearbyint(y));
    if (OMBREL_engine_2D_point_to_3D(px, py, p.data(), nullptr, &polygon) != 0 || polygon == 0) return 0;
    return OMBREL_polygon_get_group(polygon);
}

void DrawSelRectForKeyState(int button, float x, float y) {
    if (button != 1) return;
    if (platform::isKeyHeld(platform::vk::Control)) DrawSelectionRect(x, y, 0, 255, 0);
    else if (platform::isKeyHeld(platform::vk::Shift)) DrawSelectionRect(x, y, 255, 0, 0);
    else DrawSelectionRect(x, y, 255, 255, 0);
}

void DrawSelectionRect(float x, float y, uint8_t red, uint8_t green, uint8_t blue) {
    const auto& h = core::windowHooks();
    const int view = h.activeView ? h.activeView() : 0;
    platform::TransientLayer* layer = h.viewTransientLayer ? h.viewTransientLayer(view) : nullptr;
    if (!layer) return;
    // The layer holds only the band, so wiping it wipes the previous band without
    // a render.
    layer->clear();
    platform::DeviceContext& dc = layer->dc();
    const platform::GdiObject pen = platform::CreatePen(platform::PS_DASHDOT, 1, platform::rgb(red, green, blue));
    const platform::GdiObject old = platform::SelectObject(dc, pen);
    const int x0 = static_cast<int>(std::lround(MouseDownX)), y0 = static_cast<int>(std::lround(MouseDownY));
    const int x1 = static_cast<int>(std::lround(x)), y1 = static_cast<int>(std::lround(y));
    platform::MoveToEx(dc, x0, y0);
    platform::LineTo(dc, x1, y0);
    platform::LineTo(dc, x1, y1);
    platform::LineTo(dc, x0, y1);
    platform::LineTo(dc, x0, y0);
    platform::SelectObject(dc, old);
    platform::DeleteObject(pen);
    core::callHook(h.transientLayerChanged, view);
}

}  // namespace Globals
