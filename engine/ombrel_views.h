/* Engine interface: every view of a redraw in one call. OMBREL_ext_render_views_on_dcs
   renders count views, view i into surface windows[i] through camera cameras[i],
   one after another, each exactly as OMBREL_engine_render_on_dc renders it, and
   leaves the current camera, the current surface and the last rendered surface as
   the last view's OMBREL_engine_render_on_dc would. The groups to draw are gathered
   once for all the views. Returns count, or -1 with nothing rendered: a count below
   0, a list missing, or a window that is no surface.
   OMBREL_ext_copy_dc_to_screen shows the image of window, as
   OMBREL_engine_copy_image_from_dc_to_screen shows the last one rendered: 0, or -1
   when window is no surface. */
#ifndef OMBREL_VIEWS_H
#define OMBREL_VIEWS_H

#include "ombrel_types.h"

#define OMBREL_VIEWS_FUNCTIONS(X) \
    X(int32_t, OMBREL_ext_render_views_on_dcs, (int32_t count, const int32_t* windows, const int32_t* cameras)) \
    X(int32_t, OMBREL_ext_copy_dc_to_screen, (int32_t window))

OMBREL_DECLARE_FUNCTIONS(OMBREL_VIEWS_FUNCTIONS)

#endif /* OMBREL_VIEWS_H */
