#include "ActionUndoRedo.h"

#include "platform/error_trap.h"

#include <cstdio>
#include <exception>

namespace {

template <class A>
void create(std::unique_ptr<A>& field) {
    field = std::make_unique<A>();
}
template <class A>
void create(NotBuilt<A>&) {}

template <class A>
void undoOf(std::unique_ptr<A>& field) {
    if (field) field->Undo();
}
template <class A>
void undoOf(NotBuilt<A>&) {}

template <class A>
void redoOf(std::unique_ptr<A>& field) {
    if (field) field->Redo();
}
template <class A>
void redoOf(NotBuilt<A>&) {}

// The field is emptied first, so the action is gone from the record even when its
// deferred work fails part way.
template <class A>
void releaseOf(std::unique_ptr<A>& field) {
    std::unique_ptr<A> action = std::move(field);
    if (!action) return;
    if constexpr (requires { action->Release(); }) action->Release();
}
template <class A>
void releaseOf(NotBuilt<A>&) {}

}  // namespace

#define TALVORA_CASE(field, cls, code, built, call) \
    case code: call(field); break;

void ActionUndoRedo::SetActionObjects() {
    switch (ActionType) {
#define X(field, cls, code, built) TALVORA_CASE(field, cls, code, built, create)
        TALVORA_UNDO_ACTIONS(X)
#undef X
    default: break;
    }
}

std::unique_ptr<ActionUndoRedo> ActionUndoRedo::New(int32_t code) {
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = code;
    record->SetActionObjects();
    return record;
}

void ActionUndoRedo::UndoAction() {
    switch (ActionType) {
#define X(field, cls, code, built) TALVORA_CASE(field, cls, code, built, undoOf)
        TALVORA_UNDO_ACTIONS(X)
#undef X
    default: break;
    }
}

void ActionUndoRedo::RedoAction() {
    switch (ActionType) {
#define X(field, cls, code, built) TALVORA_CASE(field, cls, code, built, redoOf)
        TALVORA_UNDO_ACTIONS(X)
#undef X
    default: break;
    }
}

void ActionUndoRedo::Release() {
    if (released_) return;
    released_ = true;
    switch (ActionType) {
#define X(field, cls, code, built) TALVORA_CASE(field, cls, code, built, releaseOf)
        TALVORA_UNDO_ACTIONS(X)
#undef X
    default: break;
    }
}

ActionUndoRedo::~ActionUndoRedo() {
    // A record dropped without the stack (never pushed, or the program ending)
    // still finishes its action; a destructor cannot raise, so a failure is only
    // recorded.
    try {
        Release();
    } catch (const std::exception& e) {
        LastErrDescription = e.what();
        std::fprintf(stderr, "Releasing an undo record failed: %s\n", e.what());
    }
}
