#include "EntityNames.h"

#include "core/StringProcedures.h"
#include "ombrel.h"

#include <cstdint>

namespace scene {
namespace {

// The engine finds entities by name whether or not their deletion can still be
// undone, so a name given back by Undo is never given twice.
template <class Find>
std::string firstFreeName(const char* word, Find find) {
    return Globals::FirstFreeName(word, false, [&](const std::string& name) { return find(name.c_str()) != 0; });
}

}  // namespace

std::string GetNewLightName() { return firstFreeName("Light", OMBREL_light_get_using_name); }
std::string GetNewCamName() { return firstFreeName("Camera", OMBREL_camera_get_using_name); }
std::string GetNewTrkName() { return firstFreeName("Track", OMBREL_track_get_using_name); }
std::string GetNewBkgName() { return firstFreeName("Background", OMBREL_background_get_handle); }

}  // namespace scene
