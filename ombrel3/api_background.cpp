// Backgrounds: panorama images drawn behind the world; one of them is in use.
#include "api_support.h"
#include "world_lists.h"

#include "ombrel_background.h"

using namespace ombrel;

namespace {

template <class Body>
int32_t setBackground(const char* fn, int32_t background, Body&& body) {
    return guarded(fn, -1, [&] {
        body(need<Background>(background));
        return 0;
    });
}

double getValue(const char* fn, int32_t background, double Background::*field) {
    return guarded(fn, 0.0, [&] { return need<Background>(background).*field; });
}

// A handle that is no live bitmap is kept as "none": the background then shows nothing.
int32_t liveBitmap(int32_t bitmap) { return lookup<Bitmap>(bitmap) ? bitmap : 0; }

}  // namespace

OMBREL_API int32_t OMBREL_background_create(const char* name, int32_t bitmap) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        Background& b = createObject<Background>();
        b.name = cutName(name);
        b.bitmap = liveBitmap(bitmap);
        b.bottom = -5500;
        b.bottomIntensity = 0;
        b.distance = 30000;
        b.step = 0.3;
        b.save = true;
        w.backgrounds.append(b.handle);
        return b.handle;
    });
}

OMBREL_API int32_t OMBREL_background_delete(int32_t background) {
    return guarded(__func__, -1, [&] {
        need<Background>(background);
        World& w = needWorld();
        if (w.background == background) w.background = 0;
        destroyListed(w.backgrounds, background);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_background_get_first_background(void) {
    return guarded(__func__, 0, [&] { return needWorld().backgrounds.first(); });
}

OMBREL_API int32_t OMBREL_background_get_next(int32_t background) {
    return guarded(__func__, 0, [&] {
        need<Background>(background);
        return needWorld().backgrounds.next(background);
    });
}

OMBREL_API int32_t OMBREL_background_get_handle(const char* name) {
    return guarded(__func__, 0, [&] { return firstNamed<Background>(needWorld().backgrounds, name); });
}

OMBREL_API const char* OMBREL_background_get_name(int32_t background) {
    return guarded(__func__, "", [&] { return need<Background>(background).name.c_str(); });
}

OMBREL_API int32_t OMBREL_background_set_name(int32_t background, const char* name) {
    return setBackground(__func__, background, [&](Background& b) { b.name = cutName(name); });
}

OMBREL_API int32_t OMBREL_background_set_save_flag(int32_t background, int32_t flag) {
    return setBackground(__func__, background, [&](Background& b) { b.save = flag != 0; });
}

OMBREL_API int32_t OMBREL_background_use(int32_t background) {
    return guarded(__func__, -1, [&] {
        World& w = needWorld();
        if (background != 0) need<Background>(background);
        w.background = background;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_background_get_bitmap(int32_t background) {
    return guarded(__func__, 0, [&] { return liveBitmap(need<Background>(background).bitmap); });
}

OMBREL_API int32_t OMBREL_background_set_bitmap(int32_t background, int32_t bitmap) {
    return setBackground(__func__, background, [&](Background& b) { b.bitmap = liveBitmap(bitmap); });
}

OMBREL_API double OMBREL_background_get_bottom(int32_t background) {
    return getValue(__func__, background, &Background::bottom);
}
OMBREL_API int32_t OMBREL_background_set_bottom(int32_t background, double value) {
    return setBackground(__func__, background, [&](Background& b) { b.bottom = needFloat(value); });
}
OMBREL_API double OMBREL_background_get_bottom_intensity(int32_t background) {
    return getValue(__func__, background, &Background::bottomIntensity);
}
OMBREL_API int32_t OMBREL_background_set_bottom_intensity(int32_t background, double value) {
    return setBackground(__func__, background, [&](Background& b) { b.bottomIntensity = needFloat(value); });
}
OMBREL_API double OMBREL_background_get_distance(int32_t background) {
    return getValue(__func__, background, &Background::distance);
}
// The panorama cylinder needs a positive radius.
OMBREL_API int32_t OMBREL_background_set_distance(int32_t background, double value) {
    return setBackground(__func__, background, [&](Background& b) { b.distance = needFloat(value) > 0 ? value : 1; });
}
OMBREL_API double OMBREL_background_get_intensity_step(int32_t background) {
    return getValue(__func__, background, &Background::step);
}
OMBREL_API int32_t OMBREL_background_set_intensity_step(int32_t background, double value) {
    return setBackground(__func__, background, [&](Background& b) { b.step = needFloat(value); });
}
