// Rendering a view into a surface, presenting it, and gallery previews.
#include "api_support.h"
#include "lighting.h"
#include "renderer.h"

#include "ombrel_engine.h"
#include "ombrel_views.h"

#include <memory>
#include <vector>

using namespace ombrel;

namespace {

// Draws the world through camera into rgba; without a world, a camera or GL the
// image is cleared so the editor keeps a defined picture.
void renderInto(const Camera* camera, uint8_t* rgba, int width, int height, int stride, SharedWalk& walk) {
    World* w = state().world.get();
    if (!w || !camera) {
        clearImage(rgba, width, height, stride);
        return;
    }
    rebindAutoUpdateLights();  // polygons made since the last render get lit
    try {
        if (renderWorld(makeView(*camera, width, height), rgba, stride, walk)) return;
    } catch (const std::exception& e) {
        logLine(2, std::string("render failed: ") + e.what());
    }
    clearImage(rgba, width, height, stride);
}

void renderOnSurface(Surface& s, int32_t camera, SharedWalk& walk) {
    const Camera* c = lookup<Camera>(camera);
    World* w = state().world.get();
    if (w && c) {
        w->currentCamera = camera;
        w->currentSurface = s.handle;
    }
    renderInto(c, s.px, s.width, s.height, s.stride, walk);
    if (w) w->lastRendered = s.handle;
}

}  // namespace

OMBREL_API int32_t OMBREL_engine_render_on_dc(int32_t window, int32_t camera) {
    return guarded(__func__, 0, [&] {
        Surface& s = need<Surface>(window);
        SharedWalk walk;
        renderOnSurface(s, camera, walk);
        return window;
    });
}

OMBREL_API int32_t OMBREL_ext_render_views_on_dcs(int32_t count, const int32_t* windows, const int32_t* cameras) {
    return guarded(__func__, -1, [&] {
        if (count < 0) throw ApiError("negative view count");
        if (count > 0 && (!windows || !cameras)) throw ApiError("missing window or camera list");
        std::vector<Surface*> surfaces;
        surfaces.reserve(static_cast<std::size_t>(count));
        for (int32_t i = 0; i < count; ++i) surfaces.push_back(&need<Surface>(windows[i]));
        SharedWalk walk;
        for (int32_t i = 0; i < count; ++i) renderOnSurface(*surfaces[static_cast<std::size_t>(i)], cameras[i], walk);
        return count;
    });
}

OMBREL_API int32_t OMBREL_ext_copy_dc_to_screen(int32_t window) {
    return guarded(__func__, -1, [&] {
        need<Surface>(window);
        if (state().presentFn) state().presentFn(window, state().presentUser);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_engine_copy_image_from_dc_to_screen(void) {
    return guarded(__func__, -1, [&] {
        World* w = state().world.get();
        if (!w || !lookup<Surface>(w->lastRendered)) throw ApiError("nothing rendered yet");
        if (state().presentFn) state().presentFn(w->lastRendered, state().presentUser);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_engine_render_on_bitmap(int32_t window, int32_t camera) {
    return guarded(__func__, 0, [&] {
        const Surface& s = need<Surface>(window);
        const Camera& c = need<Camera>(camera);
        World& w = needWorld();
        auto image = std::make_shared<Image>();
        image->width = s.width;
        image->height = s.height;
        image->rgba.assign(static_cast<std::size_t>(s.width) * s.height * 4, 0);
        SharedWalk walk;
        renderInto(&c, image->rgba.data(), s.width, s.height, s.width * 4, walk);
        if (lookup<Picture>(w.lastPicture)) state().handles.erase(w.lastPicture);
        Picture& pic = createObject<Picture>();
        pic.image = std::move(image);
        w.lastPicture = pic.handle;
        return pic.handle;
    });
}

OMBREL_API int32_t OMBREL_engine_set_group_to_render(int32_t group) {
    return guarded(__func__, -1, [&] {
        World& w = needWorld();
        if (group != 0) need<Group>(group);
        w.renderGroup = group;
        return 0;
    });
}
