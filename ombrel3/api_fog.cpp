// The atmospheric effect: fog colour and density of the open world.
#include "api_support.h"

#include "ombrel_engine.h"

#include <algorithm>

using namespace ombrel;

namespace {
uint8_t channel(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }
}  // namespace

OMBREL_API int32_t OMBREL_engine_get_atmospheric_effect(int32_t* r, int32_t* g, int32_t* b) {
    return guarded(__func__, -1, [&] {
        const Rgb8 fog = needWorld().fog;
        if (r) *r = fog.r;
        if (g) *g = fog.g;
        if (b) *b = fog.b;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_engine_set_atmospheric_effect(int32_t r, int32_t g, int32_t b) {
    return guarded(__func__, -1, [&] {
        needWorld().fog = {channel(r), channel(g), channel(b)};
        return 0;
    });
}

OMBREL_API double OMBREL_engine_get_atmospheric_effect_intensity(void) {
    return guarded(__func__, 0.0, [&] { return needWorld().fogIntensity; });
}

// A density below 0 (or not a number) means no fog.
OMBREL_API int32_t OMBREL_engine_set_atmospheric_effect_intensity(double intensity) {
    return guarded(__func__, -1, [&] {
        needWorld().fogIntensity = needFloat(intensity) > 0 ? intensity : 0;
        return 0;
    });
}
