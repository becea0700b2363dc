/* Engine interface: pictures for painting on a device context. */
#ifndef OMBREL_UTILITIES_H
#define OMBREL_UTILITIES_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_UTILITIES_FUNCTIONS(X) \
    X(int32_t, OMBREL_utilities_load_bitmap_from_file, (const char* path)) \
    X(int32_t, OMBREL_utilities_copy_bitmap_on_dc, (int32_t dc, int32_t picture, int32_t x, int32_t y, int32_t width, int32_t height)) \
    X(int32_t, OMBREL_utilities_save_bitmap24, (int32_t bitmap_or_picture, const char* path))

OMBREL_DECLARE_FUNCTIONS(OMBREL_UTILITIES_FUNCTIONS)

#endif /* OMBREL_UTILITIES_H */
