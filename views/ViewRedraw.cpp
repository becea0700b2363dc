#include "ViewRedraw.h"

#include "PicWindow.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/error_trap.h"

#include <string>

namespace views {
namespace {

ViewHost* g_host = nullptr;

int32_t sceneCamera(int index) {
    const auto& camera = Globals::ViewCams[static_cast<std::size_t>(index)];
    return camera ? camera->lngSceneCamera : 0;
}

void makeCurrent(int index) {
    OMBREL_camera_set_current(sceneCamera(index), g_host->View(index).hWnd());
}

[[noreturn]] void engineFailed(const char* what) {
    const char* reason = OMBREL_ext_get_last_error();
    throw platform::EditorError(std::string(what) + ": " + (reason && *reason ? reason : "the engine gave no reason"));
}

// Renders the view into its buffer; the overlays that come with the selection
// tools draw on OverlayDC after this.
void DrawBDBoxOrWire(int index) {
    PicWindow& view = g_host->View(index);
    if (OMBREL_engine_render_on_dc(view.hWnd(), sceneCamera(index)) == 0) engineFailed("The view could not be rendered");
    Globals::OverlayDC = &view.dc();
    view.transient().clear();
    view.MarkRendered();
}

}  // namespace

void setViewHost(ViewHost* host) { g_host = host; }

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
        views::DrawBDBoxOrWire(Index);
        if (OMBREL_engine_copy_image_from_dc_to_screen() != 0) views::engineFailed("The view could not be shown");
        views::makeCurrent(g_host->ActiveView());
    });
}
