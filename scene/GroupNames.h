// Names the user types for groups.
#pragma once

#include <cstdint>
#include <string>

namespace scene {

// The trimmed name itself when no other group has it, else the trimmed name
// followed by the first two-digit number (01, 02, ...) that makes a name no
// other group has; names are compared as the engine stores them (254 bytes at
// most, the trimmed name shortened between characters to leave room for the
// number). The renamed group's own name is free.
std::string GetUniqueGrpName(const std::string& name, int32_t renamed = 0);

}  // namespace scene
