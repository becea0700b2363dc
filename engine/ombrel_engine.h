/* Engine interface: world files, rendering, projection, picking and fog. */
#ifndef OMBREL_ENGINE_H
#define OMBREL_ENGINE_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_ENGINE_FUNCTIONS(X) \
    X(int32_t, OMBREL_engine_set_coordinates_auto_correct_mode, (int32_t mode)) \
    X(int32_t, OMBREL_engine_hide_log_window, (void)) \
    X(int32_t, OMBREL_engine_load_world, (const char* file, const char* search_folder, const char* bitmap_folder, int32_t mode)) \
    X(int32_t, OMBREL_engine_add_world, (const char* file, const char* search_folder, const char* bitmap_folder, const double location[3])) \
    X(int32_t, OMBREL_engine_save, (const char* path, int32_t group, int32_t flags)) \
    X(int32_t, OMBREL_engine_render_on_dc, (int32_t window, int32_t camera)) \
    X(int32_t, OMBREL_engine_copy_image_from_dc_to_screen, (void)) \
    X(int32_t, OMBREL_engine_render_on_bitmap, (int32_t window, int32_t camera)) \
    X(int32_t, OMBREL_engine_set_group_to_render, (int32_t group)) \
    X(int32_t, OMBREL_engine_2D_point_to_3D, (int32_t x, int32_t y, double point[3], int32_t* group_out, int32_t* polygon_out)) \
    X(int32_t, OMBREL_engine_3D_point_to_2D, (const double point[3], int32_t pixel[2])) \
    X(int32_t, OMBREL_engine_3D_edge_to_2D, (const double a[3], const double b[3], int32_t a2d[2], int32_t b2d[2])) \
    X(int32_t, OMBREL_engine_add_polygon, (int32_t polygon)) \
    X(int32_t, OMBREL_engine_is_engine_empty, (void)) \
    X(int32_t, OMBREL_engine_close, (void)) \
    X(int32_t, OMBREL_engine_use_3D_accelerator_card, (int32_t on)) \
    X(int32_t, OMBREL_engine_get_atmospheric_effect, (int32_t* r, int32_t* g, int32_t* b)) \
    X(int32_t, OMBREL_engine_set_atmospheric_effect, (int32_t r, int32_t g, int32_t b)) \
    X(double, OMBREL_engine_get_atmospheric_effect_intensity, (void)) \
    X(int32_t, OMBREL_engine_set_atmospheric_effect_intensity, (double intensity))

OMBREL_DECLARE_FUNCTIONS(OMBREL_ENGINE_FUNCTIONS)

#endif /* OMBREL_ENGINE_H */
