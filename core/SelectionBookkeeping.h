// Comparing, copying and querying the current and previous selection, and the box
// of a selection.
#pragma once

#include "CoreTypes.h"

#include <cstdint>

class MultipleSelection;

namespace Globals {

// PrevMultiSel = CurrMultiSel: groups, lights, cameras, tracks, each in its order.
void SaveMultiSelAsPrev();
// dst = src: cameras, groups, lights, tracks, each in its order.
void CopyMultipleSelection(MultipleSelection& dst, const MultipleSelection& src);
// The same handles in the same order, kind by kind.
bool IsMultiSelSameAsPrev();
bool IsCurrSelSameAsPrevSel();
bool IsCamSelected(int32_t camera);
bool IsLightSelected(int32_t light);
bool IsGrpSelected(int32_t group);
// Fills the box by kind; kind 6 widens the preset box by the selection's groups and
// the markers of its cameras and lights (not its tracks). A camera or light
// without a marker counts as a box of zero size at its location.
void GetSelectionBoundingBox(int32_t kind, int32_t handle, Box6d& box, const MultipleSelection& selection);

}  // namespace Globals
