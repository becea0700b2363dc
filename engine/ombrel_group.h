/* Engine interface: groups: the tree, transforms, chase and lights. */
#ifndef OMBREL_GROUP_H
#define OMBREL_GROUP_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_GROUP_FUNCTIONS(X) \
    X(int32_t, OMBREL_group_create, (const char* name)) \
    X(int32_t, OMBREL_group_delete_members, (int32_t group)) \
    X(int32_t, OMBREL_group_duplicate_tree, (int32_t group)) \
    X(int32_t, OMBREL_group_create_reduced_copy, (int32_t group, double level)) \
    X(int32_t, OMBREL_group_create_copy_made_of_triangles, (int32_t group)) \
    X(int32_t, OMBREL_group_get_using_name, (const char* name)) \
    X(int32_t, OMBREL_group_set_name, (int32_t group, const char* name)) \
    X(int32_t, OMBREL_group_get_first_group, (void)) \
    X(int32_t, OMBREL_group_get_next, (int32_t group)) \
    X(int32_t, OMBREL_group_get_first_included_group, (int32_t group)) \
    X(int32_t, OMBREL_group_get_next_included_group, (int32_t group, int32_t current)) \
    X(int32_t, OMBREL_group_get_father_group, (int32_t group)) \
    X(int32_t, OMBREL_group_set_father_group, (int32_t group, int32_t father)) \
    X(int32_t, OMBREL_group_get_first_polygon, (int32_t group)) \
    X(int32_t, OMBREL_group_get_next_polygon, (int32_t group, int32_t polygon)) \
    X(int32_t, OMBREL_group_get_number_of_polygons, (int32_t group)) \
    X(int32_t, OMBREL_group_get_location, (int32_t group, double* x, double* y, double* z)) \
    X(int32_t, OMBREL_group_set_location, (int32_t group, const double location[3])) \
    X(int32_t, OMBREL_group_move, (int32_t group, const double offset[3], int32_t mode)) \
    X(int32_t, OMBREL_group_rotate, (int32_t group, double angle_degrees, int32_t mode, int32_t axis)) \
    X(int32_t, OMBREL_group_scale, (int32_t group, int32_t mode, double fx, double fy, double fz)) \
    X(int32_t, OMBREL_group_get_rotate_reference_point, (int32_t group, double point[3])) \
    X(int32_t, OMBREL_group_set_rotate_reference_point, (int32_t group, const double point[3])) \
    X(int32_t, OMBREL_group_get_dimensions, (int32_t group, double dims[3])) \
    X(int32_t, OMBREL_group_get_bounding_box, (int32_t group, double box[6])) \
    X(int32_t, OMBREL_group_get_center_of_mass, (int32_t group, double point[3])) \
    X(int32_t, OMBREL_group_calculate_axis_system, (int32_t group, double x_axis[3], double y_axis[3], double z_axis[3])) \
    X(int32_t, OMBREL_group_rotate_to_match_axis_system, (int32_t group, const double a1[3], const double a2[3], const double a3[3])) \
    X(int32_t, OMBREL_group_convert_point_to_world_space_fast, (int32_t group, const double local[3], double world[3])) \
    X(int32_t, OMBREL_group_disable, (int32_t group, int32_t disable)) \
    X(int32_t, OMBREL_group_is_disable, (int32_t group)) \
    X(int32_t, OMBREL_group_is_group, (int32_t handle, int32_t reserved)) \
    X(int32_t, OMBREL_group_is_static, (int32_t group)) \
    X(int32_t, OMBREL_group_set_static, (int32_t group)) \
    X(int32_t, OMBREL_group_set_dynamic, (int32_t group)) \
    X(int32_t, OMBREL_group_set_bitmap, (int32_t group, int32_t bitmap)) \
    X(int32_t, OMBREL_group_set_color, (int32_t group, const uint8_t rgb[3])) \
    X(int32_t, OMBREL_group_is_bitmap_used, (int32_t group, int32_t bitmap)) \
    X(int32_t, OMBREL_group_remove_light, (int32_t group)) \
    X(int32_t, OMBREL_group_get_chase_type, (int32_t group)) \
    X(int32_t, OMBREL_group_set_chase_type, (int32_t group, int32_t chase_type)) \
    X(double, OMBREL_group_get_chase_distance, (int32_t group)) \
    X(int32_t, OMBREL_group_set_chase_distance, (int32_t group, double distance)) \
    X(double, OMBREL_group_get_chase_softness, (int32_t group)) \
    X(int32_t, OMBREL_group_set_chase_softness, (int32_t group, double softness)) \
    X(int32_t, OMBREL_group_get_chase_offset, (int32_t group, double offset[3])) \
    X(int32_t, OMBREL_group_set_chase_offset, (int32_t group, const double offset[3])) \
    X(int32_t, OMBREL_group_set_name_to_chase, (int32_t group, const char* name)) \
    X(double, OMBREL_group_get_absolute_speed, (int32_t group)) \
    X(int32_t, OMBREL_group_set_absolute_speed, (int32_t group, double speed)) \
    X(int32_t, OMBREL_group_get_track_handle, (int32_t group)) \
    X(int32_t, OMBREL_group_set_track_name, (int32_t group, const char* track_name)) \
    X(int32_t, OMBREL_group_get_track_offset, (int32_t group, double offset[3])) \
    X(int32_t, OMBREL_group_set_track_offset, (int32_t group, const double offset[3])) \
    X(int32_t, OMBREL_group_get_physics_force, (int32_t group, double force[3])) \
    X(int32_t, OMBREL_group_set_physics_force, (int32_t group, const double force[3])) \
    X(double, OMBREL_group_get_physics_friction, (int32_t group)) \
    X(int32_t, OMBREL_group_set_physics_friction, (int32_t group, double friction)) \
    X(double, OMBREL_group_get_physics_elasticity, (int32_t group)) \
    X(int32_t, OMBREL_group_set_physics_elasticity, (int32_t group, double elasticity)) \
    X(double, OMBREL_group_get_physics_maxspeed, (int32_t group)) \
    X(int32_t, OMBREL_group_set_physics_maxspeed, (int32_t group, double max_speed)) \
    X(int32_t, OMBREL_group_get_falling_from_track_params, (int32_t group, int32_t* falling, double* height, int32_t* value)) \
    X(int32_t, OMBREL_group_set_falling_from_track, (int32_t group, double height, int32_t value)) \
    X(int32_t, OMBREL_group_unset_falling_from_track, (int32_t group))

OMBREL_DECLARE_FUNCTIONS(OMBREL_GROUP_FUNCTIONS)

#endif /* OMBREL_GROUP_H */
