// Read-back of the save flags the editor's calls only set, and a bitmap's flag.
#include "api_support.h"

#include "ombrel_ext.h"

using namespace ombrel;

OMBREL_API int32_t OMBREL_ext_light_get_save_flag(int32_t light) {
    return guarded(__func__, 0, [&] { return need<Light>(light).save ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_ext_track_get_save_flag(int32_t track) {
    return guarded(__func__, 0, [&] { return need<Track>(track).save ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_ext_background_get_save_flag(int32_t background) {
    return guarded(__func__, 0, [&] { return need<Background>(background).save ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_ext_animation_get_save_flag(int32_t animation) {
    return guarded(__func__, 0, [&] { return need<Animation>(animation).save ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_ext_bitmap_set_save_flag(int32_t bitmap, int32_t flag) {
    return guarded(__func__, -1, [&] {
        need<Bitmap>(bitmap).save = flag != 0;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_bitmap_get_save_flag(int32_t bitmap) {
    return guarded(__func__, 0, [&] { return need<Bitmap>(bitmap).save ? 1 : 0; });
}
