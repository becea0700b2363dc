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
    // Redo (Remove From Group), 0 the new father both times (attach). oldPlace is
    // the group's place among its former father's children right before its move
    // (-1: put it back last).
    void SetParameters(int32_t oldFather, int32_t newFather, int32_t group, int32_t flag, int32_t oldPlace = -1);
    // Another group the same command moved under the same new father, after the
    // ones already recorded.
    void AddMovedGrp(int32_t group, int32_t oldFather, int32_t oldPlace = -1);

private:
    struct Move {
        int32_t Group = 0;
        int32_t OldFather = 0;
        int32_t OldPlace = -1;
    };
    void SelectGroup(int32_t group) const;

    std::vector<Move> Moved;
    int32_t NewFather = 0;
    int32_t Flag = 0;
};
