// One undo record: an action code and the one typed action it names. Only the
// field of the record's code is ever filled (by SetActionObjects); the undo stack
// owns the record once pushed and releases it exactly once, when it leaves the
// history.
#pragma once

#include "ActionCodes.h"
#include "ActionList.h"
#include "AlignAction.h"
#include "ChangeFatherAction.h"
#include "CreationDeletionActions.h"
#include "HideActions.h"
#include "UngroupAction.h"
#include "ObjectTransformActions.h"
#include "PointPolygonTransformActions.h"
#include "SelectionActions.h"
#include "TrackPointTransformActions.h"
#include "TextureActions.h"
#include "RenameAction.h"
#include "GroupTogatherAction.h"
#include "ReplaceGrpAction.h"
#include "TextureCoordsActions.h"
#include "PolygonPropertyActions.h"
#include "DetachPolsAction.h"
#include "ExtrudeBevelCutActions.h"
#include "FogAction.h"

#include <cstdint>
#include <memory>
#include <type_traits>

// Action classes whose subsystems have not recorded them yet.
#define TALVORA_DECLARE_UNBUILT(field, cls, code, built) class cls;
TALVORA_UNDO_ACTIONS(TALVORA_DECLARE_UNBUILT)
#undef TALVORA_DECLARE_UNBUILT

// The field of an action class that is not built yet: never holds an action.
template <class Action>
struct NotBuilt {
    explicit operator bool() const { return false; }
};

template <class Action, bool Built>
using ActionField = std::conditional_t<Built, std::unique_ptr<Action>, NotBuilt<Action>>;

class ActionUndoRedo {
public:
    ActionUndoRedo() = default;
    ~ActionUndoRedo();
    ActionUndoRedo(const ActionUndoRedo&) = delete;
    ActionUndoRedo& operator=(const ActionUndoRedo&) = delete;

    int32_t ActionType = 0;

#define TALVORA_DECLARE_FIELD(field, cls, code, built) ActionField<cls, built> field;
    TALVORA_UNDO_ACTIONS(TALVORA_DECLARE_FIELD)
#undef TALVORA_DECLARE_FIELD

    // Creates the action that ActionType names; codes without a class (9, 25, not
    // built, outside 1..42) create nothing.
    void SetActionObjects();
    // A record of the code with its action created.
    static std::unique_ptr<ActionUndoRedo> New(int32_t code);

    // The named action's Undo or Redo; nothing for a record without an action.
    void UndoAction();
    void RedoAction();

    // Whether the named action keeps this bitmap or animation handle, and the
    // handle replaced by another in it (a bitmap reloaded under a new handle).
    // Actions that keep no such handles answer false and change nothing.
    bool NamesHandle(int32_t handle) const;
    void ReplaceHandle(int32_t from, int32_t to);

    // Empties the named field, finishing the action's deferred work. Runs once;
    // later calls and the destructor do nothing more. Errors rise to the caller.
    void Release();
    bool IsReleased() const { return released_; }

private:
    bool released_ = false;
};
