// The undo record of moving groups under another father: Remove From Group (one
// group to the top level) and attaching groups under a chosen group.
#pragma once

#include <cstdint>
#include <vector>

class ActionChangeFatherGrp {
public:
    // The groups go back under their former fathers.
    void Undo();
    // They go under the new father again.
    void Redo();
    // One moved group with its former father, the new father and the flag: a
    // non-zero flag selects the former father after Undo and the group after
    // Redo (Remove From Group), 0 the new father both times (attach).
    void SetParameters(int32_t oldFather, int32_t newFather, int32_t group, int32_t flag);
    // Another group the same command moved under the same new father.
    void AddMovedGrp(int32_t group, int32_t oldFather);

private:
    struct Move {
        int32_t Group = 0;
        int32_t OldFather = 0;
    };
    void SelectGroup(int32_t group) const;

    std::vector<Move> Moved;
    int32_t NewFather = 0;
    int32_t Flag = 0;
};
