/* Engine interface: tracks. */
#ifndef OMBREL_TRACK_H
#define OMBREL_TRACK_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_TRACK_FUNCTIONS(X) \
    X(int32_t, OMBREL_track_create, (const char* name, int32_t cyclic, const double* points, int32_t count)) \
    X(int32_t, OMBREL_track_delete, (int32_t track)) \
    X(int32_t, OMBREL_track_get_first_track, (void)) \
    X(int32_t, OMBREL_track_get_next, (int32_t track)) \
    X(int32_t, OMBREL_track_get_using_name, (const char* name)) \
    X(int32_t, OMBREL_track_set_name, (int32_t track, const char* name)) \
    X(int32_t, OMBREL_track_set_save_flag, (int32_t track, int32_t flag)) \
    X(int32_t, OMBREL_track_get_number_of_points, (int32_t track)) \
    X(int32_t, OMBREL_track_get_point, (int32_t track, int32_t index, double point[3])) \
    X(int32_t, OMBREL_track_set_point, (int32_t track, int32_t index, const double point[3])) \
    X(int32_t, OMBREL_track_set_number_of_points, (int32_t track, int32_t count)) \
    X(int32_t, OMBREL_track_set_points_buffer, (int32_t track, const double* points, int32_t count)) \
    X(int32_t, OMBREL_track_is_cyclic, (int32_t track))

OMBREL_DECLARE_FUNCTIONS(OMBREL_TRACK_FUNCTIONS)

#endif /* OMBREL_TRACK_H */
