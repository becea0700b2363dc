#include "LinkedList.h"

#include "CoreError.h"

int32_t LinkedList::allocate(int32_t value) {
    if (!free_.empty()) {
        int32_t node = free_.back();
        free_.pop_back();
        nodes_[static_cast<std::size_t>(node)] = {value, kNone};
        return node;
    }
    nodes_.push_back({value, kNone});
    return static_cast<int32_t>(nodes_.size() - 1);
}

void LinkedList::release(int32_t node) { free_.push_back(node); }

void LinkedList::Append(int32_t lngData) {
    int32_t node = allocate(lngData);
    if (head_ == kNone) {
        head_ = node;
    } else if (curr_ != kNone) {
        // Keep what followed the current node behind the new one, so the list
        // never loses nodes even when the caller appends mid-list.
        nodes_[static_cast<std::size_t>(node)].next = nodes_[static_cast<std::size_t>(curr_)].next;
        nodes_[static_cast<std::size_t>(curr_)].next = node;
        prev_ = curr_;
    } else {
        // Walked past the end: append after the last node.
        int32_t last = head_;
        while (nodes_[static_cast<std::size_t>(last)].next != kNone) last = nodes_[static_cast<std::size_t>(last)].next;
        nodes_[static_cast<std::size_t>(last)].next = node;
        prev_ = last;
    }
    curr_ = node;
    ++count_;
}

void LinkedList::DeleteCurr() {
    if (curr_ == kNone) return;
    int32_t next = nodes_[static_cast<std::size_t>(curr_)].next;
    if (curr_ == head_)
        head_ = next;
    else if (prev_ != kNone)
        nodes_[static_cast<std::size_t>(prev_)].next = next;
    release(curr_);
    curr_ = next;
    --count_;
}

void LinkedList::FindAndDelete(int32_t DataItem) {
    SetCurrToFirst();
    for (int32_t walked = 0; walked < count_ && curr_ != kNone; ++walked) {
        if (nodes_[static_cast<std::size_t>(curr_)].value == DataItem) {
            DeleteCurr();
            return;
        }
        SetCurrToNext();
    }
}

int32_t LinkedList::CurrItemData() const {
    if (curr_ == kNone) core::raiseError("The list has no current item");
    return nodes_[static_cast<std::size_t>(curr_)].value;
}

void LinkedList::SetCurrToNext() {
    if (curr_ == kNone) return;
    prev_ = curr_;
    curr_ = nodes_[static_cast<std::size_t>(curr_)].next;
}

void LinkedList::SetCurrToFirst() {
    curr_ = head_;
    prev_ = kNone;
}
