// Bitmaps: pictures read from files (and light maps), shared by polygons,
// animations and backgrounds.
#include "all_polygons.h"
#include "api_support.h"
#include "bitmap_lookup.h"
#include "image_io.h"
#include "lightmap.h"
#include "world_lists.h"

#include "ombrel_bitmap.h"

#include <algorithm>
#include <vector>

using namespace ombrel;

namespace {

bool validIndex(int32_t transparentIndex) { return transparentIndex >= -1 && transparentIndex <= 255; }

std::string text(const char* s) { return s ? std::string(s) : std::string(); }

// Every file bitmap of `path` shows `image` from now on; the renderer sees the new
// picture and uploads it at the next render. Handles, indices and users stay.
void showNewPicture(const World& w, const std::string& path, const std::shared_ptr<Image>& image) {
    w.bitmaps.forEach([&](int32_t h) {
        if (Bitmap* b = lookup<Bitmap>(h); b && !b->isLightMap && b->resolvedPath == path) b->image = image;
    });
}

const Image& imageOf(const Bitmap& b) {
    if (!b.image) throw ApiError("bitmap has no picture");
    return *b.image;
}

// Nothing may keep using a bitmap that is about to go.
void dropReferences(World& w, int32_t bitmap) {
    forEachPolygon([&](Polygon& p) {
        bool changed = false;
        if (p.bitmap == bitmap) {
            if (p.fill == FillKind::Bitmap) p.fill = FillKind::Colour;
            p.bitmap = 0;
            changed = true;
        }
        if (p.secondBitmap == bitmap) {
            p.secondBitmap = 0;
            p.ownsSecond = false;
            changed = true;
        }
        if (changed) touchGroupLook(p.group);
    });
    // A frame's time sits at its place in one list over all directions: it goes
    // with the frame, so every later frame keeps its own time.
    w.animations.forEach([&](int32_t h) {
        Animation* a = lookup<Animation>(h);
        if (!a) return;
        std::vector<int32_t> times;
        std::size_t place = 0;
        for (const auto& frames : a->frames)
            for (const int32_t frame : frames) {
                if (frame != bitmap && place < a->frameTimes.size()) times.push_back(a->frameTimes[place]);
                ++place;
            }
        // Times beyond the last frame, which no frame reads, follow the others.
        if (place < a->frameTimes.size()) times.insert(times.end(), a->frameTimes.begin() + place, a->frameTimes.end());
        a->frameTimes = std::move(times);
        for (auto& frames : a->frames) std::erase(frames, bitmap);
    });
    w.backgrounds.forEach([&](int32_t h) {
        if (Background* b = lookup<Background>(h); b && b->bitmap == bitmap) b->bitmap = 0;
    });
}

}  // namespace

OMBREL_API int32_t OMBREL_bitmap_load(const char* file, int32_t transparent_index) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        if (!validIndex(transparent_index))
            throw ApiError("transparent index " + std::to_string(transparent_index) + " outside -1..255");
        const std::string reference = text(file);
        auto resolved = resolveBitmapFile(reference, w.bitmapFolder);
        if (!resolved) throw ApiError("cannot find bitmap file " + reference);
        // The decoded picture is shared while the file keeps its size and time; a
        // changed file is read again, so one file never shows two pictures.
        std::shared_ptr<Image> image = loadImageFile(*resolved);
        if (!image || image->width <= 0 || image->height <= 0) throw ApiError("cannot read bitmap file " + *resolved);
        showNewPicture(w, *resolved, image);
        if (int32_t existing = findFileBitmap(w, &Bitmap::resolvedPath, *resolved, transparent_index, false)) return existing;
        Bitmap& b = createObject<Bitmap>();
        b.name = bitmapNameOf(*resolved);
        b.resolvedPath = *resolved;
        b.image = std::move(image);
        b.transparentIndex = transparent_index;
        w.bitmaps.append(b.handle);
        return b.handle;
    });
}

