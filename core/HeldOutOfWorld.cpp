#include "HeldOutOfWorld.h"

#include <unordered_set>

namespace Globals {
namespace {

std::unordered_set<int32_t>& held() {
    static std::unordered_set<int32_t> handles;
    return handles;
}

}  // namespace

bool IsHeldOutOfWorld(int32_t handle) { return held().count(handle) != 0; }

void SetHeldOutOfWorld(int32_t handle, bool isHeld) {
    if (isHeld)
        held().insert(handle);
    else
        held().erase(handle);
}

}  // namespace Globals
