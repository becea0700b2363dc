// The main window's procedures as the other modules call them, through the hooks
// the window fills in; and the edit modes, read from its controls each time.
#pragma once

#include <string>

namespace Globals {

void UpdateCameras();
void UpdateStatusBar();
// False starts the wait state ("Please wait!", hourglass); True ends it.
void SetMousePtrToHourGlass(bool restore);
void UpdateEditGeomTabBasedOnPolsSelected();

// tabWorkspace on the object page, cmbObj "Edit Geometry", cmbObjEditGeom "Point".
bool IsPointEditing();
// The same with "Polygon".
bool IsPolygonEditing();
bool IsTextureMappingLoaded();

}  // namespace Globals
