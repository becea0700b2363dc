/* Engine interface: backgrounds. */
#ifndef OMBREL_BACKGROUND_H
#define OMBREL_BACKGROUND_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_BACKGROUND_FUNCTIONS(X) \
    X(int32_t, OMBREL_background_create, (const char* name, int32_t bitmap)) \
    X(int32_t, OMBREL_background_delete, (int32_t background)) \
    X(int32_t, OMBREL_background_get_first_background, (void)) \
    X(int32_t, OMBREL_background_get_next, (int32_t background)) \
    X(int32_t, OMBREL_background_get_handle, (const char* name)) \
    X(const char*, OMBREL_background_get_name, (int32_t background)) \
    X(int32_t, OMBREL_background_set_name, (int32_t background, const char* name)) \
    X(int32_t, OMBREL_background_set_save_flag, (int32_t background, int32_t flag)) \
    X(int32_t, OMBREL_background_use, (int32_t background)) \
    X(int32_t, OMBREL_background_get_bitmap, (int32_t background)) \
    X(int32_t, OMBREL_background_set_bitmap, (int32_t background, int32_t bitmap)) \
    X(double, OMBREL_background_get_bottom, (int32_t background)) \
    X(int32_t, OMBREL_background_set_bottom, (int32_t background, double value)) \
    X(double, OMBREL_background_get_bottom_intensity, (int32_t background)) \
    X(int32_t, OMBREL_background_set_bottom_intensity, (int32_t background, double value)) \
    X(double, OMBREL_background_get_distance, (int32_t background)) \
    X(int32_t, OMBREL_background_set_distance, (int32_t background, double value)) \
    X(double, OMBREL_background_get_intensity_step, (int32_t background)) \
    X(int32_t, OMBREL_background_set_intensity_step, (int32_t background, double value))

OMBREL_DECLARE_FUNCTIONS(OMBREL_BACKGROUND_FUNCTIONS)

#endif /* OMBREL_BACKGROUND_H */
