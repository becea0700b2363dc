// Selecting polygons of the edited group (SelPols) by click or rubber band, and
// drawing their outlines.
#pragma once

#include <cstdint>

namespace Globals {

// Replace, add and remove. A click takes the polygon drawn at the pixel when it
// belongs to the group; a band takes every polygon with a point in the rect.
void SelectPolsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
void AddPolsInRectToSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
void RemovePolsInRectFromSel(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX,
                             int32_t LowerCornerY);
bool IsPolInSelPols(int32_t polygon);
// Removes the first entry equal to the polygon; later entries move down.
void RemovePolFromSelPols(int32_t polygon);
// The group's polygon drawn at the pixel, 0 when none or another group's.
int32_t GetGrpPolAtPixel(int32_t group, int32_t x, int32_t y);
// The mode from the keys held now: Ctrl adds, else Shift removes, else replaces.
void SelectPolsByKeyState(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY);
// Red outlines of the selected polygons in the view, in polygon or texture editing.
void DrawSelectedPols(int Index);

}  // namespace Globals
