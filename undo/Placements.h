// Where entities and points stood, read exactly: a rotation or a scaling is
// given back by writing these numbers again, not by turning or scaling by the
// inverse, whose rounding would leave -49.999999999999986 where -50 was.
#pragma once

#include "core/CoreTypes.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace undo {

class Placements {
public:
    // A group (with all it holds), camera, light or track, read now.
    void AddEntity(int32_t handle);
    // One point of a group, read now.
    void AddPoint(int32_t point);
    bool Empty() const { return entities_.empty() && points_.empty(); }
    // Writes back what was read over the rounding the inverse transform left.
    // An entity that gained or lost points since, or was changed by more than
    // rounding (an edit no record holds), is left as the inverse put it.
    void Restore() const;

private:
    // Left unset until the engine writes them: a large group is gone over once.
    struct Entity {
        int32_t handle = 0;
        int32_t count = 0;
        std::unique_ptr<double[]> values;
    };
    struct Point {
        int32_t handle = 0;
        Point3d at = {0, 0, 0};
    };
    std::vector<Entity> entities_;
    std::vector<Point> points_;
};

// What a record's edit found and left, for Undo and Redo to write back after
// they have turned or scaled (which keeps the order of a mirrored polygon's
// points and every cache in step).
class PlacementPair {
public:
    void Set(Placements before, Placements after) {
        before_ = std::move(before);
        after_ = std::move(after);
    }
    void RestoreBefore() const { before_.Restore(); }
    void RestoreAfter() const { after_.Restore(); }

private:
    Placements before_, after_;
};

// A record whose Undo and Redo write back what its edit found and left.
class ExactPlacements {
public:
    void SetPlacements(Placements before, Placements after) { exact_.Set(std::move(before), std::move(after)); }

protected:
    // What Redo (after) or Undo (before) writes back.
    void WriteBack(bool after) const {
        if (after) exact_.RestoreAfter();
        else exact_.RestoreBefore();
    }

    PlacementPair exact_;
};

}  // namespace undo
