// Read-back of which lights a polygon is bound to, for tests and assertions.
#include "api_support.h"

#include "ombrel_ext.h"

#include <algorithm>

using namespace ombrel;

OMBREL_API int32_t OMBREL_ext_polygon_is_lit_by(int32_t polygon, int32_t light) {
    return guarded(__func__, 0, [&] {
        // The light need not be live: a deleted light must have left no binding behind.
        const Polygon& p = need<Polygon>(polygon);
        return std::find(p.lights.begin(), p.lights.end(), light) != p.lights.end() ? 1 : 0;
    });
}
