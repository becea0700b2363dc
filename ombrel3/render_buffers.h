// A group's own polygons as one triangle mesh. It is built from the polygons when
// the group's shape, look, the pictures or the normals mode changed, uploaded,
// and then kept only on the GPU side (unless a view needs it cut on the CPU,
// render_clip.h); it stays in the coordinates it was built in and follows the
// group's rigid motions through a model matrix.
#pragma once

#include "records.h"
#include "vec.h"

#include <cstdint>
#include <vector>

namespace ombrel {

// Positions are relative to the mesh origin so floats keep their precision far
// from the world origin.
struct MeshVertex {
    float pos[3];
    float uv[2];
    float mapUv[2];
    uint8_t colour[4];  // fill (white under a picture) x vertex colour x brightness x diminution
};

// What lighting needs per vertex, in a second buffer made only for lit meshes.
struct MeshLightVertex {
    int16_t normal[4];  // unit normal, normalised shorts (the fourth unused)
    uint32_t lights;    // where the polygon's set of lights starts in MeshData::lightSets; 0: none
};

// A picture drawn from: a bitmap's own texture, repeating or, for a light map
// drawn within its bounds, held at its edges; or a light-map atlas page, whose
// coordinates in the vertices are in texels.
struct MeshPicture {
    int32_t bitmap = 0;  // 0: none (or the page)
    int32_t page = -1;
    bool edgeHeld = false;
    auto operator<=>(const MeshPicture&) const = default;
};

// Polygons drawn one by one (animated or translucent), with what drawing needs.
struct MeshPolygon {
    uint32_t firstIndex = 0, indexCount = 0;
    Vec3 normal, centre;   // in the mesh's own coordinates
    MeshPicture texture;   // drawn on it (none: plain colour)
    MeshPicture lightMap;  // second bitmap multiplying
    int32_t animation = 0;
    uint8_t blend = 0;     // a translucent blending code, else 0
};

struct MeshBatch {
    MeshPicture texture, lightMap;
    uint32_t firstIndex = 0, indexCount = 0;
};

struct GroupMesh {
    // What it was built from; any change rebuilds it.
    uint64_t version = ~uint64_t{0}, lookVersion = 0, picturesVersion = 0, atlasGeneration = 0;
    int32_t normalsMode = -1;
    uint64_t builds = 0;  // times built: tells whether a copy of its data is current
    Affine motion;  // the group's motion then
    Vec3 origin;    // in the coordinates it was built in
    // Normals averaged over the polygons meeting at a point: they follow turns and
    // uniform scales, but not a scale that stretches one way more than another.
    bool smoothNormals = false;

    std::vector<MeshBatch> batches;        // opaque, fixed pictures
    std::vector<MeshPolygon> dynamicPolygons;  // animated or translucent: drawn one by one
    std::vector<int32_t> lights;  // every light its polygons are bound to; the sets name them by place

    // GL objects, valid for context serial glSerial. The light sets and the lights'
    // parameters are read by the vertex stage from buffer textures.
    uint32_t vao = 0, vbo = 0, ibo = 0, lightVbo = 0;
    uint32_t setBuffer = 0, setTexture = 0, lightBuffer = 0, lightTexture = 0;
    uint64_t glSerial = 0;
    // Or, for a small mesh without lights or polygons drawn one by one, a place in
    // a shared page (mesh_pages.h): the page (-1: none), where its indices start
    // there, and its slot in the frame's table of placements.
    int32_t page = -1;
    uint32_t pageFirstIndex = 0, slot = 0;
};

// The CPU side of a mesh between building and uploading.
struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<MeshLightVertex> lighting;  // empty when no polygon is lit
    // The polygons' sets of lights, each once: a count, then the places of its
    // lights in GroupMesh::lights in the polygon's order (entry 0 is unused).
    std::vector<uint32_t> lightSets;
    std::vector<uint32_t> indices;  // static batches first, then the other polygons
    std::vector<Vec3> positions;    // the vertices where they were built, in double
};

// Whether a blending code draws translucently (any unknown code is opaque).
bool isTranslucent(uint8_t blend);

class LightMapAtlas;

// Rebuilds the mesh from the group's polygons; the returned data is for uploading.
// Light maps drawn within their bounds go into the atlas, when one is given.
MeshData buildMesh(const Group& group, GroupMesh& mesh, LightMapAtlas* atlas);

}  // namespace ombrel
