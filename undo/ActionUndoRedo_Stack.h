// The undo history: at most three records, newest first, and a cursor at the next
// record to undo. The stack keeps the Edit menu's Undo and Redo items visible
// exactly when there is something to undo or redo.
#pragma once

#include "ActionUndoRedo.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The Edit menu items the stack shows and hides.
inline constexpr const char* UndoMenuCaption = "&Undo";
inline constexpr const char* RedoMenuCaption = "&Redo";
inline constexpr const char* UndoMenuShortcut = "Ctrl+Z";
inline constexpr const char* RedoMenuShortcut = "Ctrl+A";

class ActionUndoRedo_Stack {
public:
    // The menu items' Visible property; either may be left empty.
    struct MenuHooks {
        std::function<void(bool visible)> setUndoVisible;
        std::function<void(bool visible)> setRedoVisible;
    };

    static constexpr int32_t MaxRecords = 3;

    ActionUndoRedo_Stack();
    ~ActionUndoRedo_Stack() = default;
    ActionUndoRedo_Stack(const ActionUndoRedo_Stack&) = delete;
    ActionUndoRedo_Stack& operator=(const ActionUndoRedo_Stack&) = delete;

    void setMenuHooks(MenuHooks hooks) { menu_ = std::move(hooks); }

    // Discards the redo part and stores the record as the newest; a record pushed
    // beyond three is released first, before this one is stored. Undo shown, Redo
    // hidden. The released records' deferred work runs here; should it fail, the
    // new record is still stored and the error rises to the caller.
    void Push(std::unique_ptr<ActionUndoRedo> record);
    // The record to undo (the stack keeps it), or nullptr.
    ActionUndoRedo* Pop();
    // The record at the cursor without moving it, or nullptr: right after Push the
    // newest record. A cursor left below 1 by redo attempts counts as 1.
    ActionUndoRedo* Retrive() const;
    // The record to redo, or nullptr; the cursor moves one record newer on every call.
    ActionUndoRedo* GetRedoObj();
    // Releases every record, oldest first; the cursor goes back to 1. The menu
    // items are left as they are.
    void Reset();
    // True while the history holds any record, done or undone.
    bool HoldsAnyRecord() const { return lastIndex() >= 1; }
    // Reset, and the Undo and Redo items hidden: nothing is left to take back.
    void ResetHistory();
    // Every record held, undo and redo parts alike, newest first.
    void VisitRecords(const std::function<void(ActionUndoRedo& record)>& visit);
    // Whether any record keeps this bitmap or animation handle.
    bool AnyRecordNames(int32_t handle);
    // The handle replaced by another in every record that keeps it.
    void ReplaceHandleInRecords(int32_t from, int32_t to);

private:
    void DiscardRedoActions();
    int32_t lastIndex() const { return static_cast<int32_t>(Actions.size()) - 1; }
    ActionUndoRedo* at(int32_t i) const { return Actions[static_cast<std::size_t>(i)].get(); }
    void setUndoVisible(bool v) const;
    void setRedoVisible(bool v) const;

    // Index 0 never holds a record; 1 is the newest.
    std::vector<std::unique_ptr<ActionUndoRedo>> Actions;
    int32_t CurrIndx = 1;
    MenuHooks menu_;
};

namespace undo {
// Pushes the record on Globals::UndoRedoStack; a history not created yet is an error.
void Push(std::unique_ptr<ActionUndoRedo> record);
}  // namespace undo
