#include "TrackPointEdits.h"

#include "CoreError.h"
#include "Globals.h"

#include "ombrel.h"

#include <algorithm>
#include <functional>
#include <string>

namespace Globals {
namespace {

void writeTrackPoints(int32_t track, const std::vector<double>& points) {
    if (OMBREL_track_set_points_buffer(track, points.data(), static_cast<int32_t>(points.size() / 3)) != 0)
        core::raiseError(std::string("The track's points could not be written: ") + OMBREL_ext_get_last_error());
}

// One flag per point of an n-point track, set for each listed index.
std::vector<char> listed(int32_t n, std::span<const int32_t> indices) {
    std::vector<char> flags(static_cast<std::size_t>(n > 0 ? n : 0), 0);
    for (int32_t i : indices)
        if (i >= 0 && i < n) flags[static_cast<std::size_t>(i)] = 1;
    return flags;
}

}  // namespace

std::vector<double> ReadTrackPoints(int32_t track) {
    const int32_t n = OMBREL_track_get_number_of_points(track);
    std::vector<double> points(3 * static_cast<std::size_t>(n > 0 ? n : 0));
    for (int32_t i = 0; i < n; ++i)
        if (OMBREL_track_get_point(track, i, &points[3 * static_cast<std::size_t>(i)]) != 0)
            core::raiseError("Track point " + std::to_string(i) + " could not be read");
    return points;
}

void InsertTrackPtAfter(int32_t track, int32_t edge, const Point3d& point) {
    std::vector<double> points = ReadTrackPoints(track);
    const auto n = static_cast<int32_t>(points.size() / 3);
    if (edge < 0 || edge >= n) core::raiseError("Track edge " + std::to_string(edge) + " does not exist");
    points.insert(points.begin() + 3 * (edge + 1), point.begin(), point.end());
    writeTrackPoints(track, points);
}

void SortSelTrackPts(std::vector<int32_t>& sorted) {
    if (NumSelTrkPts < 0 || static_cast<std::size_t>(NumSelTrkPts) >= SelTrkPts.size())
        core::raiseError("The track point selection holds fewer than " + std::to_string(NumSelTrkPts) + " points");
    sorted.assign(SelTrkPts.begin(), SelTrkPts.begin() + 1 + NumSelTrkPts);
    std::sort(sorted.begin() + 1, sorted.end(), std::greater<>());
}

void DeleteTrackPt(int32_t track, int32_t index) { DeleteTrackPts(track, std::span<const int32_t>(&index, 1)); }

void DeleteTrackPts(int32_t track, std::span<const int32_t> indices) {
    const std::vector<double> points = ReadTrackPoints(track);
    const std::vector<char> gone = listed(static_cast<int32_t>(points.size() / 3), indices);
    std::vector<double> kept;
    kept.reserve(points.size());
    for (std::size_t i = 0; i < gone.size(); ++i)
        if (!gone[i]) kept.insert(kept.end(), points.begin() + 3 * i, points.begin() + 3 * i + 3);
    if (kept.size() != points.size()) writeTrackPoints(track, kept);
}

int32_t CountTrackPts(int32_t track, std::span<const int32_t> indices) {
    const std::vector<char> flags = listed(OMBREL_track_get_number_of_points(track), indices);
    return static_cast<int32_t>(std::count(flags.begin(), flags.end(), 1));
}

}  // namespace Globals
