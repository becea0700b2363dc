#include "render_buffers.h"

#include "api_support.h"
#include "group_geometry.h"
#include "lightmap_atlas.h"
#include "model.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>
#include <unordered_map>

namespace ombrel {
namespace {

uint64_t mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    return h;
}

bool usableBitmap(int32_t h) {
    const Bitmap* b = lookup<Bitmap>(h);
    return b && b->image && b->image->width > 0 && b->image->height > 0;
}

// Whether the polygon draws a light map, as its second bitmap or baked into its fill.
bool bakedLight(const Polygon& p) {
    auto isMap = [](int32_t h) {
        const Bitmap* b = lookup<Bitmap>(h);
        return b && b->isLightMap && usableBitmap(h);
    };
    return isMap(p.secondBitmap) || (p.fill == FillKind::Bitmap && isMap(p.bitmap));
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
// its polygon is turned round. pos and normals run over every vertex; polygons
// gives each polygon's first vertex, count and normal.
struct NormalSource {
    uint32_t first, count;
    Vec3 normal;
};
void computeNormals(const std::vector<NormalSource>& polygons, const std::vector<const Point*>& points,
                    const std::vector<Vec3>& pos, std::vector<Vec3>& normals) {
    int mode = state().normalsMode;
    std::unordered_map<uint64_t, Vec3> smooth;
    auto key = [](Vec3 p) {
        uint64_t h = 0;
        for (int i = 0; i < 3; ++i) h = mix(h, static_cast<uint64_t>(std::llround(p[i] * 1e6)));
        return h;
    };
    if (mode == 2)
        for (const NormalSource& mp : polygons)
            for (uint32_t i = 0; i < mp.count; ++i) smooth[key(pos[mp.first + i])] += mp.normal;
    normals.resize(pos.size());
    for (const NormalSource& mp : polygons)
        for (uint32_t i = 0; i < mp.count; ++i) {
            uint32_t k = mp.first + i;
            const Point* pt = points[k];
            Vec3 n = mp.normal;
            if (mode != 1 && pt->hasNormal && length(pt->normal) > 0) {
                n = normalized(pt->normal);
                if (dot(n, mp.normal) < 0) n = -n;
            } else if (mode == 2) {
                Vec3 s = normalized(smooth[key(pos[k])]);
                if (length(s) > 0) n = s;
            }
            normals[k] = n;
        }
}

int16_t unitShort(double v) { return static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767)); }

// A light map whose polygon stays within it is held at its edges, as its cell in
// the atlas is, and drawn from there when it has a place: the polygon's coordinates
// become texels of the page. A map reaching beyond itself repeats, drawn alone.
void placeLightMap(MeshPicture& picture, MeshVertex* vertices, uint32_t count, float (MeshVertex::*coords)[2],
                   LightMapAtlas* atlas) {
    const Bitmap* b = lookup<Bitmap>(picture.bitmap);
    if (!b || !b->isLightMap || b->transparentIndex >= 0) return;
    constexpr float kSlack = 1e-3f;
    for (uint32_t i = 0; i < count; ++i)
        for (float c : vertices[i].*coords)
            if (!(c >= -kSlack && c <= 1 + kSlack)) return;
    picture.edgeHeld = true;
    const auto place = atlas ? atlas->place(b->image) : std::nullopt;
    if (!place) return;
    picture = {0, place->page, true};
    const float w = static_cast<float>(b->image->width), h = static_cast<float>(b->image->height);
    for (uint32_t i = 0; i < count; ++i) {
        float* c = vertices[i].*coords;
        c[0] = static_cast<float>(place->x) + c[0] * w;
        c[1] = static_cast<float>(place->y) + c[1] * h;
    }
}

