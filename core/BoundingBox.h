// A group's box in its own axes (location +/- half its dimensions), drawn as 12
// edges over a view.
#pragma once

#include "CoreTypes.h"

#include <array>
#include <cstdint>
#include <optional>

#include "myLine.h"

class BoundingBox {
public:
    // Reads the group's location and dimensions; call again after the group moved,
    // turned or changed size.
    void Initialize(int32_t Grp);
    // Draws the 12 edges with the shared line drawer on OverlayDC, in the pen
    // already selected, in one call.
    void Draw(int Index) const;
    // Keeps the 12 edges on lines, which projects them into the current camera
    // and draws those shown at its flush: many boxes then cost one projection
    // call and one draw.
    void Queue(myLine& lines) const;

    // The world corners the edges are drawn between, in the order of Edges().
    const std::array<Point3d, 8>& DrawnCorners() const;
    // The 12 edges by their corners: top ring, bottom ring, then the uprights.
    static const std::array<myLine::Ends, 12>& Edges();
    // Counts Initialize calls of every box, so that a copy of drawn corners
    // knows when a box may have changed.
    static uint64_t Initializations();

    int32_t Group() const { return grp_; }
    // Corner i in world space.
    Point3d WorldCorner(int i) const;

private:
    int32_t grp_ = 0;
    Point3d location_ = {0, 0, 0};
    Point3d half_ = {0, 0, 0};
    // In the group's own axes: (+,+,+), (+,-,+), (-,-,+), (-,+,+), then the same at -z.
    std::array<Point3d, 8> corners_{};
    // The world corners as the first draw after Initialize found them: every
    // redraw reads the boxes again first, and the four views then share one
    // conversion of each corner.
    mutable std::optional<std::array<Point3d, 8>> drawnCorners_;
};
