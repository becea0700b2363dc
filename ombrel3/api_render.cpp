// Rendering a view into a surface, presenting it, and gallery previews.
#include "api_support.h"

#include "ombrel_engine.h"

using namespace ombrel;

OMBREL_API int32_t OMBREL_engine_set_group_to_render(int32_t group) {
    return guarded(__func__, -1, [&] {
        World& w = needWorld();
        if (group != 0) need<Group>(group);
        w.renderGroup = group;
        return 0;
    });
}
