// A group's own polygons as one triangle mesh, rebuilt only when the group's
// geometry version or its polygons' fills and flags changed.
#pragma once

#include "group_geometry.h"
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

struct MeshPolygon {
    int32_t handle = 0;
    uint32_t firstVertex = 0, vertexCount = 0;
    uint32_t firstIndex = 0, indexCount = 0;
    Vec3 normal, centre;
    int32_t texture = 0;   // bitmap drawn on it (0: plain colour)
    int32_t lightMap = 0;  // second bitmap multiplying
    int32_t animation = 0;
    uint8_t blend = 0;     // a translucent blending code, else 0
};

struct MeshBatch {
    int32_t texture = 0, lightMap = 0;
    uint32_t firstIndex = 0, indexCount = 0;
};

struct GroupMesh {
    uint64_t version = ~uint64_t{0};
    uint64_t signature = 0;
    Vec3 origin;
    std::vector<MeshVertex> vertices;
    std::vector<Vec3> worldPos, normals;  // per vertex, for lighting
    std::vector<uint32_t> indices;        // static batches first, then the other polygons
    std::vector<MeshPolygon> polygons;
    std::vector<MeshBatch> batches;        // opaque, fixed pictures
    std::vector<uint32_t> dynamicPolygons;  // animated or translucent: drawn one by one
    bool anyLit = false;

    // GL objects, valid for context serial glSerial.
    uint32_t vao = 0, vbo = 0, ibo = 0, lightVbo = 0;
    uint64_t glSerial = 0;
    bool uploaded = false;
};

// Whether a blending code draws translucently (any unknown code is opaque).
bool isTranslucent(uint8_t blend);

// A hash of everything but positions that the mesh is built from.
uint64_t meshSignature(const Group& group);

// Rebuilds the CPU side of the mesh from the group's polygons.
void buildMesh(const Group& group, const GroupGeometry& geometry, GroupMesh& mesh);

}  // namespace ombrel
