// Renaming groups, polygons, cameras, tracks, lights and backgrounds by editing their
// labels in the trees. Each answers the text the node keeps, or nothing when the
// edit is refused (the label keeps its text); a rename is recorded for undo, a
// text that keeps the name changes and records nothing.
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
// A camera's (kind 2), track's (3), light's (4) or background's (5) new name is
// the trimmed text as it is (they are found by handle; names may repeat); a text
// of blanks only, another kind or a handle of another kind is refused.
std::optional<std::string> RenameEntityFromLabel(int32_t kind, int32_t handle, const std::string& typed);

}  // namespace scene
