/* Engine interface: 2D animations. */
#ifndef OMBREL_ANIMATION_H
#define OMBREL_ANIMATION_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_ANIMATION_FUNCTIONS(X) \
    X(int32_t, OMBREL_animation_create, (const char* name)) \
    X(int32_t, OMBREL_animation_delete, (int32_t animation)) \
    X(int32_t, OMBREL_animation_get_first_animation, (void)) \
    X(int32_t, OMBREL_animation_get_next, (int32_t animation)) \
    X(int32_t, OMBREL_animation_get_handle, (const char* name)) \
    X(int32_t, OMBREL_animation_set_name, (int32_t animation, const char* name)) \
    X(int32_t, OMBREL_animation_set_save_flag, (int32_t animation, int32_t flag)) \
    X(int32_t, OMBREL_animation_get_number_of_frames, (int32_t animation)) \
    X(int32_t, OMBREL_animation_get_number_of_bitmaps, (int32_t animation)) \
    X(int32_t, OMBREL_animation_get_bitmap, (int32_t animation, int32_t direction, int32_t position)) \
    X(int32_t, OMBREL_animation_add_bitmap, (int32_t animation, int32_t direction, int32_t bitmap, int32_t position)) \
    X(int32_t, OMBREL_animation_remove_bitmap, (int32_t animation, int32_t direction, int32_t position)) \
    X(int32_t, OMBREL_animation_get_frame_time, (int32_t animation, int32_t frame)) \
    X(int32_t, OMBREL_animation_set_frame_time, (int32_t animation, int32_t frame, int32_t hundredths)) \
    X(int32_t, OMBREL_animation_get_frame_transparent_index, (int32_t animation, int32_t direction, int32_t position))

OMBREL_DECLARE_FUNCTIONS(OMBREL_ANIMATION_FUNCTIONS)

#endif /* OMBREL_ANIMATION_H */
