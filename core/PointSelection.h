// Selecting points of the edited group (SelPts) by click or rubber band, drawing
// them, and the polygons they belong to.
#pragma once

#include <cstdint>

namespace Globals {

// A rect without width or height grows 2 pixels each way along that axis, so a
// click covers 5 by 5 pixels.
void WidenPointSelRect(int32_t& UpperCornerX, int32_t& UpperCornerY, int32_t& LowerCornerX, int32_t& LowerCornerY);
// Replace, add and remove: the points projecting into the rect (edges included).
void SelectPtsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
void AddPtsInRectToSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
void RemovePtsInRectFromSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX,
                            int32_t LowerCornerY);
bool IsPtInSelPts(int32_t point);
// Removes the first entry equal to the point; later entries move down.
void RemovePtFromSelPts(int32_t point);
// The mode from the keys held now: Ctrl adds, else Shift removes, else replaces.
void SelectPtsByKeyState(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
// A 4 by 4 red mark on OverlayDC at each selected point, in point editing only.
void DrawSelectedPts(int Index);

}  // namespace Globals
