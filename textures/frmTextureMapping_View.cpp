// The editor's view: where the texture lies in PicMain for the zoom and the pan,
// fitting it on a resize, the pan and zoom drags and zoom extent.
#include "frmTextureMapping.h"

#include "TexturePicture.h"

#include "core/CoreTypes.h"
#include "core/Globals.h"
#include "core/Maths.h"
#include "ombrel.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Never fewer screen pixels per bitmap pixel than this.
constexpr double kMinPixelsPerTexel = 0.01;

// To whole pixels, within what the drawing can take: a huge zoom or coordinate
// must not overflow.
int32_t wholePixels(double value) {
    constexpr double limit = 1e9;
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(Maths::RoundHalfEven(std::clamp(value, -limit, limit)));
}

struct Extent {
    double minU = std::numeric_limits<double>::infinity(), minV = minU;
    double maxU = -minU, maxV = -minU;
    bool empty() const { return minU > maxU; }
    void add(int32_t point) {
        double uv[2] = {0, 0};
        OMBREL_point_get_bitmap_xy(point, uv);
        minU = std::min(minU, uv[0]);
        maxU = std::max(maxU, uv[0]);
        minV = std::min(minV, uv[1]);
        maxV = std::max(maxV, uv[1]);
    }
    void addPolygon(int32_t polygon) {
        for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt))
            add(pt);
    }
};

}  // namespace

void frmTextureMapping::FitTextureToPicture() {
    const int32_t W = PicMain->width(), H = PicMain->height();
    // Nothing to fit to while the surface has no area.
    if (W <= 0 || H <= 0) return;
    if (static_cast<double>(W) / H < TexAspect) {
        DispWidth = W;
        DispHeight = wholePixels(W / TexAspect);
    } else {
        DispHeight = H;
        DispWidth = wholePixels(H * TexAspect);
    }
    BaseScale = static_cast<double>(DispWidth) / TexWidth;
}

void frmTextureMapping::CentreTexture() {
    OriginX = PicMain->width() / 2 - DispWidth / 2;
    OriginY = PicMain->height() / 2 - DispHeight / 2;
}

void frmTextureMapping::SetupWithNewZoom() {
    DispWidth = wholePixels(BaseScale * Zoom * TexWidth);
    DispHeight = wholePixels(BaseScale * Zoom * TexHeight);
    CentreTexture();
    PicMain_Paint();
}

void frmTextureMapping::Form_Resize() {
    if (!Loaded || isMinimized()) return;
    const int32_t W = PicMain->width(), H = PicMain->height();
    // A surface shrunk to nothing keeps the view as it was, so that growing back
    // finds the pan of the last real size.
    if (W <= 0 || H <= 0) return;
    if (PrevPicWidth != 0 && PrevPicHeight != 0) {
        PanPixX = wholePixels(PanPixX * (static_cast<double>(W) / PrevPicWidth));
        PanPixY = wholePixels(PanPixY * (static_cast<double>(H) / PrevPicHeight));
    }
    PrevPicWidth = W;
    PrevPicHeight = H;
    FitTextureToPicture();
    CentreTexture();
    SetupWithNewZoom();
}

void frmTextureMapping::TexPanDrag(float X, float Y) {
    PanX += (X - LastMouseX) / Zoom;
    PanY += (Y - LastMouseY) / Zoom;
    PanPixX = wholePixels(PanX * Zoom);
    PanPixY = wholePixels(PanY * Zoom);
    SetupWithNewZoom();
    LastMouseX = X;
    LastMouseY = Y;
}

void frmTextureMapping::TexZoomDrag(float, float Y) {
    Zoom += (Y - LastMouseY) * 0.006 * Zoom;
    if (BaseScale > 0 && BaseScale * Zoom <= kMinPixelsPerTexel) Zoom = kMinPixelsPerTexel / BaseScale;
    PanPixX = wholePixels(PanX * Zoom);
    PanPixY = wholePixels(PanY * Zoom);
    SetupWithNewZoom();
    LastMouseY = Y;
}

void frmTextureMapping::TexZoomExtent() {
    using Globals::NumSelPols;
    using Globals::SelPols;
    if (SelectedOnly() && NumSelPols == 0) return;
    const bool ctrl = platform::GetAsyncKeyState(platform::vk::Control) < 0;
    Extent e;
    const TexCoordList& list = ListInUse();
    if (list.Count > 0 && !ctrl) {
        for (int32_t i = 1; i <= list.Count; ++i) e.add(list.Pts[static_cast<std::size_t>(i)]);
    } else if (SelectedOnly()) {
        for (int32_t i = 1; i <= NumSelPols; ++i) e.addPolygon(SelPols[i]);
    } else if (Globals::CurrSelEntityType == SelGroup) {
        const int32_t group = Globals::CurrSelEntityHandle;
        for (int32_t pol = OMBREL_group_get_first_polygon(group); pol != 0;
             pol = OMBREL_group_get_next_polygon(group, pol))
            e.addPolygon(pol);
    }
    if (e.empty()) return;
    const double du = e.maxU - e.minU, dv = e.maxV - e.minV;
    const double W = PicMain->width(), H = PicMain->height();
    if (du == 0 || dv == 0 || W <= 0 || H <= 0 || BaseScale <= 0) return;
    if ((TexWidth * du / dv) / TexHeight <= W / H)
        Zoom = H / dv / TexHeight;
    else
        Zoom = W / du / TexWidth;
    Zoom = Zoom / BaseScale * 0.9;
    // Coordinates spread very far apart fit only down to the smallest zoom.
    if (BaseScale * Zoom <= kMinPixelsPerTexel) Zoom = kMinPixelsPerTexel / BaseScale;
    const double cu = (1 - (e.minU + e.maxU)) / 2, cv = (1 - (e.minV + e.maxV)) / 2;
    PanPixX = wholePixels(Zoom * cu * BaseScale * TexWidth);
    PanPixY = wholePixels(Zoom * cv * BaseScale * TexHeight);
    PanX = PanPixX / Zoom;
    PanY = PanPixY / Zoom;
    SetupWithNewZoom();
}