// Polygons that meet at a corner with the same colour and coordinates there
// make one vertex there, shaded once instead of once per polygon: a vertex is
// shared only when every byte it holds, its place in double and its lighting
// are equal, so the image cannot change.
void shareEqualVertices(MeshData& data) {
    const std::size_t n = data.vertices.size();
    if (n < 2 || n > UINT32_MAX / 4) return;
    const bool lit = !data.lighting.empty();
    auto same = [&](std::size_t a, std::size_t b) {
        return std::memcmp(&data.vertices[a], &data.vertices[b], sizeof(MeshVertex)) == 0 &&
               std::memcmp(&data.positions[a], &data.positions[b], sizeof(Vec3)) == 0 &&
               (!lit || std::memcmp(&data.lighting[a], &data.lighting[b], sizeof(MeshLightVertex)) == 0);
    };
    auto hashOf = [&](std::size_t i) {
        auto bytes = [](const void* p, std::size_t size) {
            return std::hash<std::string_view>{}(std::string_view(static_cast<const char*>(p), size));
        };
        std::size_t h = bytes(&data.vertices[i], sizeof(MeshVertex));
        h = h * 31 + bytes(&data.positions[i], sizeof(Vec3));
        if (lit) h = h * 31 + bytes(&data.lighting[i], sizeof(MeshLightVertex));
        return h;
    };
    // Open addressing over the kept vertices' numbers: four bytes a slot.
    std::size_t slots = 1;
    while (slots < 2 * n) slots *= 2;
    constexpr uint32_t kFree = UINT32_MAX;
    std::vector<uint32_t> table(slots, kFree);
    std::vector<uint32_t> to(n);
    uint32_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t s = hashOf(i) & (slots - 1);
        while (table[s] != kFree && !same(table[s], i)) s = (s + 1) & (slots - 1);
        if (table[s] != kFree) {
            to[i] = table[s];
            continue;
        }
        // Kept vertices move down in place: kept <= i, so what is read later is untouched.
        data.vertices[kept] = data.vertices[i];
        data.positions[kept] = data.positions[i];
        if (lit) data.lighting[kept] = data.lighting[i];
        table[s] = kept;
        to[i] = kept++;
    }
    if (kept == n) return;
    data.vertices.resize(kept);
    data.positions.resize(kept);
    if (lit) data.lighting.resize(kept);
    for (uint32_t& i : data.indices) i = to[i];
}

}  // namespace

bool isTranslucent(uint8_t blend) {
    switch (blend) {
        case 0x31: case 0x43: case 0x52: case 0x44: case 0x32: case 0x42: case 0x22: case 0x51: return true;
        default: return false;
    }
}

