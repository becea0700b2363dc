/* Engine interface: small geometric helpers. */
#ifndef OMBREL_MATH_H
#define OMBREL_MATH_H

#include "ombrel_types.h"

/* Each entry: X(return type, name, (parameters)). The engine build turns the list
   into exported definitions, the editor build into entry points bound at load time. */
#define OMBREL_MATH_FUNCTIONS(X) \
    X(double, OMBREL_math_get_distance, (const double p[3], const double q[3])) \
    X(int32_t, OMBREL_math_get_plane_point_relations, (const double plane[4], const double point[3], double tolerance, int32_t reserved)) \
    X(double, OMBREL_math_get_vector_length, (const double v[3]))

OMBREL_DECLARE_FUNCTIONS(OMBREL_MATH_FUNCTIONS)

#endif /* OMBREL_MATH_H */
