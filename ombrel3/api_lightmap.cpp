// Light maps: one polygon's map, the batch that computes a group's ahead, and
// a map's file written when a caller needs it.
#include "api_support.h"
#include "lightmap.h"

#include "ombrel_ext.h"
#include "ombrel_polygon.h"

using namespace ombrel;

OMBREL_API int32_t OMBREL_polygon_create_lightmap(int32_t polygon, int32_t max_size, int32_t min_size,
                                                 double sampling_rate, int32_t raytracing, int32_t lightmap_number) {
    return guarded(__func__, 0, [&] {
        return createLightMap(polygon, {max_size, min_size, sampling_rate, raytracing, lightmap_number});
    });
}

OMBREL_API int32_t OMBREL_ext_lightmap_begin(int32_t group, int32_t max_size, int32_t min_size, double sampling_rate,
                                            int32_t raytracing, int32_t lightmap_number) {
    return guarded(__func__, -1, [&] {
        beginLightMapBatch(group, {max_size, min_size, sampling_rate, raytracing, lightmap_number});
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_lightmap_ready(int32_t polygon, int32_t wait_ms) {
    return guarded(__func__, 1, [&] { return lightMapReady(polygon, wait_ms) ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_ext_lightmap_end(void) {
    return guarded(__func__, 0, [&] {
        endLightMapBatch();
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_bitmap_ensure_file(int32_t bitmap) {
    return guarded(__func__, -1, [&] {
        std::string why;
        switch (writeDueRunFile(need<Bitmap>(bitmap), &why)) {
        case RunFileWrite::Written: return 1;
        case RunFileWrite::Failed: throw ApiError(why);
        case RunFileWrite::Nothing: break;
        }
        return 0;
    });
}
