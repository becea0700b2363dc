// The editor's global state: plain variables every window, class and module reads
// and writes directly. Object-valued ones are created by the main window's load
// step and released at its unload.
#pragma once

#include "CoreTypes.h"
#include "FixedList.h"

#include "platform/device_context.h"
#include "platform/error_trap.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ActionUndoRedo_Stack;  // the undo history, built with the undo tools
class WeldedPoints;          // one set of coincident points of the edited group
class MultipleSelection;
class BoundingBox;
class myLine;
class Wireframe;
class Camera;
class CameraGrp;
class LightGrp;

namespace Globals {

// Upper bounds of the list arrays (index 0 is never used): as many entries as the
// engine has handles, so no group the engine can hold outgrows a selection.
inline constexpr int32_t MaxEngineHandles = (1 << 24) - 1;
inline constexpr int32_t MaxPointEntries = MaxEngineHandles;
inline constexpr int32_t MaxPolygonEntries = MaxEngineHandles;

// Error and termination (the error trap writes LastErrDescription)
using ::LastErrDescription;
inline bool AppTerminating = false;

// Undo history
inline std::shared_ptr<ActionUndoRedo_Stack> UndoRedoStack;

// Navigation
inline double NavSpeedFactor = 1.0;
inline double WorldSize = 1000.0;

// Overlay drawing: the seven solid pens, created by CreateOverlayPens in the order
// white, red, blue, thick red, thick green, thick blue, thick yellow.
inline platform::GdiObject PenWhite = 0;
inline platform::GdiObject PenRed = 0;
inline platform::GdiObject PenBlue = 0;
inline platform::GdiObject PenRedThick = 0;
inline platform::GdiObject PenGreenThick = 0;
inline platform::GdiObject PenBlueThick = 0;
inline platform::GdiObject PenYellowThick = 0;
// The view buffer being drawn on; the overlay drawers select the pens into it.
inline platform::DeviceContext* OverlayDC = nullptr;
inline std::shared_ptr<myLine> OverlayLine;
inline std::shared_ptr<Wireframe> OverlayWireframe;
inline std::shared_ptr<BoundingBox> SelGrpBndBox;
inline bool ShowBndBox = true;
inline int32_t GizmoDrawWidth = 2;
inline int32_t BndBoxDrawWidth = 1;

// World
inline int32_t RootGrp = 0;
inline std::string CurrWorldFile;
inline std::array<std::shared_ptr<Camera>, 4> ViewCams;
inline int32_t ChosenViewType = ViewTop;
inline int32_t CurrToolMode = ToolSelect;
inline std::shared_ptr<CameraGrp> SceneCameras;
inline std::shared_ptr<LightGrp> SceneLights;
inline std::array<int32_t, 3> BoxSegments = {1, 1, 1};

// Current and previous selection
inline int32_t CurrSelEntityType = SelNone;
inline int32_t CurrSelEntityHandle = 0;
inline int32_t PrevSelEntityType = SelNone;
inline int32_t PrevSelEntityHandle = 0;
inline std::shared_ptr<MultipleSelection> CurrMultiSel;
inline std::shared_ptr<MultipleSelection> PrevMultiSel;
// View positions (pixels) of the last press and release in a view: the rubber band.
inline float MouseDownX = 0, MouseDownY = 0, MouseUpX = 0, MouseUpY = 0;
inline int32_t PickedEntityType = SelNone;
inline int32_t PickedEntityHandle = 0;
inline Point3d SelObjsAvgCenter = {0, 0, 0};

// Selected points, polygons and track points of the edited group or track
inline FixedList<int32_t, MaxPointEntries> SelPts{"selected points"};
inline int32_t NumSelPts = 0;
inline Point3d SelPtsAvgCenter = {0, 0, 0};
inline FixedList<int32_t, MaxPolygonEntries> SelPtsPols{"polygons of the selected points"};
inline int32_t NumSelPtsPols = 0;
inline FixedList<int32_t, MaxPolygonEntries> SelPols{"selected polygons"};
inline int32_t NumSelPols = 0;
inline Point3d SelPolsAvgCenter = {0, 0, 0};
inline FixedList<int32_t, MaxPointEntries> SelPolsRelatedPts{"points of the selected polygons"};
inline int32_t NumSelPolsRelatedPts = 0;
inline FixedList<std::shared_ptr<WeldedPoints>, MaxPointEntries> WeldedPts{"welded point entries"};
inline int32_t NumWeldedPts = 0;
inline std::vector<int32_t> SelTrkPts = {0};  // grown as points are added; index 0 unused
inline int32_t NumSelTrkPts = 0;
inline Point3d SelTrkPtsAvgCenter = {0, 0, 0};
inline Point3d TrkCenter = {0, 0, 0};

void CreateOverlayPens();
void DeleteOverlayPens();

}  // namespace Globals
