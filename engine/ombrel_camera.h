/* Engine interface: cameras: frame, projection and chase. */
#ifndef OMBREL_CAMERA_H
#define OMBREL_CAMERA_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_CAMERA_FUNCTIONS(X) \
    X(int32_t, OMBREL_camera_create, (const char* name)) \
    X(int32_t, OMBREL_camera_delete, (int32_t camera)) \
    X(int32_t, OMBREL_camera_get_first_camera, (void)) \
    X(int32_t, OMBREL_camera_get_next_camera, (int32_t camera)) \
    X(int32_t, OMBREL_camera_get_using_name, (const char* name)) \
    X(int32_t, OMBREL_camera_set_name, (int32_t camera, const char* name)) \
    X(int32_t, OMBREL_camera_get_save_flag, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_save_flag, (int32_t camera, int32_t flag)) \
    X(int32_t, OMBREL_camera_get_current, (void)) \
    X(int32_t, OMBREL_camera_set_current, (int32_t camera, int32_t window)) \
    X(int32_t, OMBREL_camera_get_location, (int32_t camera, double* x, double* y, double* z)) \
    X(int32_t, OMBREL_camera_set_location, (int32_t camera, double x, double y, double z)) \
    X(int32_t, OMBREL_camera_get_location1, (int32_t camera, double location[3])) \
    X(int32_t, OMBREL_camera_set_location1, (int32_t camera, const double location[3])) \
    X(int32_t, OMBREL_camera_get_direction, (int32_t camera, double* x, double* y, double* z)) \
    X(int32_t, OMBREL_camera_set_direction, (int32_t camera, double x, double y, double z)) \
    X(int32_t, OMBREL_camera_get_direction1, (int32_t camera, double direction[3])) \
    X(int32_t, OMBREL_camera_set_direction1, (int32_t camera, const double direction[3])) \
    X(int32_t, OMBREL_camera_get_axis_system, (int32_t camera, double a1[3], double a2[3], double a3[3])) \
    X(int32_t, OMBREL_camera_set_axis_system, (int32_t camera, const double a1[3], const double a2[3], const double a3[3])) \
    X(int32_t, OMBREL_camera_move, (int32_t camera, int32_t mode, double x, double y, double z)) \
    X(int32_t, OMBREL_camera_rotate_x, (int32_t camera, double angle_degrees, int32_t mode)) \
    X(int32_t, OMBREL_camera_rotate_y, (int32_t camera, double angle_degrees, int32_t mode)) \
    X(int32_t, OMBREL_camera_rotate_z, (int32_t camera, double angle_degrees, int32_t mode)) \
    X(int32_t, OMBREL_camera_rotate_x_radians, (int32_t camera, double angle_radians, int32_t mode)) \
    X(double, OMBREL_camera_get_zoom, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_zoom, (int32_t camera, double fov_degrees)) \
    X(double, OMBREL_camera_get_distance_from_eye, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_distance_from_eye, (int32_t camera, double distance)) \
    X(int32_t, OMBREL_camera_get_chase_type, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_chase_type, (int32_t camera, int32_t chase_type)) \
    X(double, OMBREL_camera_get_chase_distance, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_chase_distance, (int32_t camera, double distance)) \
    X(double, OMBREL_camera_get_chase_softness, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_chase_softness, (int32_t camera, double softness)) \
    X(int32_t, OMBREL_camera_get_chase_offset, (int32_t camera, double offset[3])) \
    X(int32_t, OMBREL_camera_set_chase_offset, (int32_t camera, const double offset[3])) \
    X(int32_t, OMBREL_camera_set_name_to_chase, (int32_t camera, const char* name)) \
    X(double, OMBREL_camera_get_absolute_speed, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_absolute_speed, (int32_t camera, double speed)) \
    X(int32_t, OMBREL_camera_set_track, (int32_t camera, int32_t track)) \
    X(int32_t, OMBREL_camera_get_track_handle, (int32_t camera)) \
    X(int32_t, OMBREL_camera_get_track_offset, (int32_t camera, double offset[3])) \
    X(int32_t, OMBREL_camera_set_track_offset, (int32_t camera, const double offset[3])) \
    X(int32_t, OMBREL_camera_get_force, (int32_t camera, double force[3])) \
    X(int32_t, OMBREL_camera_set_force, (int32_t camera, const double force[3])) \
    X(double, OMBREL_camera_get_friction, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_friction, (int32_t camera, double friction)) \
    X(double, OMBREL_camera_get_elasticity, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_elasticity, (int32_t camera, double elasticity)) \
    X(double, OMBREL_camera_get_max_speed, (int32_t camera)) \
    X(int32_t, OMBREL_camera_set_max_speed, (int32_t camera, double max_speed))

OMBREL_DECLARE_FUNCTIONS(OMBREL_CAMERA_FUNCTIONS)

#endif /* OMBREL_CAMERA_H */
