// Names the user types for groups.
#pragma once

#include <string>

namespace scene {

// The trimmed name itself when no group has it, else the trimmed name followed
// by the first two-digit number (01, 02, ...) that makes a name no group has.
std::string GetUniqueGrpName(const std::string& name);

}  // namespace scene
