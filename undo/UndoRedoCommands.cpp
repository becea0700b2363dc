#include "UndoRedoCommands.h"

#include "ActionUndoRedo_Stack.h"
#include "DragInProgress.h"
#include "SharedObjects.h"

#include "core/Globals.h"
#include "core/WindowProcedures.h"
#include "platform/error_trap.h"

namespace undo {
namespace {

using Globals::WaitState;

void runCommand(QWidget* owner, ActionUndoRedo* (ActionUndoRedo_Stack::*take)(),
                void (ActionUndoRedo::*apply)()) {
    platform::runTrapped(owner, [&] {
        // The drag's record is not complete until the release.
        if (IsTransformDragInProgress()) return;
        ActionUndoRedo* record = (Shared(Globals::UndoRedoStack, "The undo history").*take)();
        if (!record) return;
        WaitState wait;
        (record->*apply)();
        Globals::RefillEntityPanel();
        Globals::UpdateCameras();
        wait.end();
    });
}

}  // namespace

void UndoCommand(QWidget* owner) { runCommand(owner, &ActionUndoRedo_Stack::Pop, &ActionUndoRedo::UndoAction); }
void RedoCommand(QWidget* owner) { runCommand(owner, &ActionUndoRedo_Stack::GetRedoObj, &ActionUndoRedo::RedoAction); }

}  // namespace undo
