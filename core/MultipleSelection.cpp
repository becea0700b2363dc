#include "MultipleSelection.h"

#include "BoundingBox.h"
#include "CoreError.h"
#include "Globals.h"
#include "Wireframe.h"

#include <algorithm>
#include <string>

namespace {

bool contains(const std::vector<int32_t>& list, int32_t handle) {
    return std::find(list.begin(), list.end(), handle) != list.end();
}

bool addUnique(std::vector<int32_t>& list, int32_t handle) {
    if (contains(list, handle)) return false;
    list.push_back(handle);
    return true;
}

// The position removed, or -1 when the handle is absent.
std::ptrdiff_t removeFirst(std::vector<int32_t>& list, int32_t handle) {
    auto it = std::find(list.begin(), list.end(), handle);
    if (it == list.end()) return -1;
    std::ptrdiff_t at = it - list.begin();
    list.erase(it);
    return at;
}

int32_t at(const std::vector<int32_t>& list, int32_t position, const char* kind) {
    if (position < 1 || position > static_cast<int32_t>(list.size()))
        core::raiseError(std::string("No selected ") + kind + " at position " + std::to_string(position));
    return list[static_cast<std::size_t>(position - 1)];
}

}  // namespace

void MultipleSelection::AddGrpHandles(int32_t handle) {
    if (!addUnique(grps_, handle)) return;
    auto box = std::make_shared<BoundingBox>();
    boxes_.push_back(box);
    box->Initialize(handle);
}

void MultipleSelection::AddLightHandles(int32_t handle) { addUnique(lights_, handle); }
void MultipleSelection::AddCamHandles(int32_t handle) { addUnique(cams_, handle); }
void MultipleSelection::AddTrackHandles(int32_t handle) { addUnique(tracks_, handle); }

void MultipleSelection::RemoveGrp(int32_t handle) {
    // The box goes exactly when its group goes, so the two lists stay in step.
    std::ptrdiff_t removed = removeFirst(grps_, handle);
    if (removed >= 0) boxes_.erase(boxes_.begin() + removed);
}

void MultipleSelection::RemoveLight(int32_t handle) { removeFirst(lights_, handle); }
void MultipleSelection::RemoveCam(int32_t handle) { removeFirst(cams_, handle); }
void MultipleSelection::RemoveTrack(int32_t handle) { removeFirst(tracks_, handle); }

int32_t MultipleSelection::GetGrp(int32_t position) const { return at(grps_, position, "group"); }
int32_t MultipleSelection::GetLight(int32_t position) const { return at(lights_, position, "light"); }
int32_t MultipleSelection::GetCam(int32_t position) const { return at(cams_, position, "camera"); }
int32_t MultipleSelection::GetTrack(int32_t position) const { return at(tracks_, position, "track"); }

const BoundingBox& MultipleSelection::GetGrpBndBox(int32_t position) const {
    at(grps_, position, "group");
    return *boxes_[static_cast<std::size_t>(position - 1)];
}

bool MultipleSelection::HasGrp(int32_t handle) const { return contains(grps_, handle); }
bool MultipleSelection::HasLight(int32_t handle) const { return contains(lights_, handle); }
bool MultipleSelection::HasCam(int32_t handle) const { return contains(cams_, handle); }
bool MultipleSelection::HasTrack(int32_t handle) const { return contains(tracks_, handle); }

void MultipleSelection::Reset() {
    grps_.clear();
    cams_.clear();
    lights_.clear();
    tracks_.clear();
    boxes_.clear();
}

void MultipleSelection::DrawGrpBndBoxes(int Index) const {
    for (const auto& box : boxes_) box->Draw(Index);
}

void MultipleSelection::InitializeBndBoxes() {
    for (std::size_t i = 0; i < grps_.size(); ++i) boxes_[i]->Initialize(grps_[i]);
}

void MultipleSelection::DrawGrpsWires(int Index) const {
    if (!Globals::OverlayWireframe) core::raiseError("The wireframe drawer has not been created");
    for (int32_t g : grps_) Globals::OverlayWireframe->Draw(g, Index);
}
