// Reading names and locations of engine entities, moving lights, finding a
// bitmap's file, and keeping views that look through the selected camera current.
#pragma once

#include "CoreTypes.h"

#include <cstdint>
#include <string>

namespace Globals {

// The engine name of any entity; bitmaps (absolute paths) are read in full.
std::string GetEntityName(int32_t handle);
// Location by kind; background, none and unknown kinds leave result unchanged.
void GetEntityLocation(int32_t handle, int32_t kind, Point3d& result);
// Moves the light only, not its marker.
void MoveLight(int32_t light, const Point3d& offset);
// The bitmap's file (name + ".bmp", then ".jpg", extension in any case) without
// folder and extension as the file system spells it; when neither exists, the
// name's last component + ".bmp". Never fails.
std::string GetBitmapFileName(int32_t bitmap);
// The full path of that file, or "" when neither exists.
std::string FindBitmapFilePath(int32_t bitmap);
// Views that look through the selected camera (their ViewedSceneCamera) follow it
// and are redrawn.
void SyncViewIfSelIsViewedCam();
// The other views are redrawn (the camera's marker moved in them).
void UpdateCamIfSelIsViewedCam();

}  // namespace Globals
