// Default names of new lights, cameras, tracks and backgrounds: the kind word and
// the first counter from 1 (at least two digits) whose name the engine does not
// know yet. Gaps are filled: with Light01 and Light03 taken, Light02 comes next.
#pragma once

#include <string>

namespace scene {

std::string GetNewLightName();
std::string GetNewCamName();
std::string GetNewTrkName();
std::string GetNewBkgName();

}  // namespace scene
