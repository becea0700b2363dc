// Hiding and showing groups, cameras and lights. A hidden group is disabled; a
// hidden camera or light only loses its marker (a hidden light still lights the
// world). The hidden state itself lives in the tree node's image alone.
#pragma once

#include "core/Globals.h"

#include "ombrel.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace Globals {

// The node's image says hidden; false while the window has no trees.
bool IsGrpHidden(int32_t group);
bool IsCamHidden(int32_t camera);
bool IsLightHidden(int32_t light);

void HideUnhideGroup(int32_t group, bool hide);
void HideUnhideCamera(int32_t camera, bool hide);
void HideUnhideLight(int32_t light, bool hide);
// Every group, then every camera, then every light of CurrMultiSel.
void HideUnhideMultiple(bool hide);
// By kind: a group (1), camera (2) or light (4), or CurrMultiSel (6); tracks and
// backgrounds are never hidden.
void HideUnhideEntity(int32_t kind, int32_t handle, bool hide);

// The world's walks: top-level groups (father the root group), cameras and
// lights saved with the world (the view cameras and entities whose deletion can
// still be undone are not, and have no node).
template <class Visit>
void ForEachTopLevelGroup(Visit visit) {
    for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g))
        if (OMBREL_group_get_father_group(g) == RootGrp) visit(g);
}
template <class Visit>
void ForEachWorldCamera(Visit visit) {
    for (int32_t c = OMBREL_camera_get_first_camera(); c != 0; c = OMBREL_camera_get_next_camera(c))
        if (OMBREL_camera_get_save_flag(c) == 1) visit(c);
}
template <class Visit>
void ForEachWorldLight(Visit visit) {
    for (int32_t l = OMBREL_light_get_first_light(); l != 0; l = OMBREL_light_get_next_light(l))
        if (OMBREL_ext_light_get_save_flag(l) == 1) visit(l);
}

// The top-level groups that count as selected for Hide UnSelected: the selected
// ones and those holding a selected group (hiding them would hide it too).
std::unordered_set<int32_t> TopLevelGroupsOfSelection();

// The hidden groups above the selected groups (below the root group), each once:
// while one is hidden, the selected group inside it is not seen.
std::vector<int32_t> HiddenAncestorsOfSelection();

// Every top-level group but those kept.
void HideUnhideAllGroups(bool hide, const std::unordered_set<int32_t>& kept = {});
void HideUnhideAllCameras(bool hide);
void HideUnhideAllLights(bool hide);

// Ends the commands that hide the selection or one entity: nothing selected, in
// the trees and panels too, and the views redrawn.
void DeselectAfterHide();
// Ends the commands that show, or hide all of a kind.
void RedrawAfterHideUnhide();

}  // namespace Globals
