/* Engine interface: common types, linkage and the named constants of the calls. */
#ifndef OMBREL_TYPES_H
#define OMBREL_TYPES_H

#include <stdint.h>

#ifdef __cplusplus
#  define OMBREL_API extern "C" __attribute__((visibility("default")))
#else
#  define OMBREL_API __attribute__((visibility("default")))
#endif

/* The engine library and the tests that link it directly see plain declarations;
   the editor sees one pointer per entry point, bound by the loader (ombrel_loader.h),
   so its code still calls each function by its own name. */
#define OMBREL_DECLARE_DIRECT_(ret, name, params) OMBREL_API ret name params;
#ifdef __cplusplus
#  define OMBREL_DECLARE_BOUND_(ret, name, params) extern "C" ret(*name) params;
#else
#  define OMBREL_DECLARE_BOUND_(ret, name, params) extern ret(*name) params;
#endif
#ifdef OMBREL_LINK_DIRECT
#  define OMBREL_DECLARE_FUNCTIONS(LIST) LIST(OMBREL_DECLARE_DIRECT_)
#else
#  define OMBREL_DECLARE_FUNCTIONS(LIST) LIST(OMBREL_DECLARE_BOUND_)
#endif

enum { OMBREL_OK = 0, OMBREL_FAIL = -1, OMBREL_NAME_MAX = 255, OMBREL_PATH_MAX = 4096 };
enum { OMBREL_SAVE_GEOMETRY = 0x0001, OMBREL_SAVE_FILLS = 0x0002, OMBREL_SAVE_PORTABLE = 0x0040,
       OMBREL_SAVE_LIGHTMAPS = 0x0200, OMBREL_SAVE_WORLD_OBJECTS = 0x1000,
       OMBREL_SAVE_WORLD = 0x1203, OMBREL_SAVE_MODEL = 0x243 };
enum { OMBREL_LOAD_EDITOR = 4 };
enum { OMBREL_MODE_WORLD = 0, OMBREL_MODE_OWN_AXES = 2 };
enum { OMBREL_PROJ_VISIBLE = 0, OMBREL_PROJ_OUTSIDE = 1, OMBREL_PROJ_OFFSCREEN = 2, OMBREL_PROJ_NONE = -1 };
enum { OMBREL_PLANE_ON = 0, OMBREL_PLANE_FRONT = 1, OMBREL_PLANE_BACK = 2 };
enum { OMBREL_CHASE_NONE = 0, OMBREL_CHASE_LOCATION = 2, OMBREL_CHASE_PRECISE = 3, OMBREL_CHASE_FLEXIBLE = 4,
       OMBREL_CHASE_PHYSICS = 9, OMBREL_CHASE_TRACK = 135, OMBREL_CHASE_TRACK_AIRPLANE = 136 };
enum { OMBREL_LIGHT_DIRECTIONAL = 1, OMBREL_LIGHT_DECAY_LINEAR = 2, OMBREL_LIGHT_DECAY_SQUARE = 4,
       OMBREL_LIGHT_AMBIENT = 8, OMBREL_LIGHT_DIFFUSE = 16, OMBREL_LIGHT_SPECULAR = 32, OMBREL_LIGHT_DEFAULT = 58 };
enum { OMBREL_BLEND_NONE = 0x00, OMBREL_BLEND_DARK = 0x31, OMBREL_BLEND_OPAQUE_FILTER = 0x43, OMBREL_BLEND_NORMAL = 0x52,
       OMBREL_BLEND_CONTROL = 0x44, OMBREL_BLEND_BRIGHT_TRANSPARENT = 0x32, OMBREL_BLEND_BRIGHT_TRANSLUCENT = 0x42,
       OMBREL_BLEND_LIGHT_SOURCE = 0x22, OMBREL_BLEND_INVERSE = 0x51 };
enum { OMBREL_ANIM_FRONT = 1, OMBREL_ANIM_FRONT_SIDED, OMBREL_ANIM_SIDE, OMBREL_ANIM_BACK_SIDED, OMBREL_ANIM_BACK };
/* Kinds answered by OMBREL_ext_handle_kind. */
enum { OMBREL_KIND_NONE = 0, OMBREL_KIND_GROUP, OMBREL_KIND_POLYGON, OMBREL_KIND_POINT, OMBREL_KIND_CAMERA,
       OMBREL_KIND_LIGHT, OMBREL_KIND_TRACK, OMBREL_KIND_BACKGROUND, OMBREL_KIND_BITMAP, OMBREL_KIND_ANIMATION,
       OMBREL_KIND_PICTURE, OMBREL_KIND_SURFACE };

typedef void (*OMBREL_present_fn)(int32_t surface, void* user);
typedef void (*OMBREL_log_fn)(int32_t level, const char* text, void* user);

#endif /* OMBREL_TYPES_H */
