// Which bitmaps a command may take back out of the world: those it loaded itself
// that nothing keeps any more. A bitmap is kept by a polygon, a background, an
// animation frame, a node of the textures tree or a record of the undo history.
#pragma once

#include <cstdint>
#include <vector>

namespace undo {

// The bitmaps loaded now, in the engine's order.
std::vector<int32_t> LoadedBitmaps();

// Unloads every listed bitmap that is still loaded and kept by nothing; returns
// those it unloaded.
std::vector<int32_t> UnloadUnusedBitmaps(const std::vector<int32_t>& bitmaps);

// The bitmaps loaded now that were not among those loaded before.
std::vector<int32_t> BitmapsLoadedSince(const std::vector<int32_t>& before);

}  // namespace undo
