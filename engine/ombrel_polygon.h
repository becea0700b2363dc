/* Engine interface: polygons: points, fills and properties. */
#ifndef OMBREL_POLYGON_H
#define OMBREL_POLYGON_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_POLYGON_FUNCTIONS(X) \
    X(int32_t, OMBREL_polygon_create, (void)) \
    X(int32_t, OMBREL_polygon_delete, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_add_point, (int32_t polygon, const double record[6])) \
    X(int32_t, OMBREL_polygon_set_group, (int32_t polygon, int32_t group)) \
    X(int32_t, OMBREL_polygon_get_group, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_is_in_group, (int32_t polygon, int32_t group)) \
    X(int32_t, OMBREL_polygon_get_first_point, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_get_num_of_points, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_get_next, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_get_center, (int32_t polygon, double center[3])) \
    X(int32_t, OMBREL_polygon_get_plane, (int32_t polygon, double plane[4])) \
    X(int32_t, OMBREL_polygon_is_valid, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_set_orientation, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_flip_visible_side, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_disable, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_enable, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_set_name, (int32_t polygon, const char* name)) \
    X(int32_t, OMBREL_polygon_get_handle_using_name, (const char* name)) \
    X(int32_t, OMBREL_polygon_get_color, (int32_t polygon, int32_t* r, int32_t* g, int32_t* b)) \
    X(int32_t, OMBREL_polygon_set_color_fill, (int32_t polygon, int32_t r, int32_t g, int32_t b)) \
    X(int32_t, OMBREL_polygon_get_bitmap_handle, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_set_bitmap_fill, (int32_t polygon, int32_t bitmap)) \
    X(int32_t, OMBREL_polygon_get_animation, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_set_animation, (int32_t polygon, int32_t animation)) \
    X(int32_t, OMBREL_polygon_set_second_bitmap, (int32_t polygon, int32_t bitmap)) \
    X(int32_t, OMBREL_polygon_create_lightmap, (int32_t polygon, int32_t max_size, int32_t min_size, double sampling_rate, int32_t raytracing, int32_t lightmap_number)) \
    X(double, OMBREL_polygon_get_light_diminution, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_set_light_diminution, (int32_t polygon, double percent)) \
    X(int32_t, OMBREL_polygon_get_translucent, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_set_translucent, (int32_t polygon, int32_t code)) \
    X(int32_t, OMBREL_polygon_get_transparent_index, (int32_t polygon)) \
    X(int32_t, OMBREL_polygon_get_transparent_rgb, (int32_t polygon, int32_t* r, int32_t* g, int32_t* b)) \
    X(int32_t, OMBREL_polygon_set_rotated, (int32_t polygon, int32_t rotated)) \
    X(int32_t, OMBREL_polygon_is_rotated, (int32_t polygon))

OMBREL_DECLARE_FUNCTIONS(OMBREL_POLYGON_FUNCTIONS)

#endif /* OMBREL_POLYGON_H */
