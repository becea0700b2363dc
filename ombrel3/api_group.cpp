// Groups: the tree, transforms, chase and lights.
#include "api_support.h"
#include "model.h"

#include "ombrel_group.h"

using namespace ombrel;

OMBREL_API int32_t OMBREL_group_create(const char* name) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        Group& g = createObject<Group>();
        g.name = cutName(name);
        w.groups.append(g.handle);
        touchWorld();
        return g.handle;
    });
}
