// The undo record of grouping the selected groups under a new group. It keeps
// the new group by handle and each child with its former father, so Undo and
// Redo move exactly these groups, whatever names other groups carry.
#pragma once

#include <cstdint>
#include <vector>

class ActionGroupTogather {
public:
    // Every child goes back under its former father at its former place; the new
    // group leaves the world (fake-deleted) and the children are selected.
    void Undo();
    // The same new group comes back under the root group, the children go under
    // it again and it is selected.
    void Redo();
    // Before the grouping: the groups it moves (those of CurrMultiSel whose
    // ancestors are not selected too), each with its father.
    void SetChildGrpsToCurrGrpSelection();
    // After it: the group made to hold them.
    void SetNewFatherGrp(int32_t group);
    // A grouping that stays undone can never come back: its group goes.
    void Release();

    bool IsUndone() const { return Undone; }
    int32_t NewFatherGrp() const { return NewFather; }
    int32_t ChildCount() const { return static_cast<int32_t>(Children.size()); }

private:
    struct Child {
        int32_t Group = 0;
        int32_t Father = 0;
        int32_t Place = -1;  // among the father's children, before the grouping
    };
    std::vector<Child> Children;
    int32_t NewFather = 0;
    bool NewFatherHidden = false;
    bool Undone = false;
};