MeshData buildMesh(const Group& group, GroupMesh& mesh, LightMapAtlas* atlas) {
    const World* w = state().world.get();
    MeshData data;
    mesh.batches.clear();
    mesh.dynamicPolygons.clear();
    mesh.lights.clear();
    mesh.origin = ownTotals(group).areaBox.centre();
    mesh.version = group.version;
    mesh.lookVersion = group.lookVersion;
    mesh.picturesVersion = w ? w->picturesVersion : 0;
    mesh.normalsMode = state().normalsMode;
    mesh.motion = group.motion;
    mesh.atlasGeneration = atlas ? atlas->generation() : 0;
    ++mesh.builds;

    struct Built {
        MeshPolygon mp;
        std::vector<uint32_t> triangles;
    };
    std::vector<Built> built;
    std::vector<const Point*> points;
    std::vector<Vec3> pos, worldPos;
    std::vector<NormalSource> sources;
    std::vector<uint32_t> vertexSets;  // per vertex, where its polygon's set starts
    std::map<std::vector<uint32_t>, uint32_t> setAt;
    std::unordered_map<int32_t, uint32_t> placeOf;  // light -> its place in mesh.lights
    std::vector<uint32_t> places;
    std::vector<int32_t> previousLights;  // neighbours mostly share their lights
    uint32_t previousSet = 0;
    data.lightSets.assign(1, 0);
    bool anyLit = false;
    group.polygons.forEach([&](int32_t h) {
        const Polygon* p = lookup<Polygon>(h);
        if (!p || !polygonShown(*p)) return;
        polygonPositionsInto(*p, pos);
        Vec3 normal;
        double d;
        if (pos.size() != p->points.size() || !planeOf(pos.data(), pos.size(), normal, d)) return;
        Built b;
        MeshPolygon& mp = b.mp;
        mp.normal = normal;
        auto first = static_cast<uint32_t>(data.vertices.size());
        auto count = static_cast<uint32_t>(pos.size());
        bool textured = false;
        if (p->fill == FillKind::Bitmap && usableBitmap(p->bitmap)) {
            mp.texture.bitmap = p->bitmap;
            textured = true;
        } else if (p->fill == FillKind::Animation && usableAnimation(p->animation)) {
            mp.animation = p->animation;
            textured = true;
        }
        if (usableBitmap(p->secondBitmap)) mp.lightMap.bitmap = p->secondBitmap;
        mp.blend = isTranslucent(p->blend) ? p->blend : 0;
        uint32_t set = previousSet;
        if (!std::equal(p->lights.begin(), p->lights.end(), previousLights.begin(), previousLights.end())) {
            places.clear();
            for (int32_t l : p->lights) {
                if (!lookup<Light>(l)) continue;
                auto [at, fresh] = placeOf.emplace(l, static_cast<uint32_t>(mesh.lights.size()));
                if (fresh) mesh.lights.push_back(l);
                places.push_back(at->second);
            }
            set = 0;
            if (!places.empty()) {
                auto [it, fresh] = setAt.emplace(places, static_cast<uint32_t>(data.lightSets.size()));
                if (fresh) {
                    data.lightSets.push_back(static_cast<uint32_t>(places.size()));
                    data.lightSets.insert(data.lightSets.end(), places.begin(), places.end());
                }
                set = it->second;
            }
            previousLights.assign(p->lights.begin(), p->lights.end());
            previousSet = set;
        }
        // Light baked into a map is not lit again.
        const uint32_t litSet = bakedLight(*p) ? 0 : set;
        anyLit = anyLit || litSet != 0;
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
            data.vertices.push_back(v);
            worldPos.push_back(q->pos);
            vertexSets.push_back(litSet);
            mp.centre += q->pos;
        }
        mp.centre = mp.centre / static_cast<double>(count);
        MeshVertex* vertices = data.vertices.data() + first;
        placeLightMap(mp.texture, vertices, count, &MeshVertex::uv, atlas);
        placeLightMap(mp.lightMap, vertices, count, &MeshVertex::mapUv, atlas);
        sources.push_back({first, count, normal});
        triangulate(pos.data(), count, normal, b.triangles);
        for (uint32_t& t : b.triangles) t += first;
        built.push_back(std::move(b));
    });

    mesh.smoothNormals = anyLit && state().normalsMode == 2;
    if (!anyLit) data.lightSets.clear();
    if (anyLit) {
        std::vector<Vec3> normals;
        computeNormals(sources, points, worldPos, normals);
        data.lighting.resize(normals.size());
        for (std::size_t i = 0; i < normals.size(); ++i)
            data.lighting[i] = {{unitShort(normals[i].x), unitShort(normals[i].y), unitShort(normals[i].z), 0},
                                vertexSets[i]};
    }
    data.positions = std::move(worldPos);

    // Opaque polygons with fixed pictures grouped by picture pair; the rest after.
    std::map<std::pair<MeshPicture, MeshPicture>, std::vector<uint32_t>> byPicture;
    std::vector<uint32_t> dynamic;
    for (uint32_t i = 0; i < built.size(); ++i) {
        const MeshPolygon& mp = built[i].mp;
        if (mp.animation || mp.blend)
            dynamic.push_back(i);
        else
            byPicture[{mp.texture, mp.lightMap}].push_back(i);
    }
    for (const auto& [key, list] : byPicture) {
        MeshBatch b{key.first, key.second, static_cast<uint32_t>(data.indices.size()), 0};
        for (uint32_t i : list) data.indices.insert(data.indices.end(), built[i].triangles.begin(), built[i].triangles.end());
        b.indexCount = static_cast<uint32_t>(data.indices.size()) - b.firstIndex;
        mesh.batches.push_back(b);
    }
    for (uint32_t i : dynamic) {
        MeshPolygon mp = built[i].mp;
        mp.firstIndex = static_cast<uint32_t>(data.indices.size());
        data.indices.insert(data.indices.end(), built[i].triangles.begin(), built[i].triangles.end());
        mp.indexCount = static_cast<uint32_t>(data.indices.size()) - mp.firstIndex;
        mesh.dynamicPolygons.push_back(mp);
    }
    shareEqualVertices(data);
    return data;
}

}  // namespace ombrel
