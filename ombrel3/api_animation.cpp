// 2D animations: bitmap frames per viewing direction with display times.
#include "all_polygons.h"
#include "api_support.h"
#include "world_lists.h"

#include "ombrel_animation.h"

#include <algorithm>

using namespace ombrel;

namespace {

constexpr int32_t kUnsetFrameTime = 10;
// Far beyond any animation the editor builds; stops a wild index from exhausting memory.
constexpr int32_t kMaxFrameTimes = 1 << 20;

template <class Body>
int32_t setAnimation(const char* fn, int32_t animation, Body&& body) {
    return guarded(fn, -1, [&] {
        body(need<Animation>(animation));
        // Frames may have come or gone: a fill may now draw a picture or stop.
        ++needWorld().picturesVersion;
        return 0;
    });
}

// Frames of direction 1..5, or nullptr for another direction.
std::vector<int32_t>* framesOf(Animation& a, int32_t direction) {
    if (direction < 1 || direction > 5) return nullptr;
    return &a.frames[direction - 1];
}

// The bitmap at (direction, position), 0 when there is none.
int32_t frameAt(Animation& a, int32_t direction, int32_t position) {
    const std::vector<int32_t>* frames = framesOf(a, direction);
    if (!frames || position < 0 || static_cast<std::size_t>(position) >= frames->size()) return 0;
    return (*frames)[position];
}

}  // namespace

OMBREL_API int32_t OMBREL_animation_create(const char* name) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        Animation& a = createObject<Animation>();
        a.name = cutName(name);
        a.save = true;
        w.animations.append(a.handle);
        return a.handle;
    });
}

OMBREL_API int32_t OMBREL_animation_delete(int32_t animation) {
    return guarded(__func__, -1, [&] {
        need<Animation>(animation);
        forEachPolygon([&](Polygon& p) {
            if (p.animation != animation) return;
            if (p.fill == FillKind::Animation) p.fill = FillKind::Colour;
            p.animation = 0;
            touchGroupLook(p.group);
        });
        destroyListed(needWorld().animations, animation);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_animation_get_first_animation(void) {
    return guarded(__func__, 0, [&] { return needWorld().animations.first(); });
}

OMBREL_API int32_t OMBREL_animation_get_next(int32_t animation) {
    return guarded(__func__, 0, [&] {
        need<Animation>(animation);
        return needWorld().animations.next(animation);
    });
}

OMBREL_API int32_t OMBREL_animation_get_handle(const char* name) {
    return guarded(__func__, 0, [&] { return firstNamed<Animation>(needWorld().animations, name); });
}

OMBREL_API int32_t OMBREL_animation_set_name(int32_t animation, const char* name) {
    return setAnimation(__func__, animation, [&](Animation& a) { a.name = cutName(name); });
}

OMBREL_API int32_t OMBREL_animation_set_save_flag(int32_t animation, int32_t flag) {
    return setAnimation(__func__, animation, [&](Animation& a) { a.save = flag != 0; });
}

OMBREL_API int32_t OMBREL_animation_get_number_of_frames(int32_t animation) {
    return guarded(__func__, 0, [&] {
        std::size_t most = 0;
        for (const auto& frames : need<Animation>(animation).frames) most = std::max(most, frames.size());
        return static_cast<int32_t>(most);
    });
}

OMBREL_API int32_t OMBREL_animation_get_number_of_bitmaps(int32_t animation) {
    return guarded(__func__, 0, [&] {
        std::size_t total = 0;
        for (const auto& frames : need<Animation>(animation).frames) total += frames.size();
        return static_cast<int32_t>(total);
    });
}

OMBREL_API int32_t OMBREL_animation_get_bitmap(int32_t animation, int32_t direction, int32_t position) {
    return guarded(__func__, 0, [&] { return frameAt(need<Animation>(animation), direction, position); });
}

OMBREL_API int32_t OMBREL_animation_add_bitmap(int32_t animation, int32_t direction, int32_t bitmap, int32_t position) {
    return setAnimation(__func__, animation, [&](Animation& a) {
        need<Bitmap>(bitmap);
        std::vector<int32_t>* frames = framesOf(a, direction);
        if (!frames) throw ApiError("direction " + std::to_string(direction) + " outside 1..5");
        if (position < 0) throw ApiError("negative frame position");
        std::size_t at = std::min(static_cast<std::size_t>(position), frames->size());
        frames->insert(frames->begin() + static_cast<std::ptrdiff_t>(at), bitmap);
    });
}

OMBREL_API int32_t OMBREL_animation_remove_bitmap(int32_t animation, int32_t direction, int32_t position) {
    return setAnimation(__func__, animation, [&](Animation& a) {
        if (!frameAt(a, direction, position))
            throw ApiError("no frame " + std::to_string(position) + " in direction " + std::to_string(direction));
        std::vector<int32_t>& frames = *framesOf(a, direction);
        frames.erase(frames.begin() + position);
    });
}

OMBREL_API int32_t OMBREL_animation_get_frame_time(int32_t animation, int32_t frame) {
    return guarded(__func__, 0, [&] {
        const Animation& a = need<Animation>(animation);
        if (frame < 0) throw ApiError("negative frame index");
        if (static_cast<std::size_t>(frame) >= a.frameTimes.size()) return kUnsetFrameTime;
        return a.frameTimes[frame];
    });
}

OMBREL_API int32_t OMBREL_animation_set_frame_time(int32_t animation, int32_t frame, int32_t hundredths) {
    return setAnimation(__func__, animation, [&](Animation& a) {
        if (frame < 0 || frame >= kMaxFrameTimes) throw ApiError("bad frame index " + std::to_string(frame));
        if (static_cast<std::size_t>(frame) >= a.frameTimes.size()) a.frameTimes.resize(frame + 1, kUnsetFrameTime);
        a.frameTimes[frame] = std::max(hundredths, 1);
    });
}

OMBREL_API int32_t OMBREL_animation_get_frame_transparent_index(int32_t animation, int32_t direction, int32_t position) {
    return guarded(__func__, -1, [&] {
        const Bitmap* b = lookup<Bitmap>(frameAt(need<Animation>(animation), direction, position));
        return b ? b->transparentIndex : -1;
    });
}
