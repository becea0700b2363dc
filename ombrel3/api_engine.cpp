// Engine-wide calls: settings, emptiness, closing, adding polygons to the world.
#include "api_support.h"
#include "lighting.h"

#include "ombrel_engine.h"

using namespace ombrel;

OMBREL_API int32_t OMBREL_engine_set_coordinates_auto_correct_mode(int32_t mode) {
    return guarded(__func__, -1, [&] {
        if (mode != 0 && mode != 1) throw ApiError("unknown mode " + std::to_string(mode));
        state().autoCorrectMode = mode;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_engine_hide_log_window(void) {
    state().logToStderr = false;
    return 0;
}

OMBREL_API int32_t OMBREL_engine_add_polygon(int32_t polygon) {
    return guarded(__func__, -1, [&] {
        World& w = needWorld();
        Polygon& p = need<Polygon>(polygon);
        if (!p.added) {
            p.added = true;
            w.polygons.append(polygon);
        }
        touchGroup(p.group);
        touchBinding(polygon);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_engine_is_engine_empty(void) { return state().world ? 0 : 1; }

OMBREL_API int32_t OMBREL_engine_close(void) {
    return guarded(__func__, -1, [&] {
        closeWorld();
        return 0;
    });
}

OMBREL_API int32_t OMBREL_engine_use_3D_accelerator_card(int32_t on) {
    return guarded(__func__, 0, [&] {
        needWorld().accelerator = on != 0;
        return 0;
    });
}
