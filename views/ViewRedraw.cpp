#include "ViewRedraw.h"

#include "PicWindow.h"
#include "ViewOverlays.h"

#include "core/BoundingBox.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/PointSelection.h"
#include "core/PolygonSelection.h"
#include "ombrel.h"
#include "ombrel_views.h"
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

// Every edit of a group's points or polygons, and each Undo and Redo of one,
// ends in a redraw: the boxes are read again here, once per redraw, so none of
// them keeps a shape that is gone. The engine keeps each group's box until its
// geometry changes, so a selection left alone costs two look-ups a group.
void refreshSelectionBoxes() {
    using namespace Globals;
    if (CurrSelEntityType == SelGroup && SelGrpBndBox &&
        OMBREL_ext_handle_kind(CurrSelEntityHandle) == OMBREL_KIND_GROUP)
        SelGrpBndBox->Initialize(CurrSelEntityHandle);
    else if (CurrSelEntityType == SelMultiple && CurrMultiSel)
        CurrMultiSel->InitializeBndBoxes();
}

void paint(int Index, bool refresh) {
    if (Globals::AppTerminating || !g_host) return;
    platform::runTrapped(g_host->TrapOwner(), [Index, refresh] {
        if (!g_host->IsWorldLoaded()) return;
        PicWindow& view = g_host->View(Index);
        if (view.Area() == 0) return;
        if (refresh) refreshSelectionBoxes();
        makeCurrent(Index);
        drawOverlays(Index);
        if (OMBREL_ext_copy_dc_to_screen(view.hWnd()) != 0) EngineFailed("The view could not be shown");
        g_lastPaint[static_cast<std::size_t>(Index)] = ++g_paints;
        makeCurrent(g_host->ActiveView());
    });
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
    if (Globals::AppTerminating) return;
    views::refreshSelectionBoxes();
    const int active = g_host->ActiveView();
    if (g_host->IsViewMaximized()) {
        views::makeCurrent(active);
        views::paint(active, false);
        return;
    }
    // The active view last, so that it stays the engine's current one.
    std::array<int, 4> order{};
    int painted = 0;
    for (int i = 0; i < 4; ++i)
        if (i != active) order[static_cast<std::size_t>(painted++)] = i;
    order[static_cast<std::size_t>(painted++)] = active;
    std::array<int, 4> shown{};
    int visible = 0;
    for (int i : order)
        if (g_host->View(i).Area() != 0) shown[static_cast<std::size_t>(visible++)] = i;
    views::RenderViewsAhead(shown.data(), visible);
    for (int i : order) {
        views::makeCurrent(i);
        views::paint(i, false);
    }
    views::ForgetViewsAhead();
}

void UpdateCamerasSingle(int Index) { picWindow_Paint(Index); }

void picWindow_Paint(int Index) { views::paint(Index, true); }
