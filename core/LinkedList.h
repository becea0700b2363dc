// A singly linked work list of 32-bit values with a current and a previous node,
// used by the point and polygon selection.
#pragma once

#include <cstdint>
#include <vector>

class LinkedList {
public:
    int32_t Count() const { return count_; }

    // Links a new node after the current one (at the head of an empty list) and
    // makes it current. Callers append while the current node is the last.
    void Append(int32_t lngData);
    // Unlinks the current node and makes its next node current; nothing without one.
    void DeleteCurr();
    // Deletes the first node holding the value, walking at most Count nodes.
    void FindAndDelete(int32_t DataItem);
    // The current node's value; raises an error when there is no current node.
    int32_t CurrItemData() const;
    void SetCurrToNext();
    void SetCurrToFirst();
    bool HasCurr() const { return curr_ != kNone; }

private:
    static constexpr int32_t kNone = -1;
    struct Node {
        int32_t value = 0;
        int32_t next = kNone;
    };

    int32_t allocate(int32_t value);
    void release(int32_t node);

    std::vector<Node> nodes_;  // node storage; released slots are reused
    std::vector<int32_t> free_;
    int32_t head_ = kNone;
    int32_t curr_ = kNone;
    int32_t prev_ = kNone;
    int32_t count_ = 0;
};
