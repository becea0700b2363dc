#include "ActionUndoRedo_Stack.h"

#include "SharedObjects.h"

#include <exception>

namespace {

// Releases each record in turn; every one is released even when an earlier one
// fails, and the first failure rises afterwards.
void releaseAll(std::vector<std::unique_ptr<ActionUndoRedo>>& records) {
    std::exception_ptr failure;
    for (auto& r : records) {
        if (!r) continue;
        try {
            r->Release();
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
        r.reset();
    }
    records.clear();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace

ActionUndoRedo_Stack::ActionUndoRedo_Stack() : Actions(1) {}

void ActionUndoRedo_Stack::setUndoVisible(bool v) const {
    if (menu_.setUndoVisible) menu_.setUndoVisible(v);
}
void ActionUndoRedo_Stack::setRedoVisible(bool v) const {
    if (menu_.setRedoVisible) menu_.setRedoVisible(v);
}

void ActionUndoRedo_Stack::DiscardRedoActions() {
    if (CurrIndx < 1) CurrIndx = 1;
    if (CurrIndx == 1) return;
    // Keep the undo part (CurrIndx..last) at 1..n; the redo records go.
    std::vector<std::unique_ptr<ActionUndoRedo>> discarded;
    for (int32_t i = 1; i < CurrIndx && i <= lastIndex(); ++i)
        discarded.push_back(std::move(Actions[static_cast<std::size_t>(i)]));
    Actions.erase(Actions.begin() + 1, Actions.begin() + std::min<int32_t>(CurrIndx, lastIndex() + 1));
    CurrIndx = 1;
    releaseAll(discarded);
}

void ActionUndoRedo_Stack::Push(std::unique_ptr<ActionUndoRedo> record) {
    std::exception_ptr failure;
    try {
        DiscardRedoActions();
    } catch (...) {
        failure = std::current_exception();
    }
    if (lastIndex() + 1 > MaxRecords) {
        std::vector<std::unique_ptr<ActionUndoRedo>> oldest;
        while (lastIndex() + 1 > MaxRecords) {
            oldest.push_back(std::move(Actions.back()));
            Actions.pop_back();
        }
        try {
            releaseAll(oldest);
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    Actions.insert(Actions.begin() + 1, std::move(record));
    CurrIndx = 1;
    setUndoVisible(true);
    setRedoVisible(false);
    if (failure) std::rethrow_exception(failure);
}

ActionUndoRedo* ActionUndoRedo_Stack::Pop() {
    if (CurrIndx < 1) CurrIndx = 1;
    if (CurrIndx > lastIndex()) {
        setUndoVisible(false);
        return nullptr;
    }
    ActionUndoRedo* record = at(CurrIndx);
    ++CurrIndx;
    if (CurrIndx > lastIndex()) setUndoVisible(false);
    setRedoVisible(true);
    return record;
}

ActionUndoRedo* ActionUndoRedo_Stack::Retrive() const {
    const int32_t i = CurrIndx < 1 ? 1 : CurrIndx;
    return i <= lastIndex() ? at(i) : nullptr;
}

ActionUndoRedo* ActionUndoRedo_Stack::GetRedoObj() {
    --CurrIndx;
    if (CurrIndx < 1 || CurrIndx > lastIndex()) {
        setRedoVisible(false);
        return nullptr;
    }
    ActionUndoRedo* record = at(CurrIndx);
    if (CurrIndx == 1) setRedoVisible(false);
    setUndoVisible(true);
    return record;
}

void ActionUndoRedo_Stack::Reset() {
    std::vector<std::unique_ptr<ActionUndoRedo>> all;
    for (int32_t i = lastIndex(); i >= 1; --i) all.push_back(std::move(Actions[static_cast<std::size_t>(i)]));
    Actions.clear();
    Actions.resize(1);
    CurrIndx = 1;
    releaseAll(all);
}

void ActionUndoRedo_Stack::ResetHistory() {
    setUndoVisible(false);
    setRedoVisible(false);
    Reset();
}

void ActionUndoRedo_Stack::VisitRecords(const std::function<void(ActionUndoRedo& record)>& visit) {
    for (int32_t i = 1; i <= lastIndex(); ++i)
        if (ActionUndoRedo* record = at(i)) visit(*record);
}

bool ActionUndoRedo_Stack::AnyRecordNames(int32_t handle) {
    bool named = false;
    VisitRecords([&](ActionUndoRedo& record) { named = named || record.NamesHandle(handle); });
    return named;
}

void ActionUndoRedo_Stack::ReplaceHandleInRecords(int32_t from, int32_t to) {
    VisitRecords([&](ActionUndoRedo& record) { record.ReplaceHandle(from, to); });
}

void undo::Push(std::unique_ptr<ActionUndoRedo> record) {
    Shared(Globals::UndoRedoStack, "The undo history").Push(std::move(record));
}
