#include "render_buffers.h"

#include "api_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

namespace ombrel {
namespace {

uint64_t mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    return h;
}

uint64_t bits(double d) {
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

bool usableBitmap(int32_t h) {
    const Bitmap* b = lookup<Bitmap>(h);
    return b && b->image && b->image->width > 0 && b->image->height > 0;
}

bool usableAnimation(int32_t h) {
    const Animation* a = lookup<Animation>(h);
    if (!a) return false;
    for (const auto& dir : a->frames)
        for (int32_t f : dir)
            if (usableBitmap(f)) return true;
    return false;
}

// Triangles of a simple polygon keeping its winding: a fan when convex, ear
// clipping otherwise. Indices are local to the polygon.
void triangulate(const Vec3* pts, uint32_t n, Vec3 normal, std::vector<uint32_t>& out) {
    int drop = std::fabs(normal.x) > std::fabs(normal.y)
                   ? (std::fabs(normal.x) > std::fabs(normal.z) ? 0 : 2)
                   : (std::fabs(normal.y) > std::fabs(normal.z) ? 1 : 2);
    int u = drop == 0 ? 1 : 0, v = drop == 2 ? 1 : 2;
    auto crossAt = [&](uint32_t a, uint32_t b, uint32_t c) {
        return (pts[b][u] - pts[a][u]) * (pts[c][v] - pts[a][v]) - (pts[b][v] - pts[a][v]) * (pts[c][u] - pts[a][u]);
    };
    double area = 0;
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t j = (i + 1) % n;
        area += pts[i][u] * pts[j][v] - pts[j][u] * pts[i][v];
    }
    double sign = area >= 0 ? 1 : -1;
    bool convex = true;
    for (uint32_t i = 0; i < n && convex; ++i)
        convex = crossAt(i, (i + 1) % n, (i + 2) % n) * sign >= 0;
    if (convex) {
        for (uint32_t i = 1; i + 1 < n; ++i) out.insert(out.end(), {0, i, i + 1});
        return;
    }
    std::vector<uint32_t> left(n);
    for (uint32_t i = 0; i < n; ++i) left[i] = i;
    auto inside = [&](uint32_t p, uint32_t a, uint32_t b, uint32_t c) {
        return crossAt(a, b, p) * sign >= 0 && crossAt(b, c, p) * sign >= 0 && crossAt(c, a, p) * sign >= 0;
    };
    std::size_t guard = 0;
    while (left.size() > 3 && guard++ < n * n) {
        bool clipped = false;
        for (std::size_t i = 0; i < left.size(); ++i) {
            uint32_t a = left[(i + left.size() - 1) % left.size()], b = left[i], c = left[(i + 1) % left.size()];
            if (crossAt(a, b, c) * sign <= 0) continue;
            bool ear = true;
            for (uint32_t p : left)
                if (p != a && p != b && p != c && inside(p, a, b, c)) {
                    ear = false;
                    break;
                }
            if (!ear) continue;
            out.insert(out.end(), {a, b, c});
            left.erase(left.begin() + static_cast<std::ptrdiff_t>(i));
            clipped = true;
            break;
        }
        if (!clipped) break;  // self-intersecting: fan what is left
    }
    for (std::size_t i = 1; i + 1 < left.size(); ++i) out.insert(out.end(), {left[0], left[i], left[i + 1]});
}

uint8_t byte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

// Vertex normals by the engine's normals mode; a given normal facing the back of
// its polygon is turned round.
void computeNormals(GroupMesh& mesh, const std::vector<const Point*>& points) {
    int mode = state().normalsMode;
    std::unordered_map<uint64_t, Vec3> smooth;
    auto key = [](Vec3 p) {
        uint64_t h = 0;
        for (int i = 0; i < 3; ++i) h = mix(h, static_cast<uint64_t>(std::llround(p[i] * 1e6)));
        return h;
    };
    if (mode == 2)
        for (const MeshPolygon& mp : mesh.polygons)
            for (uint32_t i = 0; i < mp.vertexCount; ++i) smooth[key(mesh.worldPos[mp.firstVertex + i])] += mp.normal;
    for (const MeshPolygon& mp : mesh.polygons)
        for (uint32_t i = 0; i < mp.vertexCount; ++i) {
            uint32_t k = mp.firstVertex + i;
            const Point* pt = points[k];
            Vec3 n = mp.normal;
            if (mode != 1 && pt->hasNormal && length(pt->normal) > 0) {
                n = normalized(pt->normal);
                if (dot(n, mp.normal) < 0) n = -n;
            } else if (mode == 2) {
                Vec3 s = normalized(smooth[key(mesh.worldPos[k])]);
                if (length(s) > 0) n = s;
            }
            mesh.normals[k] = n;
        }
}

}  // namespace

bool isTranslucent(uint8_t blend) {
    switch (blend) {
        case 0x31: case 0x43: case 0x52: case 0x44: case 0x32: case 0x42: case 0x22: case 0x51: return true;
        default: return false;
    }
}

uint64_t meshSignature(const Group& group) {
    uint64_t h = mix(0, static_cast<uint64_t>(state().normalsMode));
    group.polygons.forEach([&](int32_t ph) {
        const Polygon* p = lookup<Polygon>(ph);
        if (!p) return;
        h = mix(h, static_cast<uint64_t>(ph));
        h = mix(h, (p->added ? 1u : 0u) | (p->enabled ? 2u : 0u) | static_cast<uint64_t>(p->fill) << 2 |
                       static_cast<uint64_t>(p->blend) << 8 | static_cast<uint64_t>(p->colour.r) << 16 |
                       static_cast<uint64_t>(p->colour.g) << 24 | static_cast<uint64_t>(p->colour.b) << 32);
        h = mix(h, bits(p->diminution));
        if (p->fill == FillKind::Bitmap) h = mix(h, static_cast<uint64_t>(usableBitmap(p->bitmap) ? p->bitmap : 0));
        if (p->fill == FillKind::Animation)
            h = mix(h, static_cast<uint64_t>(usableAnimation(p->animation) ? p->animation : 0));
        h = mix(h, static_cast<uint64_t>(usableBitmap(p->secondBitmap) ? p->secondBitmap : 0));
        h = mix(h, bits(p->mapOrigin.x) ^ bits(p->mapU.y) ^ bits(p->mapV.z));
    });
    return h;
}

