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

template <class A>
bool namesOf(const std::unique_ptr<A>& field, int32_t handle) {
    if constexpr (requires { field->NamesHandle(handle); })
        return field && field->NamesHandle(handle);
    else
        return false;
}
template <class A>
bool namesOf(const NotBuilt<A>&, int32_t) {
    return false;
}

template <class A>
void replaceIn(std::unique_ptr<A>& field, int32_t from, int32_t to) {
    if constexpr (requires { field->ReplaceHandle(from, to); })
        if (field) field->ReplaceHandle(from, to);
}
template <class A>
void replaceIn(NotBuilt<A>&, int32_t, int32_t) {}

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

bool ActionUndoRedo::NamesHandle(int32_t handle) const {
    switch (ActionType) {
#define X(field, cls, code, built) \
    case code: return namesOf(field, handle);
        TALVORA_UNDO_ACTIONS(X)
#undef X
    default: return false;
    }
}

void ActionUndoRedo::ReplaceHandle(int32_t from, int32_t to) {
    switch (ActionType) {
#define X(field, cls, code, built) \
    case code: replaceIn(field, from, to); break;
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
