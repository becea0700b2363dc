/* Engine interface: the places of many groups and polygons among their siblings
   at once (as OMBREL_ext_group_get_index and its kin give and set them one by
   one), at a cost linear in the siblings, for an Undo that puts back thousands.
   get_indices writes each entity's place (-1 for one without) to indices.
   set_indices puts each at indices[i], the others keeping their order, in the
   order of the places (one beyond its siblings goes last; of two places for one
   entity the lower holds; a negative place, a stale handle or an entity without
   father or group is passed over) and returns how many it placed.
   Both return -1 on failure (a count below 0, a list missing). */
#ifndef OMBREL_PLACES_H
#define OMBREL_PLACES_H

#include "ombrel_types.h"

#define OMBREL_PLACES_FUNCTIONS(X) \
    X(int32_t, OMBREL_ext_get_indices, (const int32_t* handles, int32_t count, int32_t* indices)) \
    X(int32_t, OMBREL_ext_set_indices, (const int32_t* handles, const int32_t* indices, int32_t count))

OMBREL_DECLARE_FUNCTIONS(OMBREL_PLACES_FUNCTIONS)

#endif /* OMBREL_PLACES_H */
