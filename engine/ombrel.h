/* Engine interface: every family at once. */
#ifndef OMBREL_H
#define OMBREL_H

#include "ombrel_types.h"
#include "ombrel_engine.h"
#include "ombrel_entity.h"
#include "ombrel_group.h"
#include "ombrel_polygon.h"
#include "ombrel_point.h"
#include "ombrel_camera.h"
#include "ombrel_light.h"
#include "ombrel_track.h"
#include "ombrel_background.h"
#include "ombrel_bitmap.h"
#include "ombrel_animation.h"
#include "ombrel_utilities.h"
#include "ombrel_math.h"
#include "ombrel_ext.h"

/* The 280 calls the editor makes, then the host-integration calls. */
#define OMBREL_EDITOR_FUNCTIONS(X) \
    OMBREL_ENGINE_FUNCTIONS(X) OMBREL_ENTITY_FUNCTIONS(X) OMBREL_GROUP_FUNCTIONS(X) \
    OMBREL_POLYGON_FUNCTIONS(X) OMBREL_POINT_FUNCTIONS(X) OMBREL_CAMERA_FUNCTIONS(X) \
    OMBREL_LIGHT_FUNCTIONS(X) OMBREL_TRACK_FUNCTIONS(X) OMBREL_BACKGROUND_FUNCTIONS(X) \
    OMBREL_BITMAP_FUNCTIONS(X) OMBREL_ANIMATION_FUNCTIONS(X) OMBREL_UTILITIES_FUNCTIONS(X) \
    OMBREL_MATH_FUNCTIONS(X)
#define OMBREL_ALL_FUNCTIONS(X) OMBREL_EDITOR_FUNCTIONS(X) OMBREL_EXT_FUNCTIONS(X)

#endif /* OMBREL_H */
