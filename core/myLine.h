// One 3D edge drawn as a 2D line through the engine's projection.
#pragma once

#include "CoreTypes.h"

#include "platform/device_context.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class myLine {
public:
    // Queued lines are drawn at most this many to a call, so that the queue's
    // memory stays small; a caller that wants one call for all gives no limit.
    static constexpr std::size_t kEdgesPerCall = 8192, kNoLimit = SIZE_MAX;
    explicit myLine(std::size_t edgesPerCall = kEdgesPerCall) : edgesPerCall_(edgesPerCall) {}

    void SetDC(platform::DeviceContext* dc) { dc_ = dc; }
    // Draws nothing when the engine says the edge is behind the eye or off the view.
    void Draw(const Point3d& Apoint3d, const Point3d& Bpoint3d);
    // The same for many edges: each is projected now and all are drawn by Flush
    // in one go (or one go per limit), which is what a selection of many
    // polygons needs.
    void Queue(const Point3d& Apoint3d, const Point3d& Bpoint3d);
    // Edges given as pairs of indexes into points are only kept: Flush
    // projects all it kept in one engine call, the view made once and each
    // point once, and draws those shown with the rest. Within one such group an
    // edge landing on the very pixels of another is drawn once (a flat or a far
    // box's rings meet).
    using Ends = std::array<int32_t, 2>;
    void QueueEdges(const Point3d* points, std::size_t pointCount, const Ends* ends, std::size_t edges);
    // QueueEdges for groups of one shape in a row: group g's points are
    // points[g * pointsPerGroup ...], its edges the same ends of its own points.
    void QueueEdgeGroups(const Point3d* points, std::size_t pointsPerGroup, const Ends* ends, std::size_t edgesPerGroup,
                         std::size_t groups);
    void Flush();

    // The last edge's projected ends and the engine's answer for it (for kept
    // edges, the last one the latest Flush projected).
    const PixelPt& LastA() const { return a2d_; }
    const PixelPt& LastB() const { return b2d_; }
    int32_t LastResult() const { return result_; }

private:
    std::size_t edgesPerCall_;
    platform::DeviceContext* dc_ = nullptr;
    PixelPt a2d_ = {0, 0};
    PixelPt b2d_ = {0, 0};
    int32_t result_ = 0;
    std::vector<platform::PixelPoint> queued_;  // two ends per edge
    std::vector<uint32_t> counts_;
    // Kept points (3 numbers each) and edges (2 indexes into them each), then
    // the engine's 4 pixels and answer for each edge.
    std::vector<double> keptPoints_;
    std::vector<int32_t> keptEnds_;
    std::vector<int32_t> keptPixels_, keptResults_;
    std::vector<std::size_t> keptGroups_;  // the edges of each QueueEdges

    void projectKept();
};
