// Picking and rubber-band selection of groups, cameras and lights with the select
// tool: no key replaces the selection, Ctrl adds to it, Shift removes from it.
// Groups are hit through their own polygons, cameras and lights through their
// markers' polygons.
#pragma once

#include <cstdint>

namespace Globals {

// The release entry: corners from the press and release, the mode from the keys
// held now, then the selection's average centre. Only with the select tool.
void SelectMultipleObjects();
// Smaller and larger of the press and release points, rounded (ties to even).
void SetUpperAndLowerCorners(int32_t& UpperCornerX, int32_t& UpperCornerY, int32_t& LowerCornerX,
                             int32_t& LowerCornerY);
// PickedEntityType/Handle: the top-level group (1), camera (2) or light (4) drawn
// at the pixel of the current camera, else kind 0.
void PickEntityAt(int32_t x, int32_t y);
void SelectObjsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
void AddObjsInRectToSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
void RemoveObjsInRectFromSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX,
                             int32_t LowerCornerY);
// CurrSelEntityType from CurrMultiSel's counts: 0 none, one group, camera or light
// (and, when oneTrackCounts, track) with its handle, 6 for several; the handle
// stays for none and several.
void SetSelKindFromMultiSel(bool oneTrackCounts = false);
// Drops the first selected group that is not directly under the root.
void RemoveChildGrpFromSel();
// RootGrp when the father chain reaches it, else the chain's last group; 0 for a
// group without a father.
int32_t GetTopMostFatherGrp(int32_t group);
// The ancestor directly under RootGrp (the group itself when the root is its
// father); the chain's last group when it never reaches the root; 0 without father.
int32_t GetTopMostFatherGrpExcludingRootGrp(int32_t group);
// Asks the engine whether each polygon of the selected group is valid, so it
// re-checks them after an edit.
void ValidateChangedPolygons();
// The group owning the polygon drawn at the pixel, 0 when none.
int32_t GetClickedGroup(float x, float y);
// While the left button (1) is held, the rubber band to (x, y): yellow, green with
// Ctrl, red with Shift.
void DrawSelRectForKeyState(int button, float x, float y);
// The rubber band from the press point to (x, y) on the active view's transient
// layer, dash-dot, one pixel; the previous band is wiped.
void DrawSelectionRect(float x, float y, uint8_t red, uint8_t green, uint8_t blue);

}  // namespace Globals
