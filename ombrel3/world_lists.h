// Look-ups shared by the world lists of named objects (lights, tracks,
// backgrounds, animations).
#pragma once

#include "api_support.h"

#include <string>

namespace ombrel {

// The first object of kind T in list whose name equals name, compared after the
// same cut stored names get; 0 when none.
template <class T>
int32_t firstNamed(const OrderedSet& list, const char* name) {
    const std::string wanted = cutName(name);
    int32_t found = 0;
    list.forEach([&](int32_t h) {
        const T* obj = lookup<T>(h);
        if (!found && obj && obj->name == wanted) found = h;
    });
    return found;
}

// h or the first object after it whose save flag is 1; 0 at the end. Lists of
// lights and tracks skip fake-deleted objects this way.
template <class T>
int32_t firstSavedFrom(const OrderedSet& list, int32_t h) {
    for (; h != 0; h = list.next(h))
        if (const T* obj = lookup<T>(h); obj && obj->save) return h;
    return 0;
}

// Takes h off its world list and destroys it; its handle goes stale.
inline void destroyListed(OrderedSet& list, int32_t h) {
    list.erase(h);
    state().handles.erase(h);
}

}  // namespace ombrel
