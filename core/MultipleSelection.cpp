#include "MultipleSelection.h"

#include "BoundingBox.h"
#include "CoreError.h"
#include "Globals.h"
#include "Wireframe.h"
#include "myLine.h"

#include <algorithm>
#include <string>

namespace {

int32_t at(const std::vector<int32_t>& list, int32_t position, const char* kind) {
    if (position < 1 || position > static_cast<int32_t>(list.size()))
        core::raiseError(std::string("No selected ") + kind + " at position " + std::to_string(position));
    return list[static_cast<std::size_t>(position - 1)];
}

}  // namespace

bool MultipleSelection::Handles::add(int32_t handle) {
    if (!index.insert(handle).second) return false;
    list.push_back(handle);
    return true;
}

std::ptrdiff_t MultipleSelection::Handles::remove(int32_t handle) {
    if (index.erase(handle) == 0) return -1;
    auto it = std::find(list.begin(), list.end(), handle);
    const std::ptrdiff_t position = it - list.begin();
    list.erase(it);
    return position;
}

std::vector<std::size_t> MultipleSelection::Handles::removeEvery(const Handles& other) {
    std::vector<std::size_t> removed;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (other.contains(list[i])) {
            index.erase(list[i]);
            removed.push_back(i);
        } else {
            list[kept++] = list[i];
        }
    }
    list.resize(kept);
    return removed;
}

void MultipleSelection::Handles::clear() {
    list.clear();
    index.clear();
}

void MultipleSelection::AddGrpHandles(int32_t handle) {
    if (!grps_.add(handle)) return;
    auto box = std::make_shared<BoundingBox>();
    boxes_.push_back(box);
    cornersKept_ = false;
    box->Initialize(handle);
}

void MultipleSelection::AddLightHandles(int32_t handle) { lights_.add(handle); }
void MultipleSelection::AddCamHandles(int32_t handle) { cams_.add(handle); }
void MultipleSelection::AddTrackHandles(int32_t handle) { tracks_.add(handle); }

void MultipleSelection::RemoveGrp(int32_t handle) {
    // The box goes exactly when its group goes, so the two lists stay in step.
    const std::ptrdiff_t removed = grps_.remove(handle);
    if (removed >= 0) boxes_.erase(boxes_.begin() + removed);
    cornersKept_ = false;
}

void MultipleSelection::RemoveLight(int32_t handle) { lights_.remove(handle); }
void MultipleSelection::RemoveCam(int32_t handle) { cams_.remove(handle); }
void MultipleSelection::RemoveTrack(int32_t handle) { tracks_.remove(handle); }

void MultipleSelection::RemoveEvery(const MultipleSelection& other) {
    const std::vector<std::size_t> gone = grps_.removeEvery(other.grps_);
    if (!gone.empty()) {
        std::size_t kept = 0, next = 0;
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            if (next < gone.size() && gone[next] == i) {
                ++next;
                continue;
            }
            boxes_[kept++] = std::move(boxes_[i]);
        }
        boxes_.resize(kept);
        cornersKept_ = false;
    }
    cams_.removeEvery(other.cams_);
    lights_.removeEvery(other.lights_);
    tracks_.removeEvery(other.tracks_);
}

int32_t MultipleSelection::GetGrp(int32_t position) const { return at(grps_.list, position, "group"); }
int32_t MultipleSelection::GetLight(int32_t position) const { return at(lights_.list, position, "light"); }
int32_t MultipleSelection::GetCam(int32_t position) const { return at(cams_.list, position, "camera"); }
int32_t MultipleSelection::GetTrack(int32_t position) const { return at(tracks_.list, position, "track"); }

const BoundingBox& MultipleSelection::GetGrpBndBox(int32_t position) const {
    at(grps_.list, position, "group");
    return *boxes_[static_cast<std::size_t>(position - 1)];
}

bool MultipleSelection::HasGrp(int32_t handle) const { return grps_.contains(handle); }
bool MultipleSelection::HasLight(int32_t handle) const { return lights_.contains(handle); }
bool MultipleSelection::HasCam(int32_t handle) const { return cams_.contains(handle); }
bool MultipleSelection::HasTrack(int32_t handle) const { return tracks_.contains(handle); }

void MultipleSelection::Reset() {
    grps_.clear();
    cams_.clear();
    lights_.clear();
    tracks_.clear();
    boxes_.clear();
    cornersKept_ = false;
}

void MultipleSelection::DrawGrpBndBoxes(int) const {
    if (boxes_.empty()) return;
    // One painter for every box: made per line, its pen, brush and font cost
    // far more than the line.
    myLine lines(myLine::kNoLimit);
    lines.SetDC(Globals::OverlayDC);
    if (!cornersKept_ || cornersRead_ != BoundingBox::Initializations()) {
        drawnCorners_.clear();
        drawnCorners_.reserve(8 * boxes_.size());
        for (const auto& box : boxes_) {
            const std::array<Point3d, 8>& corners = box->DrawnCorners();
            drawnCorners_.insert(drawnCorners_.end(), corners.begin(), corners.end());
        }
        cornersRead_ = BoundingBox::Initializations();
        cornersKept_ = true;
    }
    lines.QueueEdgeGroups(drawnCorners_.data(), 8, BoundingBox::Edges().data(), 12, boxes_.size());
    lines.Flush();
}

void MultipleSelection::InitializeBndBoxes() {
    for (std::size_t i = 0; i < grps_.list.size(); ++i) boxes_[i]->Initialize(grps_.list[i]);
}

void MultipleSelection::DrawGrpsWires(int Index) const {
    if (!Globals::OverlayWireframe) core::raiseError("The wireframe drawer has not been created");
    for (int32_t g : grps_.list) Globals::OverlayWireframe->Draw(g, Index);
}
