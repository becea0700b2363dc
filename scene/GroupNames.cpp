#include "GroupNames.h"

#include "core/StringProcedures.h"

#include "ombrel.h"

namespace scene {

std::string GetUniqueGrpName(const std::string& name) {
    const std::string base = Globals::Trim(name);
    if (OMBREL_group_get_using_name(base.c_str()) == 0) return base;
    // Each candidate is built from the typed name, not from the one before.
    for (int32_t n = 1;; ++n) {
        std::string candidate = base + Globals::ZeroPad(n, 2);
        if (OMBREL_group_get_using_name(candidate.c_str()) == 0) return candidate;
    }
}

}  // namespace scene
