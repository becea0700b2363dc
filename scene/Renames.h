// Renaming groups, polygons and lights by editing their labels in the trees. Each
// answers the text the node keeps, or nothing when the edit is refused (the
// label keeps its text); a rename is recorded for undo, a text that keeps the
// name changes and records nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace scene {

// A group's new name is the trimmed text made unique (GetUniqueGrpName); a text
// of blanks only is refused.
std::optional<std::string> RenameGroupFromLabel(int32_t group, const std::string& typed);
// A polygon's new name is the trimmed text as it is (polygons are never looked up
// by name); only an empty text is refused.
std::optional<std::string> RenamePolygonFromLabel(int32_t polygon, const std::string& typed);
// A light's new name is the trimmed text as it is (lights are found by handle); a
// text of blanks only is refused.
std::optional<std::string> RenameLightFromLabel(int32_t light, const std::string& typed);

}  // namespace scene
