#include "BitmapUse.h"

#include "ActionUndoRedo_Stack.h"
#include "EngineLists.h"

#include "core/Globals.h"
#include "core/WindowHooks.h"

#include "ombrel.h"

#include <unordered_set>

namespace undo {
namespace {

bool loaded(int32_t bitmap) { return bitmap != 0 && OMBREL_ext_handle_kind(bitmap) == OMBREL_KIND_BITMAP; }

// Those of the bitmaps a polygon, background or animation frame of the world
// uses, in one walk of each (a world may hold hundreds of thousands of polygons).
std::unordered_set<int32_t> usedInWorld(const std::unordered_set<int32_t>& bitmaps) {
    std::unordered_set<int32_t> used;
    auto note = [&](int32_t bitmap) {
        if (bitmaps.count(bitmap) != 0) used.insert(bitmap);
    };
    // Polygons of groups waiting in the history are walked too: Undo brings them back.
    for (int32_t p = OMBREL_group_get_first_polygon(0); p != 0; p = OMBREL_polygon_get_next(p))
        note(OMBREL_polygon_get_bitmap_handle(p));
    for (int32_t b = OMBREL_background_get_first_background(); b != 0; b = OMBREL_background_get_next(b))
        note(OMBREL_background_get_bitmap(b));
    for (int32_t a = OMBREL_animation_get_first_animation(); a != 0; a = OMBREL_animation_get_next(a))
        for (int32_t d = 1; d <= 5; ++d)
            for (int32_t i = 0;; ++i) {
                const int32_t frame = OMBREL_animation_get_bitmap(a, d, i);
                if (frame == 0) break;
                note(frame);
            }
    return used;
}

}  // namespace

std::vector<int32_t> LoadedBitmaps() { return ListedHandles(OMBREL_bitmap_get_first_bitmap, OMBREL_bitmap_get_next); }

std::vector<int32_t> BitmapsLoadedSince(const std::vector<int32_t>& before) {
    return Newcomers(LoadedBitmaps(), before);
}

std::vector<int32_t> UnloadUnusedBitmaps(const std::vector<int32_t>& bitmaps) {
    std::unordered_set<int32_t> candidates;
    for (int32_t b : bitmaps)
        if (loaded(b)) candidates.insert(b);
    if (candidates.empty()) return {};
    const std::unordered_set<int32_t> used = usedInWorld(candidates);
    const auto& listed = core::windowHooks().textureListed;
    std::vector<int32_t> unloaded;
    for (int32_t b : bitmaps) {
        if (candidates.count(b) == 0 || used.count(b) != 0) continue;
        if (listed && listed(b)) continue;
        if (Globals::UndoRedoStack && Globals::UndoRedoStack->AnyRecordNames(b)) continue;
        candidates.erase(b);  // listed twice, unloaded once
        OMBREL_bitmap_unload(b);
        unloaded.push_back(b);
    }
    return unloaded;
}

}  // namespace undo
