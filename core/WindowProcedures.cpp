#include "WindowProcedures.h"

#include "WindowHooks.h"

#include <cstdio>
#include <exception>

namespace Globals {
namespace {

constexpr int kObjectPage = 1;

std::string textOf(const std::function<std::string()>& hook) { return hook ? hook() : std::string(); }

bool editingGeometry(const char* subMode) {
    const auto& h = core::windowHooks();
    return h.workspacePage && h.workspacePage() == kObjectPage && textOf(h.objModeText) == "Edit Geometry" &&
           textOf(h.editGeomText) == subMode;
}

}  // namespace

void UpdateCameras() { core::callHook(core::windowHooks().updateCameras); }
void UpdateStatusBar() { core::callHook(core::windowHooks().updateStatusBar); }
void SetMousePtrToHourGlass(bool restore) { core::callHook(core::windowHooks().setMousePtrToHourGlass, restore); }
void UpdateEditGeomTabBasedOnPolsSelected() { core::callHook(core::windowHooks().updateEditGeomTab); }
void RefillEntityPanel() { core::callHook(core::windowHooks().refillEntityPanel); }

bool IsPointEditing() { return editingGeometry("Point"); }
bool IsPolygonEditing() { return editingGeometry("Polygon"); }

bool IsTextureMappingLoaded() {
    const auto& hook = core::windowHooks().textureMappingLoaded;
    return hook && hook();
}

WaitState::WaitState() { SetMousePtrToHourGlass(false); }

WaitState::~WaitState() {
    if (ended_) return;
    try {
        SetMousePtrToHourGlass(true);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Ending the wait state failed: %s\n", e.what());
    }
}

void WaitState::end() {
    ended_ = true;
    SetMousePtrToHourGlass(true);
}

}  // namespace Globals
