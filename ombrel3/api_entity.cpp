// Names of any engine object.
#include "api_support.h"

#include "ombrel_entity.h"

using namespace ombrel;

namespace {

// The stored name of a named kind; a point, picture or surface has the name "".
std::string nameOf(const Object& o) {
    switch (o.kind) {
    case Kind::Group: return static_cast<const Group&>(o).name;
    case Kind::Polygon: return static_cast<const Polygon&>(o).name;
    case Kind::Camera: return static_cast<const Camera&>(o).name;
    case Kind::Light: return static_cast<const Light&>(o).name;
    case Kind::Track: return static_cast<const Track&>(o).name;
    case Kind::Background: return static_cast<const Background&>(o).name;
    case Kind::Animation: return static_cast<const Animation&>(o).name;
    case Kind::Bitmap: return static_cast<const Bitmap&>(o).name;  // a path: never cut
    default: return {};
    }
}

void clear(char* buffer, int32_t len) {
    if (buffer && len >= 1) buffer[0] = '\0';
}

}  // namespace

OMBREL_API int32_t OMBREL_entity_get_name(int32_t handle, char* buffer, int32_t buffer_len) {
    return guarded(__func__, -1, [&] {
        const Object* o = state().handles.find(handle);
        if (!o) {
            clear(buffer, buffer_len);
            throw ApiError(handle == 0 ? "no object given (handle 0)" : "stale handle " + std::to_string(handle));
        }
        std::string name = nameOf(*o);
        if (o->kind != Kind::Bitmap && name.size() > 254) name.resize(254);
        return copyOut(name, buffer, buffer_len);
    });
}

OMBREL_API int32_t OMBREL_entity_get_name_to_chase(int32_t camera_or_group, char* buffer, int32_t buffer_len) {
    return guarded(__func__, -1, [&] {
        if (const Group* g = lookup<Group>(camera_or_group)) return copyOut(g->chase.nameToChase, buffer, buffer_len);
        if (const Camera* c = lookup<Camera>(camera_or_group)) return copyOut(c->chase.nameToChase, buffer, buffer_len);
        clear(buffer, buffer_len);
        throw ApiError("handle names neither a camera nor a group");
    });
}
