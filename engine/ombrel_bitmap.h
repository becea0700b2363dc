/* Engine interface: bitmaps used as textures. The lists and the look-ups by file
   leave out a bitmap whose save flag (OMBREL_ext_bitmap_set_save_flag) is 0. */
#ifndef OMBREL_BITMAP_H
#define OMBREL_BITMAP_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_BITMAP_FUNCTIONS(X) \
    X(int32_t, OMBREL_bitmap_load, (const char* file, int32_t transparent_index)) \
    X(int32_t, OMBREL_bitmap_unload, (int32_t bitmap)) \
    X(int32_t, OMBREL_bitmap_get_handle, (const char* file, int32_t transparent_index)) \
    X(int32_t, OMBREL_bitmap_get_first_bitmap, (void)) \
    X(int32_t, OMBREL_bitmap_get_next, (int32_t bitmap)) \
    X(int32_t, OMBREL_bitmap_get_width, (int32_t bitmap)) \
    X(int32_t, OMBREL_bitmap_get_height, (int32_t bitmap)) \
    X(int32_t, OMBREL_bitmap_get_transparent_index, (int32_t bitmap)) \
    X(int32_t, OMBREL_bitmap_index_to_rgb, (int32_t bitmap, int32_t index, uint8_t* r, uint8_t* g, uint8_t* b)) \
    X(int32_t, OMBREL_bitmap_rgb_color_to_index, (int32_t bitmap, uint8_t r, uint8_t g, uint8_t b))

OMBREL_DECLARE_FUNCTIONS(OMBREL_BITMAP_FUNCTIONS)

#endif /* OMBREL_BITMAP_H */
