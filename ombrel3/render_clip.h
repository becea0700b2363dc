// Meshes drawn where the projection puts them at any world size. The GPU takes
// float vertices and clips in float: a mesh that reaches far from the eye
// compared with how near it may be seen (a ground a billion units wide under an
// eye a few units above it, a polygon crossing the near plane from far behind
// the eye) would land pixels away from its place, or vanish. Such a mesh is cut
// here in double against the near plane and the sides of the view, and what is
// left of it goes to the GPU as positions relative to the eye.
#pragma once

#include "camera_frame.h"
#include "render_buffers.h"

#include <vector>

namespace ombrel {

// Whether float drawing of a mesh inside box (world coordinates) could put a
// pixel of it off its place by a noticeable fraction of a pixel in this view.
bool needsExactDrawing(const View& view, const Box3& box);

// What the GPU draws of a mesh cut for one view: vertices by threes, the batches
// and polygons of the mesh with their ranges in them.
struct CutMesh {
    std::vector<MeshVertex> vertices;        // positions relative to the eye, world axes
    std::vector<MeshLightVertex> lighting;   // empty when the mesh has none
    std::vector<MeshBatch> batches;
    std::vector<MeshPolygon> dynamicPolygons;
};

// Cuts the mesh (its data as built, placed in the world by toWorld) for the view:
// every triangle that faces the eye, the part of it in front of the near plane
// and within the view widened on every side.
void cutMesh(const View& view, const GroupMesh& mesh, const MeshData& data, const Affine& toWorld, CutMesh& out);

}  // namespace ombrel