void buildMesh(const Group& group, const GroupGeometry& geo, GroupMesh& mesh) {
    mesh.vertices.clear();
    mesh.worldPos.clear();
    mesh.normals.clear();
    mesh.indices.clear();
    mesh.polygons.clear();
    mesh.batches.clear();
    mesh.dynamicPolygons.clear();
    mesh.origin = geo.box.centre();
    mesh.version = group.version;
    mesh.signature = meshSignature(group);
    mesh.uploaded = false;

    std::vector<const Point*> points;
    std::vector<std::vector<uint32_t>> triangles;
    for (const PolygonGeometry& pg : geo.polygons) {
        const Polygon* p = lookup<Polygon>(pg.handle);
        if (!p || !polygonShown(*p, pg) || pg.count != p->points.size()) continue;
        MeshPolygon mp;
        mp.handle = pg.handle;
        mp.normal = pg.normal;
        mp.firstVertex = static_cast<uint32_t>(mesh.vertices.size());
        mp.vertexCount = pg.count;
        bool textured = false;
        if (p->fill == FillKind::Bitmap && usableBitmap(p->bitmap)) {
            mp.texture = p->bitmap;
            textured = true;
        } else if (p->fill == FillKind::Animation && usableAnimation(p->animation)) {
            mp.animation = p->animation;
            textured = true;
        }
        if (usableBitmap(p->secondBitmap)) mp.lightMap = p->secondBitmap;
        mp.blend = isTranslucent(p->blend) ? p->blend : 0;
        bool planeMap = length(p->mapU) > 0 && length(p->mapV) > 0;
        double dim = (100 - std::clamp(p->diminution, 0.0, 100.0)) / 100;
        Vec3 fill = textured ? Vec3{1, 1, 1} : Vec3{p->colour.r / 255.0, p->colour.g / 255.0, p->colour.b / 255.0};
        for (int32_t pt : p->points) {
            const Point* q = lookup<Point>(pt);
            points.push_back(q);
            Vec3 rel = q->pos - mesh.origin;
            double k = std::clamp(q->brightness, 0.0, 100.0) / 100 * dim;
            Vec2 map = q->uv;
            if (planeMap) map = {dot(q->pos - p->mapOrigin, p->mapU), dot(q->pos - p->mapOrigin, p->mapV)};
            MeshVertex v{{static_cast<float>(rel.x), static_cast<float>(rel.y), static_cast<float>(rel.z)},
                         {static_cast<float>(q->uv.x), static_cast<float>(q->uv.y)},
                         {static_cast<float>(map.x), static_cast<float>(map.y)},
                         {byte(fill.x * q->rgb.r / 255.0 * k), byte(fill.y * q->rgb.g / 255.0 * k),
                          byte(fill.z * q->rgb.b / 255.0 * k), 255}};
            mesh.vertices.push_back(v);
            mesh.worldPos.push_back(q->pos);
            mp.centre += q->pos;
        }
        mp.centre = mp.centre / static_cast<double>(pg.count);
        std::vector<uint32_t> tri;
        triangulate(geo.positions.data() + pg.first, pg.count, pg.normal, tri);
        for (uint32_t& t : tri) t += mp.firstVertex;
        triangles.push_back(std::move(tri));
        mesh.polygons.push_back(mp);
    }
    mesh.normals.resize(mesh.vertices.size());
    computeNormals(mesh, points);

    // Opaque polygons with fixed pictures grouped by picture pair; the rest after.
    std::map<std::pair<int32_t, int32_t>, std::vector<uint32_t>> byPicture;
    for (uint32_t i = 0; i < mesh.polygons.size(); ++i) {
        const MeshPolygon& mp = mesh.polygons[i];
        if (mp.animation || mp.blend)
            mesh.dynamicPolygons.push_back(i);
        else
            byPicture[{mp.texture, mp.lightMap}].push_back(i);
    }
    for (const auto& [key, list] : byPicture) {
        MeshBatch b{key.first, key.second, static_cast<uint32_t>(mesh.indices.size()), 0};
        for (uint32_t i : list) {
            MeshPolygon& mp = mesh.polygons[i];
            mp.firstIndex = static_cast<uint32_t>(mesh.indices.size());
            mesh.indices.insert(mesh.indices.end(), triangles[i].begin(), triangles[i].end());
            mp.indexCount = static_cast<uint32_t>(mesh.indices.size()) - mp.firstIndex;
        }
        b.indexCount = static_cast<uint32_t>(mesh.indices.size()) - b.firstIndex;
        mesh.batches.push_back(b);
    }
    for (uint32_t i : mesh.dynamicPolygons) {
        MeshPolygon& mp = mesh.polygons[i];
        mp.firstIndex = static_cast<uint32_t>(mesh.indices.size());
        mesh.indices.insert(mesh.indices.end(), triangles[i].begin(), triangles[i].end());
        mp.indexCount = static_cast<uint32_t>(mesh.indices.size()) - mp.firstIndex;
    }
}

}  // namespace ombrel
