/* Engine interface: many edges projected at once through the current camera and
   surface, for overlays of many thousand edges (the boxes of a large selection).
   points holds pointCount points (x, y, z each); ends holds 2 indexes into points
   per edge, so that the edges of a box share its 8 corners. pixels takes 4 per
   edge (the two ends' pixels) and results 1 per edge: for each edge exactly what
   OMBREL_engine_3D_edge_to_2D answers and writes for its two points (an edge with
   a non-finite end, or wholly behind the near plane, gets -1 and its pixels are
   left as they were). Returns count, or -1 on failure: a count below 0, a list
   missing or an index outside the points (nothing written), or no current camera
   or surface (every result -1). */
#ifndef OMBREL_EDGES_H
#define OMBREL_EDGES_H

#include "ombrel_types.h"

#define OMBREL_EDGES_FUNCTIONS(X) \
    X(int32_t, OMBREL_ext_3D_edges_to_2D, (int32_t pointCount, const double* points, int32_t count, \
                                               const int32_t* ends, int32_t* pixels, int32_t* results))

OMBREL_DECLARE_FUNCTIONS(OMBREL_EDGES_FUNCTIONS)

#endif /* OMBREL_EDGES_H */
