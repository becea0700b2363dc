/* Engine interface: names of any engine object. */
#ifndef OMBREL_ENTITY_H
#define OMBREL_ENTITY_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_ENTITY_FUNCTIONS(X) \
    X(int32_t, OMBREL_entity_get_name, (int32_t handle, char* buffer, int32_t buffer_len)) \
    X(int32_t, OMBREL_entity_get_name_to_chase, (int32_t camera_or_group, char* buffer, int32_t buffer_len))

OMBREL_DECLARE_FUNCTIONS(OMBREL_ENTITY_FUNCTIONS)

#endif /* OMBREL_ENTITY_H */
