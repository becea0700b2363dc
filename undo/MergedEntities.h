// What a merged world brings besides its groups: cameras (with their markers),
// lights (with theirs), tracks, backgrounds, and the bitmaps and animations that
// only it uses. The merge's undo record takes them out of the world with its
// root group and brings them back with the same handles.
#pragma once

#include <cstdint>
#include <vector>

struct WorldEntities {
    std::vector<int32_t> Cameras, Lights, Tracks, Backgrounds, Bitmaps, Animations;

    // What the world's lists hold now (the lights, tracks and bitmaps it saves).
    static WorldEntities Listed();
    // What the world lists now that it did not list before, in list order.
    static WorldEntities AddedSince(const WorldEntities& before);
    bool Empty() const;
};

namespace undo {

// Out of the world: excluded from saving, without tree nodes, cameras' and
// lights' markers hidden and the lights switched off; the engine keeps them.
void TakeOutOfWorld(const WorldEntities& entities);
// Each step of TakeOutOfWorld reversed; the nodes come back last in their folders.
void BringBackToWorld(const WorldEntities& entities);
// Destroys them in the engine, markers included.
void DestroyForGood(const WorldEntities& entities);

}  // namespace undo
