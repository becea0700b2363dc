#include "TrackPointSelection.h"

#include "Globals.h"
#include "Maths.h"
#include "TrackPointEdits.h"

#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include "ombrel.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Globals {
namespace {

struct Rect {
    int32_t left, top, right, bottom;
    bool holds(const PixelPt& p) const { return p[0] >= left && p[0] <= right && p[1] >= top && p[1] <= bottom; }
};

int32_t selectedTrack() { return CurrSelEntityType == SelTrack ? CurrSelEntityHandle : 0; }

// One flag per point of the track: set for those projecting into the rect.
std::vector<char> pointsInRect(int32_t track, const Rect& rect) {
    const std::vector<double> points = ReadTrackPoints(track);
    std::vector<char> inside(points.size() / 3, 0);
    for (std::size_t i = 0; i < inside.size(); ++i) {
        PixelPt px = {0, 0};
        if (OMBREL_engine_3D_point_to_2D(&points[3 * i], px.data()) == 0 && rect.holds(px)) inside[i] = 1;
    }
    return inside;
}

bool marked(const std::vector<char>& flags, int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < flags.size() && flags[static_cast<std::size_t>(index)];
}

// The list keeps one unused entry before the count's.
void fitSelectionToCount() { SelTrkPts.resize(static_cast<std::size_t>(NumSelTrkPts) + 1); }

}  // namespace

void IsTrackPtSelected(int32_t index, bool& found) {
    found = false;
    for (int32_t i = 1; i <= NumSelTrkPts; ++i)
        if (SelTrkPts[static_cast<std::size_t>(i)] == index) {
            found = true;
            return;
        }
}

void RemoveSelTrackPt(int32_t index) {
    const auto first = SelTrkPts.begin() + 1, last = first + NumSelTrkPts;
    const auto at = std::find(first, last, index);
    if (at == last) return;
    std::copy(at + 1, last, at);
    --NumSelTrkPts;
    fitSelectionToCount();
}

// A band over a long track would search the list once per point: one flag per
// point says which are selected already.
void AddTrackPtsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    const int32_t track = selectedTrack();
    if (track == 0) return;
    const std::vector<char> inside = pointsInRect(track, {UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY});
    std::vector<char> selected(inside.size(), 0);
    for (int32_t i = 1; i <= NumSelTrkPts; ++i) {
        const int32_t index = SelTrkPts[static_cast<std::size_t>(i)];
        if (index >= 0 && static_cast<std::size_t>(index) < selected.size()) selected[static_cast<std::size_t>(index)] = 1;
    }
    fitSelectionToCount();
    for (std::size_t i = 0; i < inside.size(); ++i) {
        if (!inside[i] || selected[i]) continue;
        SelTrkPts.push_back(static_cast<int32_t>(i));
        ++NumSelTrkPts;
    }
}

// One pass over the selection instead of one removal per point.
void RemoveTrackPtsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    const int32_t track = selectedTrack();
    if (track == 0) return;
    const std::vector<char> inside = pointsInRect(track, {UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY});
    const auto first = SelTrkPts.begin() + 1, last = first + NumSelTrkPts;
    const auto kept = std::remove_if(first, last, [&](int32_t index) { return marked(inside, index); });
    NumSelTrkPts = static_cast<int32_t>(kept - first);
    fitSelectionToCount();
}

void ReplaceTrackPtsInRect(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX, int32_t LowerCornerY) {
    if (selectedTrack() == 0) return;
    NumSelTrkPts = 0;
    AddTrackPtsInRect(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
}

void SelectTrackPtsByKeyState(int32_t UpperCornerX, int32_t UpperCornerY, int32_t LowerCornerX,
                              int32_t LowerCornerY) {
    if (platform::GetAsyncKeyState(platform::vk::Control) < 0)
        AddTrackPtsInRect(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
    else if (platform::GetAsyncKeyState(platform::vk::Shift) < 0)
        RemoveTrackPtsInRect(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
    else
        ReplaceTrackPtsInRect(UpperCornerX, UpperCornerY, LowerCornerX, LowerCornerY);
}

bool FindTrackEdgeAt(int32_t track, int32_t x, int32_t y, int32_t& edge, Point3d& point) {
    const std::vector<double> points = ReadTrackPoints(track);
    const auto n = static_cast<int32_t>(points.size() / 3);
    const bool cyclic = OMBREL_track_is_cyclic(track) == 1;
    const double t = TrackEdgeTolerance;
    const PixelPt c = {x, y};
    for (int32_t i = 0; i < n; ++i) {
        const int32_t j = i + 1 < n ? i + 1 : 0;
        if (i + 1 >= n && !cyclic) break;
        const double* p1 = &points[3 * static_cast<std::size_t>(i)];
        const double* p2 = &points[3 * static_cast<std::size_t>(j)];
        if (i == j || (p1[0] == p2[0] && p1[1] == p2[1] && p1[2] == p2[2])) continue;
        PixelPt a = {0, 0}, b = {0, 0};
        // Only an edge drawn as projected: once the near plane has moved an end,
        // a fraction of the drawn line no longer is that fraction of the edge.
        if (OMBREL_engine_3D_edge_to_2D(p1, p2, a.data(), b.data()) != 0) continue;
        const double ab = Maths::Distance2D(a, b);
        if (ab == 0) continue;
        PixelPt f = {0, 0};
        Maths::ClosestPointOnLine2D(c, a, b, f);
        if (Maths::Distance2D(f, c) > t) continue;
        if (Maths::Distance2D(a, c) + Maths::Distance2D(b, c) > t + std::sqrt(ab * ab + t * t)) continue;
        // The world length along the edge in the proportion of the pixels.
        const double along = Maths::Distance2D(a, f) / ab;
        for (std::size_t k = 0; k < 3; ++k) point[k] = p1[k] + (p2[k] - p1[k]) * along;
        edge = i;
        return true;
    }
    return false;
}

}  // namespace Globals
