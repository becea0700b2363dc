// The colour button of the group panel: the selected group, or its selected
// polygons, take a plain colour, with their previous fills recorded for undo.
#pragma once

#include <array>
#include <cstdint>

class ActionApplyTextureToGrp;

namespace scene {

// A colour value 0x00BBGGRR as the engine takes it: red, green, blue.
std::array<uint8_t, 3> ColourBytes(int32_t colour);

// Records the fills (every polygon of the current group, or the selected
// polygons in polygon mode), then colours: the whole group, or each selected
// polygon leaving the group's own colour alone. The caller pushes the record.
void ColourSelectedGroup(ActionApplyTextureToGrp& action, int32_t colour, bool polygonMode);

}  // namespace scene
