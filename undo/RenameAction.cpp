#include "RenameAction.h"

#include "core/CoreError.h"
#include "core/Globals.h"
#include "core/StringProcedures.h"
#include "core/WindowHooks.h"

#include "ombrel.h"

namespace {

bool isRenameKind(int32_t kind) {
    return kind == SelGroup || kind == SelCamera || kind == SelTrack || kind == SelLight || kind == SelBackground ||
           kind == SelPolygon;
}

}  // namespace

void RenameInEngine(int32_t kind, int32_t handle, const char* name) {
    switch (kind) {
    case SelGroup: OMBREL_group_set_name(handle, name); break;
    case SelCamera: OMBREL_camera_set_name(handle, name); break;
    case SelTrack: OMBREL_track_set_name(handle, name); break;
    case SelLight: OMBREL_light_set_name(handle, name); break;
    case SelBackground: OMBREL_background_set_name(handle, name); break;
    case SelPolygon: OMBREL_polygon_set_name(handle, name); break;
    default: break;
    }
}

// The panel fields show one group, one background or one polygon; another
// entity's rename must not write its name there, where Enter would give it to the
// one shown.
bool NameFieldShows(int32_t kind, int32_t handle) {
    using namespace Globals;
    if (kind == SelGroup || kind == SelBackground) return CurrSelEntityType == kind && CurrSelEntityHandle == handle;
    if (kind == SelPolygon) return NumSelPols == 1 && SelPols[1] == handle;
    return false;
}

void ActionRenameEntity::SetEntityRenamed(int32_t EntityType, int32_t Handle) {
    kind_ = EntityType;
    handle_ = Handle;
}

void ActionRenameEntity::SetPrevName(const std::string& Name) { prevName_ = Globals::Trim(Name); }

void ActionRenameEntity::SetNewName(const std::string& Name) { newName_ = Globals::Trim(Name); }

void ActionRenameEntity::Undo() { apply(prevName_); }

void ActionRenameEntity::Redo() { apply(newName_); }

void ActionRenameEntity::apply(const std::string& name) const {
    if (!isRenameKind(kind_)) return;
    const auto& hooks = core::windowHooks();
    const bool hasNode = hooks.setEntityNodeText ? hooks.setEntityNodeText(kind_, handle_, name) : true;
    // Polygon nodes do not come back with their polygons, so a missing one is
    // passed over; any other entity's node must be there.
    if (!hasNode && kind_ != SelPolygon) core::raiseError("Element not found");
    if (NameFieldShows(kind_, handle_)) core::callHook(hooks.setEntityNameField, kind_, name);
    RenameInEngine(kind_, handle_, name.c_str());
}