OMBREL_API int32_t OMBREL_bitmap_unload(int32_t bitmap) {
    return guarded(__func__, -1, [&] {
        const Bitmap& b = need<Bitmap>(bitmap);
        World& w = needWorld();
        dropReferences(w, bitmap);
        deleteRunFile(b);  // a light map's file in the run folder goes with it
        destroyListed(w.bitmaps, bitmap);
        ++w.picturesVersion;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_bitmap_get_handle(const char* file, int32_t transparent_index) {
    return guarded(__func__, 0, [&] {
        const World& w = needWorld();
        if (!validIndex(transparent_index))
            throw ApiError("transparent index " + std::to_string(transparent_index) + " outside -1..255");
        const std::string reference = text(file);
        if (reference.empty()) return 0;
        const bool anyIndex = transparent_index == -1;
        if (auto resolved = resolveBitmapFile(reference, w.bitmapFolder))
            if (int32_t h = findFileBitmap(w, &Bitmap::resolvedPath, *resolved, transparent_index, anyIndex)) return h;
        // The file may have gone since it was loaded: the engine name still finds it.
        return findFileBitmap(w, &Bitmap::name, bitmapNameOfReference(reference, w.bitmapFolder), transparent_index,
                              anyIndex);
    });
}

// The lists leave out bitmaps held out of the world.
OMBREL_API int32_t OMBREL_bitmap_get_first_bitmap(void) {
    return guarded(__func__, 0, [&] {
        const World& w = needWorld();
        return firstSavedFrom<Bitmap>(w.bitmaps, w.bitmaps.first());
    });
}

OMBREL_API int32_t OMBREL_bitmap_get_next(int32_t bitmap) {
    return guarded(__func__, 0, [&] {
        need<Bitmap>(bitmap);
        const World& w = needWorld();
        return firstSavedFrom<Bitmap>(w.bitmaps, w.bitmaps.next(bitmap));
    });
}

OMBREL_API int32_t OMBREL_bitmap_get_width(int32_t bitmap) {
    return guarded(__func__, 0, [&] {
        const Bitmap& b = need<Bitmap>(bitmap);
        imageOf(b);
        return b.width();
    });
}

OMBREL_API int32_t OMBREL_bitmap_get_height(int32_t bitmap) {
    return guarded(__func__, 0, [&] {
        const Bitmap& b = need<Bitmap>(bitmap);
        imageOf(b);
        return b.height();
    });
}

OMBREL_API int32_t OMBREL_bitmap_get_transparent_index(int32_t bitmap) {
    return guarded(__func__, -1, [&] { return need<Bitmap>(bitmap).transparentIndex; });
}

OMBREL_API int32_t OMBREL_bitmap_index_to_rgb(int32_t bitmap, int32_t index, uint8_t* r, uint8_t* g, uint8_t* b) {
    return guarded(__func__, -1, [&] {
        const Image& image = imageOf(need<Bitmap>(bitmap));
        if (index < 0 || index > 255) throw ApiError("palette index " + std::to_string(index) + " outside 0..255");
        const Rgb8 c = image.palette[index];
        if (r) *r = c.r;
        if (g) *g = c.g;
        if (b) *b = c.b;
        return 0;
    });
}

// Exact matches only: -1 tells the caller the colour is not in the picture.
OMBREL_API int32_t OMBREL_bitmap_rgb_color_to_index(int32_t bitmap, uint8_t r, uint8_t g, uint8_t b) {
    return guarded(__func__, -1, [&] {
        const Image& image = imageOf(need<Bitmap>(bitmap));
        const Rgb8 wanted{r, g, b};
        for (int i = 0; i < 256; ++i)
            if (image.palette[i] == wanted) return i;
        const std::size_t texels = std::min(image.index.size(), image.rgba.size() / 4);
        for (std::size_t t = 0; t < texels; ++t) {
            const uint8_t* px = &image.rgba[4 * t];
            if (px[0] == r && px[1] == g && px[2] == b) return static_cast<int32_t>(image.index[t]);
        }
        return -1;
    });
}
