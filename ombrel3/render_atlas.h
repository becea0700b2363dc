// The light-map atlas's pages as textures of the current GL context.
#pragma once

#include "lightmap_atlas.h"

#include <cstdint>
#include <vector>

namespace ombrel {

class AtlasTextures {
public:
    // Brings the textures up to date with the atlas: new and grown pages whole, the
    // cells added since otherwise. storage: the context makes textures with exactly
    // the levels asked for.
    void update(LightMapAtlas& atlas, bool storage);
    // The page's texture name, and one over its size (its coordinates are in texels).
    uint32_t name(int page) const { return pages_[static_cast<std::size_t>(page)].name; }
    float scaleX(int page) const;
    float scaleY(int page) const;
    // The context went, and its textures with it.
    void forget() { pages_.clear(); }

private:
    struct Page {
        uint32_t name = 0;
        int height = 0;
    };
    std::vector<Page> pages_;
};

}  // namespace ombrel
