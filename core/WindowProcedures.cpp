#include "WindowProcedures.h"

#include "WindowHooks.h"

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

bool IsPointEditing() { return editingGeometry("Point"); }
bool IsPolygonEditing() { return editingGeometry("Polygon"); }

bool IsTextureMappingLoaded() {
    const auto& hook = core::windowHooks().textureMappingLoaded;
    return hook && hook();
}

}  // namespace Globals
