/* Engine interface: points of a polygon. */
#ifndef OMBREL_POINT_H
#define OMBREL_POINT_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_POINT_FUNCTIONS(X) \
    X(int32_t, OMBREL_point_get_xyz, (int32_t point, double xyz[3])) \
    X(int32_t, OMBREL_point_set_xyz, (int32_t point, const double xyz[3])) \
    X(int32_t, OMBREL_point_get_bitmap_xy, (int32_t point, double uv[2])) \
    X(int32_t, OMBREL_point_set_bitmap_xy, (int32_t point, int32_t polygon, const double uv[2])) \
    X(double, OMBREL_point_get_brightness, (int32_t point)) \
    X(int32_t, OMBREL_point_set_brightness, (int32_t point, double brightness)) \
    X(int32_t, OMBREL_point_set_normal, (int32_t point, const double normal[3])) \
    X(int32_t, OMBREL_point_set_rgb, (int32_t point, int32_t polygon, const uint8_t rgb[3])) \
    X(int32_t, OMBREL_point_get_next_point, (int32_t point))

OMBREL_DECLARE_FUNCTIONS(OMBREL_POINT_FUNCTIONS)

#endif /* OMBREL_POINT_H */
