#include "ViewRedraw.h"

#include "PicWindow.h"
#include "ViewOverlays.h"

#include "core/Globals.h"
#include "core/PointSelection.h"
#include "core/PolygonSelection.h"
#include "ombrel.h"
#include "platform/error_trap.h"

#include <array>

namespace views {
namespace {

ViewHost* g_host = nullptr;
uint64_t g_paints = 0;
std::array<uint64_t, 4> g_lastPaint{};

void makeCurrent(int index) { OMBREL_camera_set_current(SceneCamera(index), g_host->View(index).hWnd()); }

// The overlays, each over the ones before it.
void drawOverlays(int index) {
    DrawBDBoxOrWire(index);
    DrawGizmo(index);
    DrawGrpPts(index);
    Globals::DrawSelectedPts(index);
    Globals::DrawSelectedPols(index);
    DrawSelTrack(index);
    DrawSelectedTrackPts(index);
    DrawNewTrack(index);
}

}  // namespace

void setViewHost(ViewHost* host) { g_host = host; }

ViewHost& viewHost() { return *g_host; }

uint64_t LastPaintSerial(int index) {
    return index >= 0 && index < 4 ? g_lastPaint[static_cast<std::size_t>(index)] : 0;
}

}  // namespace views

void UpdateCameras() {
    using views::g_host;
    if (!g_host || !g_host->IsWorldLoaded()) return;
    const int active = g_host->ActiveView();
    if (g_host->IsViewMaximized()) {
        views::makeCurrent(active);
        picWindow_Paint(active);
        return;
    }
    for (int i = 0; i < 4; ++i) {
        if (i == active) continue;
        views::makeCurrent(i);
        picWindow_Paint(i);
    }
    views::makeCurrent(active);
    picWindow_Paint(active);
}

void UpdateCamerasSingle(int Index) { picWindow_Paint(Index); }

void picWindow_Paint(int Index) {
    using views::g_host;
    if (Globals::AppTerminating || !g_host) return;
    platform::runTrapped(g_host->TrapOwner(), [Index] {
        if (!g_host->IsWorldLoaded()) return;
        PicWindow& view = g_host->View(Index);
        if (view.Area() == 0) return;
        views::makeCurrent(Index);
        views::drawOverlays(Index);
        if (OMBREL_engine_copy_image_from_dc_to_screen() != 0) views::EngineFailed("The view could not be shown");
        views::g_lastPaint[static_cast<std::size_t>(Index)] = ++views::g_paints;
        views::makeCurrent(g_host->ActiveView());
    });
}
