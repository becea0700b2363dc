#include "myLine.h"

#include "CoreError.h"

#include "ombrel.h"
#include "ombrel_edges.h"
#include "platform/gdi.h"

#include <algorithm>
#include <limits>

namespace {

bool shown(int32_t result) { return result != OMBREL_PROJ_NONE && result != OMBREL_PROJ_OUTSIDE; }

}  // namespace

void myLine::Draw(const Point3d& Apoint3d, const Point3d& Bpoint3d) {
    result_ = OMBREL_engine_3D_edge_to_2D(Apoint3d.data(), Bpoint3d.data(), a2d_.data(), b2d_.data());
    if (!shown(result_)) return;
    if (!dc_) core::raiseError("No device context to draw the line on");
    platform::MoveToEx(*dc_, a2d_[0], a2d_[1]);
    platform::LineTo(*dc_, b2d_[0], b2d_[1]);
}

void myLine::Queue(const Point3d& Apoint3d, const Point3d& Bpoint3d) {
    result_ = OMBREL_engine_3D_edge_to_2D(Apoint3d.data(), Bpoint3d.data(), a2d_.data(), b2d_.data());
    if (!shown(result_)) return;
    if (counts_.size() >= edgesPerCall_) Flush();
    queued_.push_back({a2d_[0], a2d_[1]});
    queued_.push_back({b2d_[0], b2d_[1]});
    counts_.push_back(2);
}

void myLine::QueueEdges(const Point3d* points, std::size_t pointCount, const Ends* ends, std::size_t edges) {
    if (edges == 0) return;
    // The engine counts in 32 bits: far below that, a list goes in parts.
    constexpr std::size_t kEngineLimit = std::numeric_limits<int32_t>::max() / 8;
    // A group is never split: one larger than the limit goes alone.
    if (!keptEnds_.empty() && (keptEnds_.size() / 2 + edges > std::min(edgesPerCall_, kEngineLimit) ||
                               keptPoints_.size() / 3 + pointCount > kEngineLimit))
        Flush();
    const auto first = static_cast<int32_t>(keptPoints_.size() / 3);
    keptPoints_.insert(keptPoints_.end(), points->data(), points->data() + 3 * pointCount);
    for (std::size_t i = 0; i < edges; ++i) {
        keptEnds_.push_back(first + ends[i][0]);
        keptEnds_.push_back(first + ends[i][1]);
    }
    keptGroups_.push_back(edges);
}

void myLine::QueueEdgeGroups(const Point3d* points, std::size_t pointsPerGroup, const Ends* ends,
                             std::size_t edgesPerGroup, std::size_t groups) {
    if (edgesPerCall_ == kNoLimit) {
        keptPoints_.reserve(keptPoints_.size() + 3 * pointsPerGroup * groups);
        keptEnds_.reserve(keptEnds_.size() + 2 * edgesPerGroup * groups);
    }
    for (std::size_t g = 0; g < groups; ++g) QueueEdges(points + g * pointsPerGroup, pointsPerGroup, ends, edgesPerGroup);
}

void myLine::projectKept() {
    const std::size_t edges = keptEnds_.size() / 2;
    if (edges == 0) return;
    keptPixels_.resize(4 * edges);
    keptResults_.resize(edges);
    if (OMBREL_ext_3D_edges_to_2D(static_cast<int32_t>(keptPoints_.size() / 3), keptPoints_.data(),
                                  static_cast<int32_t>(edges), keptEnds_.data(), keptPixels_.data(),
                                  keptResults_.data()) < 0)
        std::fill(keptResults_.begin(), keptResults_.end(), OMBREL_PROJ_NONE);
    // The pen is opaque: a line drawn twice gives the pixels of one.
    auto samePixels = [&](std::size_t i, std::size_t j) {
        const int32_t *a = &keptPixels_[4 * i], *b = &keptPixels_[4 * j];
        return (a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3]) ||
               (a[0] == b[2] && a[1] == b[3] && a[2] == b[0] && a[3] == b[1]);
    };
    std::size_t first = 0;
    for (const std::size_t group : keptGroups_) {
        for (std::size_t i = first; i < first + group; ++i) {
            if (!shown(keptResults_[i])) continue;
            bool again = false;
            for (std::size_t j = first; j < i && !again; ++j) again = shown(keptResults_[j]) && samePixels(i, j);
            if (again) continue;
            const int32_t* px = &keptPixels_[4 * i];
            queued_.push_back({px[0], px[1]});
            queued_.push_back({px[2], px[3]});
            counts_.push_back(2);
        }
        first += group;
    }
    const int32_t* last = &keptPixels_[4 * (edges - 1)];
    result_ = keptResults_.back();
    if (result_ != OMBREL_PROJ_NONE) {
        a2d_ = {last[0], last[1]};
        b2d_ = {last[2], last[3]};
    }
    keptPoints_.clear();
    keptEnds_.clear();
    keptGroups_.clear();
}

void myLine::Flush() {
    projectKept();
    if (counts_.empty()) return;
    if (!dc_) core::raiseError("No device context to draw the line on");
    for (std::size_t from = 0; from < counts_.size();) {
        const std::size_t n = std::min(edgesPerCall_, counts_.size() - from);
        platform::PolyPolyline(*dc_, queued_.data() + 2 * from, counts_.data() + from, static_cast<int>(n));
        from += n;
    }
    queued_.clear();
    counts_.clear();
}
