// Rotations as the rotation actions record them: steps in the order performed,
// undone from the last to the first with negated angles.
#pragma once

#include "core/CoreError.h"

#include <cstdint>
#include <string>
#include <vector>

struct RotationStep {
    double Angle = 0;   // degrees
    int32_t Axis = 0;   // 0 x, 1 y, 2 z
};

class RotationSteps {
public:
    void AddRotation(double angle, int32_t axis) { steps_.push_back({angle, axis}); }
    int32_t NumOfRotations() const { return static_cast<int32_t>(steps_.size()); }
    // Step i, i from 1.
    const RotationStep& Rotation(int32_t i) const {
        if (i < 1 || i > NumOfRotations()) core::raiseError("Rotation step " + std::to_string(i) + " does not exist");
        return steps_[static_cast<std::size_t>(i - 1)];
    }

    // Undo order: last to first, negated.
    template <class Turn>
    void forEachUndone(Turn turn) const {
        for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) turn(-it->Angle, it->Axis);
    }
    template <class Turn>
    void forEachRedone(Turn turn) const {
        for (const RotationStep& s : steps_) turn(s.Angle, s.Axis);
    }

private:
    std::vector<RotationStep> steps_;
};
