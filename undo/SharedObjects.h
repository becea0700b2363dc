// The editor's shared objects as the actions use them; a missing one is an error
// the Undo or Redo command reports.
#pragma once

#include "core/BoundingBox.h"
#include "core/CoreError.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"

#include <memory>
#include <string>

namespace undo {

template <class T>
T& Shared(const std::shared_ptr<T>& object, const char* name) {
    if (!object) core::raiseError(std::string(name) + " has not been created");
    return *object;
}

inline BoundingBox& SelGrpBndBox() { return Shared(Globals::SelGrpBndBox, "The selection box"); }
inline MultipleSelection& CurrMultiSel() { return Shared(Globals::CurrMultiSel, "The current selection"); }
inline CameraGrp& SceneCameras() { return Shared(Globals::SceneCameras, "The camera markers"); }
inline LightGrp& SceneLights() { return Shared(Globals::SceneLights, "The light markers"); }

// The cameras, groups and lights of CurrMultiSel, in that order of kinds; tracks
// are not part of a transform record.
void CopyCurrMultiSelWithoutTracks(MultipleSelection& dst);

}  // namespace undo
