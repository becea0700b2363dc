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
// The panel of the selected camera or light shows what the engine holds now. Run
// after every change that reaches them from outside their panel (drags, the
// numeric and align dialogs, Undo and Redo, merges), so a later panel edit, which
// applies the panel's other fields again, never puts old values back.
void RefillEntityPanel();

// tabWorkspace on the object page, cmbObj "Edit Geometry", cmbObjEditGeom "Point".
bool IsPointEditing();
// The same with "Polygon".
bool IsPolygonEditing();
bool IsTextureMappingLoaded();

// The wait state for the length of a scope: started at construction, ended on
// every way out. On the normal way (end) a failure rises to the trap like any
// other; on the way out of an error it is only written to stderr.
class WaitState {
public:
    WaitState();
    ~WaitState();
    WaitState(const WaitState&) = delete;
    WaitState& operator=(const WaitState&) = delete;

    void end();

private:
    bool ended_ = false;
};

}  // namespace Globals
