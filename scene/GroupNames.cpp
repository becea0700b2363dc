#include "GroupNames.h"

#include "core/EntityProcedures.h"
#include "core/StringProcedures.h"

#include "ombrel.h"

#include <unordered_set>

namespace scene {

std::string GetUniqueGrpName(const std::string& name, int32_t renamed) {
    // Every group counts, those waiting in the undo history and the markers too,
    // as the engine's look-up by name finds them.
    std::unordered_set<std::string> taken;
    for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g))
        if (g != renamed) taken.insert(Globals::GetEntityName(g));
    return Globals::FirstFreeName(Globals::Trim(name), true,
                                  [&](const std::string& candidate) { return taken.count(candidate) != 0; });
}

}  // namespace scene
