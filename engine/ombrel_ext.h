/* Engine interface: host integration (surfaces in place of windows and device
   contexts, callbacks, last error, clock, read-back of save flags and light bindings,
   a bitmap's save flag (a bitmap with flag 0 is held out of the world: neither listed,
   found by file nor shared by a load or merge, and written only where saved geometry,
   animations or backgrounds use it),
   and a polygon's points in one call: their handles and positions, up to capacity
   of each, in order; it returns the number of points, or -1 on failure).
   OMBREL_ext_replace_file writes size bytes as the whole new contents of path the
   way every file the engine writes is replaced: a link is written to the file it
   names, the old file keeps its mode, owner and group, and a failure (-1) leaves
   it as it was. A camera draws the world's background behind what it sees unless
   told not to (a view with a field of a degree would show a blurred slice of the
   panorama); the setting is not saved with the world.
   A group's place among its father's children and a polygon's among its group's
   own polygons count from 0 in the order the world file writes them; set_index
   moves the entity to that place, the others keeping their order, and fails (-1)
   for a stale handle, an entity without a father or group, or a place not below
   the number of siblings. get_index returns the place, or -1.
   OMBREL_ext_get_placement reads, up to capacity, every number a move, turn or
   scale changes of a group (with all it holds), a camera, a light or a track,
   and returns how many there are (-1 on failure); OMBREL_ext_set_placement
   writes such numbers back exactly, refusing (-1) a count that no longer fits
   the entity (points added or removed since). */
#ifndef OMBREL_EXT_H
#define OMBREL_EXT_H

#include "ombrel_types.h"

/* Threads: every call comes from the one host (user-interface) thread. The engine
   starts worker threads only inside a call and joins them before it returns, with
   one exception: between OMBREL_ext_lightmap_begin and the batch's end its workers
   compute light-map values in the background. They read only the copy that begin
   took, never the world, and create no bitmap and write no file; installing a map
   (OMBREL_polygon_create_lightmap) happens on the calling thread. OMBREL_THREADS
   in the environment sets the number of workers (default: one per hardware thread).

   A light map's file (its engine name + ".bmp") is written only when it is needed:
   by a save, or by OMBREL_ext_bitmap_ensure_file, which a caller looking for a
   bitmap's file calls first. It returns 1 when it wrote the file just now, 0 when
   there was nothing to write, -1 when the write failed (the map stays in memory). */
#define OMBREL_EXT_FUNCTIONS(X) \
    X(int32_t, OMBREL_ext_get_api_version, (void)) \
    X(int32_t, OMBREL_ext_surface_attach, (uint8_t* rgba, int32_t width, int32_t height, int32_t stride_bytes)) \
    X(int32_t, OMBREL_ext_surface_create, (int32_t width, int32_t height)) \
    X(int32_t, OMBREL_ext_surface_reattach, (int32_t surface, uint8_t* rgba, int32_t width, int32_t height, int32_t stride_bytes)) \
    X(int32_t, OMBREL_ext_surface_get_pixels, (int32_t surface, uint8_t** rgba, int32_t* width, int32_t* height, int32_t* stride_bytes)) \
    X(int32_t, OMBREL_ext_surface_destroy, (int32_t surface)) \
    X(int32_t, OMBREL_ext_set_present_callback, (OMBREL_present_fn fn, void* user)) \
    X(int32_t, OMBREL_ext_set_log_callback, (OMBREL_log_fn fn, void* user)) \
    X(const char*, OMBREL_ext_get_last_error, (void)) \
    X(void, OMBREL_ext_clear_last_error, (void)) \
    X(int32_t, OMBREL_ext_handle_kind, (int32_t handle)) \
    X(int32_t, OMBREL_ext_set_clear_color, (int32_t r, int32_t g, int32_t b)) \
    X(int32_t, OMBREL_ext_set_time, (double seconds)) \
    X(int32_t, OMBREL_ext_use_system_clock, (void)) \
    X(int32_t, OMBREL_ext_light_get_save_flag, (int32_t light)) \
    X(int32_t, OMBREL_ext_track_get_save_flag, (int32_t track)) \
    X(int32_t, OMBREL_ext_background_get_save_flag, (int32_t background)) \
    X(int32_t, OMBREL_ext_animation_get_save_flag, (int32_t animation)) \
    X(int32_t, OMBREL_ext_bitmap_set_save_flag, (int32_t bitmap, int32_t flag)) \
    X(int32_t, OMBREL_ext_bitmap_get_save_flag, (int32_t bitmap)) \
    X(int32_t, OMBREL_ext_polygon_is_lit_by, (int32_t polygon, int32_t light)) \
    X(int32_t, OMBREL_ext_group_get_own_disabled, (int32_t group)) \
    X(int32_t, OMBREL_ext_polygon_get_points, (int32_t polygon, int32_t* handles, double* xyz, int32_t capacity)) \
    X(int32_t, OMBREL_ext_point_get_rgb, (int32_t point, uint8_t rgb[3])) \
    X(int32_t, OMBREL_ext_point_get_normal, (int32_t point, double normal[3])) \
    X(int32_t, OMBREL_ext_bitmap_ensure_file, (int32_t bitmap)) \
    X(int32_t, OMBREL_ext_lightmap_begin, (int32_t group, int32_t max_size, int32_t min_size, double sampling_rate, int32_t raytracing, int32_t lightmap_number)) \
    X(int32_t, OMBREL_ext_lightmap_ready, (int32_t polygon, int32_t wait_ms)) \
    X(int32_t, OMBREL_ext_lightmap_end, (void)) \
    X(int32_t, OMBREL_ext_replace_file, (const char* path, const uint8_t* data, int64_t size)) \
    X(int32_t, OMBREL_ext_camera_set_background_shown, (int32_t camera, int32_t shown)) \
    X(int32_t, OMBREL_ext_group_get_index, (int32_t group)) \
    X(int32_t, OMBREL_ext_group_set_index, (int32_t group, int32_t index)) \
    X(int32_t, OMBREL_ext_polygon_get_index, (int32_t polygon)) \
    X(int32_t, OMBREL_ext_polygon_set_index, (int32_t polygon, int32_t index)) \
    X(int32_t, OMBREL_ext_get_placement, (int32_t handle, double* values, int32_t capacity)) \
    X(int32_t, OMBREL_ext_set_placement, (int32_t handle, const double* values, int32_t count))

OMBREL_DECLARE_FUNCTIONS(OMBREL_EXT_FUNCTIONS)

#define OMBREL_API_VERSION 1

#endif /* OMBREL_EXT_H */
