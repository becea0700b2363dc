// Host integration: surfaces, callbacks, last error, clock, files.
#include "api_support.h"
#include "file_replace.h"

#include "ombrel_ext.h"

#include <algorithm>
#include <limits>

using namespace ombrel;

namespace {

bool validSize(int32_t width, int32_t height, int32_t stride) {
    return width > 0 && height > 0 && width <= 16384 && height <= 16384 && stride >= width * 4;
}

}  // namespace

OMBREL_API int32_t OMBREL_ext_get_api_version(void) { return OMBREL_API_VERSION; }

OMBREL_API int32_t OMBREL_ext_surface_attach(uint8_t* rgba, int32_t width, int32_t height, int32_t stride_bytes) {
    return guarded(__func__, 0, [&] {
        if (!rgba || !validSize(width, height, stride_bytes)) throw ApiError("bad buffer or size");
        Surface& s = state().handles.create<Surface>();
        s.px = rgba;
        s.width = width;
        s.height = height;
        s.stride = stride_bytes;
        return s.handle;
    });
}

OMBREL_API int32_t OMBREL_ext_surface_create(int32_t width, int32_t height) {
    return guarded(__func__, 0, [&] {
        if (!validSize(width, height, width * 4)) throw ApiError("bad size");
        std::vector<uint8_t> owned(static_cast<std::size_t>(width) * height * 4, 0);
        for (std::size_t i = 3; i < owned.size(); i += 4) owned[i] = 255;
        Surface& s = state().handles.create<Surface>();
        s.owned = std::move(owned);
        s.px = s.owned.data();
        s.width = width;
        s.height = height;
        s.stride = width * 4;
        return s.handle;
    });
}

OMBREL_API int32_t OMBREL_ext_surface_reattach(int32_t surface, uint8_t* rgba, int32_t width, int32_t height,
                                               int32_t stride_bytes) {
    return guarded(__func__, -1, [&] {
        Surface& s = need<Surface>(surface);
        if (!rgba || !validSize(width, height, stride_bytes)) throw ApiError("bad buffer or size");
        s.owned.clear();
        s.px = rgba;
        s.width = width;
        s.height = height;
        s.stride = stride_bytes;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_surface_get_pixels(int32_t surface, uint8_t** rgba, int32_t* width, int32_t* height,
                                                 int32_t* stride_bytes) {
    return guarded(__func__, -1, [&] {
        Surface& s = need<Surface>(surface);
        if (rgba) *rgba = s.px;
        if (width) *width = s.width;
        if (height) *height = s.height;
        if (stride_bytes) *stride_bytes = s.stride;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_surface_destroy(int32_t surface) {
    return guarded(__func__, -1, [&] {
        need<Surface>(surface);
        if (World* w = state().world.get()) {
            if (w->currentSurface == surface) w->currentSurface = 0;
            if (w->lastRendered == surface) w->lastRendered = 0;
        }
        state().handles.erase(surface);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_set_present_callback(OMBREL_present_fn fn, void* user) {
    state().presentFn = fn;
    state().presentUser = user;
    return 0;
}

OMBREL_API int32_t OMBREL_ext_set_log_callback(OMBREL_log_fn fn, void* user) {
    state().logFn = fn;
    state().logUser = user;
    return 0;
}

OMBREL_API const char* OMBREL_ext_get_last_error(void) { return state().lastError.c_str(); }

OMBREL_API void OMBREL_ext_clear_last_error(void) { state().lastError.clear(); }

OMBREL_API int32_t OMBREL_ext_handle_kind(int32_t handle) {
    return static_cast<int32_t>(state().handles.kindOf(handle));
}

OMBREL_API int32_t OMBREL_ext_set_clear_color(int32_t r, int32_t g, int32_t b) {
    auto c = [](int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
    state().clearColour = {c(r), c(g), c(b)};
    return 0;
}

OMBREL_API int32_t OMBREL_ext_set_time(double seconds) {
    if (!(seconds >= 0 && seconds <= std::numeric_limits<double>::max())) return -1;
    state().clockFrozen = true;
    state().frozenSeconds = seconds;
    return 0;
}

OMBREL_API int32_t OMBREL_ext_use_system_clock(void) {
    state().clockFrozen = false;
    return 0;
}

OMBREL_API int32_t OMBREL_ext_replace_file(const char* path, const uint8_t* data, int64_t size) {
    return guarded(__func__, -1, [&] {
        if (!path || !*path) throw ApiError("no file given");
        if (size < 0 || (size > 0 && !data)) throw ApiError("no contents given");
        removeLeftovers({replaceFile(path, data, static_cast<std::size_t>(size))});
        return 0;
    });
}
