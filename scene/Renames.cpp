#include "Renames.h"

#include "GroupNames.h"

#include "core/CoreError.h"
#include "core/CoreTypes.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/StringProcedures.h"
#include "core/WindowHooks.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/RenameAction.h"

#include "ombrel.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

namespace scene {
namespace {

// Renames in the engine and records it; the entity's panel field follows while
// it shows that entity.
void renameWithRecord(int32_t kind, int32_t handle, const std::string& prevName, const std::string& newName) {
    if (!Globals::UndoRedoStack) core::raiseError("The undo history has not been created");
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActRenameEntity;
    record->SetActionObjects();
    if (NameFieldShows(kind, handle)) core::callHook(core::windowHooks().setEntityNameField, kind, newName);
    ActionRenameEntity& action = *record->RenameEntity;
    action.SetPrevName(prevName);
    RenameInEngine(kind, handle, newName.c_str());
    action.SetEntityRenamed(kind, handle);
    action.SetNewName(newName);
    Globals::UndoRedoStack->Push(std::move(record));
}

}  // namespace

std::optional<std::string> RenameGroupFromLabel(int32_t group, const std::string& typed) {
    const std::string trimmed = Globals::Trim(typed);
    if (trimmed.empty() || OMBREL_group_is_group(group, 0) != 1) return std::nullopt;
    const std::string current = Globals::GetEntityName(group);
    // Its own name is no clash: a name that comes out as the current one renames
    // nothing and records nothing.
    const std::string newName = GetUniqueGrpName(trimmed, group);
    if (newName == current) return current;
    renameWithRecord(SelGroup, group, current, newName);
    return newName;
}

std::optional<std::string> RenamePolygonFromLabel(int32_t polygon, const std::string& typed) {
    if (typed.empty() || OMBREL_ext_handle_kind(polygon) != OMBREL_KIND_POLYGON) return std::nullopt;
    // The node shows the name as the engine keeps it.
    const std::string newName = Globals::StoredName(Globals::Trim(typed));
    const std::string current = Globals::GetEntityName(polygon);
    if (newName == current) return current;
    renameWithRecord(SelPolygon, polygon, current, newName);
    return newName;
}

std::optional<std::string> RenameEntityFromLabel(int32_t kind, int32_t handle, const std::string& typed) {
    static const std::pair<int32_t, int32_t> engineKinds[] = {
        {SelCamera, OMBREL_KIND_CAMERA},
        {SelTrack, OMBREL_KIND_TRACK},
        {SelLight, OMBREL_KIND_LIGHT},
        {SelBackground, OMBREL_KIND_BACKGROUND},
    };
    const auto match = std::find_if(std::begin(engineKinds), std::end(engineKinds),
                                    [kind](const auto& k) { return k.first == kind; });
    const std::string newName = Globals::StoredName(Globals::Trim(typed));
    if (newName.empty() || match == std::end(engineKinds) || OMBREL_ext_handle_kind(handle) != match->second)
        return std::nullopt;
    const std::string current = Globals::GetEntityName(handle);
    if (newName == current) return current;
    renameWithRecord(kind, handle, current, newName);
    return newName;
}

}  // namespace scene
