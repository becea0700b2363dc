#include "UndoRedoCommands.h"

#include "ActionUndoRedo_Stack.h"
#include "DragInProgress.h"
#include "SharedObjects.h"

#include "core/Globals.h"
#include "core/WindowProcedures.h"
#include "platform/error_trap.h"

#include <cstdio>
#include <exception>

namespace undo {
namespace {

// Ends the wait state on every way out; on the normal way its failure rises to
// the trap like any other.
class WaitState {
public:
    WaitState() { Globals::SetMousePtrToHourGlass(false); }
    ~WaitState() {
        if (ended_) return;
        try {
            Globals::SetMousePtrToHourGlass(true);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "Ending the wait state failed: %s\n", e.what());
        }
    }
    WaitState(const WaitState&) = delete;
    WaitState& operator=(const WaitState&) = delete;

    void end() {
        ended_ = true;
        Globals::SetMousePtrToHourGlass(true);
    }

private:
    bool ended_ = false;
};

void runCommand(QWidget* owner, ActionUndoRedo* (ActionUndoRedo_Stack::*take)(),
                void (ActionUndoRedo::*apply)()) {
    platform::runTrapped(owner, [&] {
        // The drag's record is not complete until the release.
        if (IsTransformDragInProgress()) return;
        ActionUndoRedo* record = (Shared(Globals::UndoRedoStack, "The undo history").*take)();
        if (!record) return;
        WaitState wait;
        (record->*apply)();
        Globals::UpdateCameras();
        wait.end();
    });
}

}  // namespace

void UndoCommand(QWidget* owner) { runCommand(owner, &ActionUndoRedo_Stack::Pop, &ActionUndoRedo::UndoAction); }
void RedoCommand(QWidget* owner) { runCommand(owner, &ActionUndoRedo_Stack::GetRedoObj, &ActionUndoRedo::RedoAction); }

}  // namespace undo
