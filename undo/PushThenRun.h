// The order of a command that records first: the record goes on the history,
// then the edit it describes runs. Pushing can release old records, whose final
// work may fail; the edit still runs, so the history never holds a record of an
// edit that was not made, and the failure rises afterwards.
#pragma once

#include "ActionUndoRedo_Stack.h"

#include "core/CoreError.h"
#include "core/Globals.h"

#include <exception>
#include <memory>

namespace undo {

template <class Edit>
void PushThenRun(std::unique_ptr<ActionUndoRedo> record, Edit edit) {
    if (!Globals::UndoRedoStack) core::raiseError("The undo history has not been created");
    std::exception_ptr failure;
    try {
        Globals::UndoRedoStack->Push(std::move(record));
    } catch (...) {
        failure = std::current_exception();
    }
    edit();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace undo
