/* Engine interface: lights. */
#ifndef OMBREL_LIGHT_H
#define OMBREL_LIGHT_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_LIGHT_FUNCTIONS(X) \
    X(int32_t, OMBREL_light_create, (const char* name, const double location[3])) \
    X(int32_t, OMBREL_light_delete, (int32_t light)) \
    X(int32_t, OMBREL_light_get_first_light, (void)) \
    X(int32_t, OMBREL_light_get_next_light, (int32_t light)) \
    X(int32_t, OMBREL_light_get_using_name, (const char* name)) \
    X(int32_t, OMBREL_light_set_name, (int32_t light, const char* name)) \
    X(int32_t, OMBREL_light_set_save_flag, (int32_t light, int32_t flag)) \
    X(int32_t, OMBREL_light_get_location, (int32_t light, double location[3])) \
    X(int32_t, OMBREL_light_set_location, (int32_t light, const double location[3])) \
    X(int32_t, OMBREL_light_get_direction, (int32_t light, double direction[3])) \
    X(int32_t, OMBREL_light_set_direction, (int32_t light, const double direction[3])) \
    X(int32_t, OMBREL_light_get_color, (int32_t light, uint8_t rgb[3])) \
    X(int32_t, OMBREL_light_set_color, (int32_t light, const uint8_t rgb[3])) \
    X(double, OMBREL_light_get_ambient, (int32_t light)) \
    X(int32_t, OMBREL_light_set_ambient, (int32_t light, double value)) \
    X(double, OMBREL_light_get_diffuse, (int32_t light)) \
    X(int32_t, OMBREL_light_set_diffuse, (int32_t light, double value)) \
    X(double, OMBREL_light_get_specular, (int32_t light)) \
    X(int32_t, OMBREL_light_set_specular, (int32_t light, double value)) \
    X(double, OMBREL_light_get_specular_shining, (int32_t light)) \
    X(int32_t, OMBREL_light_set_specular_shining, (int32_t light, double value)) \
    X(double, OMBREL_light_get_distance_reach, (int32_t light)) \
    X(int32_t, OMBREL_light_set_distance_reach, (int32_t light, double value)) \
    X(int32_t, OMBREL_light_get_type_of_light, (int32_t light)) \
    X(int32_t, OMBREL_light_set_type_of_light, (int32_t light, int32_t flags)) \
    X(int32_t, OMBREL_light_disable, (int32_t light, int32_t disable)) \
    X(int32_t, OMBREL_light_is_disabled, (int32_t light)) \
    X(int32_t, OMBREL_light_set_ray_tracing, (int32_t light, int32_t on)) \
    X(int32_t, OMBREL_light_is_ray_tracing, (int32_t light)) \
    X(int32_t, OMBREL_light_activate, (int32_t light, int32_t reserved)) \
    X(int32_t, OMBREL_light_activate_before_each_render, (int32_t light, int32_t state, int32_t reserved)) \
    X(int32_t, OMBREL_light_is_activated_before_render, (int32_t light, int32_t* state)) \
    X(int32_t, OMBREL_light_get_entity_to_light, (int32_t light)) \
    X(int32_t, OMBREL_light_set_entity_to_light, (int32_t light, int32_t group)) \
    X(int32_t, OMBREL_light_calcualte_vertices_normals_automatically, (int32_t mode))

OMBREL_DECLARE_FUNCTIONS(OMBREL_LIGHT_FUNCTIONS)

#endif /* OMBREL_LIGHT_H */
