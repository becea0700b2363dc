#include "TextureNodes.h"

#include "core/EntityProcedures.h"
#include "core/HeldOutOfWorld.h"

#include "ombrel.h"

#include <charconv>
#include <unordered_set>

namespace textures {
namespace {

int32_t handleAfter(const std::string& key, const std::string& kind) {
    if (key.size() <= kind.size() || key.compare(0, kind.size(), kind) != 0) return 0;
    int32_t handle = 0;
    const char* end = key.data() + key.size();
    const auto [rest, error] = std::from_chars(key.data() + kind.size(), end, handle);
    return error == std::errc() && rest == end ? handle : 0;
}

}  // namespace

std::string MapKey(int32_t bitmap) { return MapKind + std::to_string(bitmap); }

std::string AnimationKey(int32_t animation) { return AnimationKind + std::to_string(animation); }

TextureNode NodeOf(const std::string& parentKey, const std::string& key) {
    if (parentKey.empty()) return {TextureKind::Folder, 0};
    if (parentKey == MapFolder) return {TextureKind::Bitmap, handleAfter(key, MapKind)};
    if (parentKey == AnimationFolder) return {TextureKind::Animation, handleAfter(key, AnimationKind)};
    return {};
}

bool IsListedBitmapName(const std::string& name) {
    const std::size_t at = name.find("LIGHTMAP_");
    return at == std::string::npos || at == 0;
}

std::vector<TextureEntry> TexturesTreeEntries() {
    // Frames are found first so that the bitmaps are listed in one pass, and a
    // picture used by several frames is simply left out once.
    std::unordered_set<int32_t> frames;
    std::vector<TextureEntry> animations;
    for (int32_t a = OMBREL_animation_get_first_animation(); a != 0; a = OMBREL_animation_get_next(a)) {
        if (Globals::IsHeldOutOfWorld(a)) continue;
        animations.push_back({AnimationFolder, AnimationKey(a), Globals::GetEntityName(a)});
        for (int32_t d = 1; d <= 5; ++d)
            for (int32_t i = 0;; ++i) {
                const int32_t b = OMBREL_animation_get_bitmap(a, d, i);
                if (b == 0) break;
                frames.insert(b);
            }
    }
    std::vector<TextureEntry> entries;
    Globals::BitmapFolderListings listings;
    for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b != 0; b = OMBREL_bitmap_get_next(b)) {
        if (frames.count(b) || !IsListedBitmapName(Globals::GetEntityName(b))) continue;
        entries.push_back({MapFolder, MapKey(b), Globals::GetBitmapFileName(b, listings)});
    }
    entries.insert(entries.end(), std::make_move_iterator(animations.begin()), std::make_move_iterator(animations.end()));
    return entries;
}

}  // namespace textures
