// The cut tool: splits the selected polygons of the edited group along a line
// dragged in the active view. Every selected polygon whose outline the line
// crosses exactly twice, on two different edges, becomes two "Cut_Poly" pieces
// sharing the two crossing points; the pieces keep the polygon's look and
// become the selection, and the polygon is fake-deleted. One ActionCutPol per cut.
#pragma once

#include "core/CoreTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mdlCutPols {

// One entry of a polygon's outline with the cut points inserted: position,
// texture coordinates, brightness, colour and normal (where it has one).
struct CutPolPt {
    Point3d pos = {0, 0, 0};
    Point2d uv = {0, 0};
    double brightness = 100;
    std::array<double, 3> rgb = {255, 255, 255};
    bool hasNormal = false;
    Point3d normal = {0, 0, 0};
};

// ---- module state (lists used from index 1)

// From the press that starts a cut line to its release.
inline bool CuttingInProgress = false;
// The ends of the cut line in the view's pixels.
inline PixelPt CutStartPt = {0, 0};
inline PixelPt CutEndPt = {0, 0};
// One polygon's outline with its cut points, and the entries of the two cuts.
inline std::vector<CutPolPt> CutPolPts{CutPolPt{}};
inline int32_t NumCutPolPts = 0;
inline int32_t FirstCutIdx = 0;
inline int32_t SecondCutIdx = 0;
// The pieces the current cut made, in the order made, and the polygons it
// replaced, in SelPols order.
inline std::vector<int32_t> AddedCutPols{0};
inline int32_t NumAddedCutPols = 0;
inline std::vector<int32_t> DeletedCutPols{0};
inline int32_t NumDeletedCutPols = 0;

// ---- the view's mouse, in the active view's pixels (left button only)

void CutPols_MouseDown(float x, float y);
// Draws the cut line on the active view's transient layer; renders nothing.
void CutPols_MouseMove(float x, float y);
// Cuts along the line and records the cut; nothing is recorded when nothing was cut.
void CutPols_MouseUp(float x, float y);

// Cuts every selected polygon the line crosses as above.
void CutSelPols();
// Builds CutPolPts for the polygon through the active view's camera and returns
// the number of its crossings. An edge shorter than a pixel in the view, wholly
// behind the near plane or outside the view, or cut by the near plane is not
// crossed; a line through a vertex crosses once, there.
int32_t GetCutPtsOnPol(int32_t pol);
// Makes the two pieces of the polygon from CutPolPts.
void SplitPolAtCutPts(int32_t pol);

// The world was closed: no cut is under way.
void ForgetWorld();

}  // namespace mdlCutPols
