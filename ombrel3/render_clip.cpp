#include "render_clip.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace ombrel {
namespace {

// The relative error of one rounding to float.
constexpr double kFloatStep = 1.0 / (1 << 24);
// A float vertex goes through about this many roundings of values as large as
// the mesh's reach on its way to the screen (position, offset, turn, clipping).
constexpr double kRoundings = 4;
// The most a pixel may be off its place before the mesh is cut here.
constexpr double kMostPixelsOff = 0.25;
// The view's sides are widened this much for the cut: cut edges stay out of
// sight, and what the GPU clips again is small.
constexpr double kWidened = 2;
constexpr int kPlanes = 5;

// A corner of a polygon being cut: where it is, and what it carries.
// Texture coordinates far along a huge polygon are large, so what is carried is
// interpolated in double too.
struct Corner {
    Vec3 rel;  // world minus eye
    Vec3 cam;  // camera coordinates: x right, y up, z depth
    double uv[2], map[2], colour[4], normal[3];
    uint32_t lights;
};

Corner lerp(const Corner& a, const Corner& b, double t) {
    Corner c;
    c.rel = a.rel + (b.rel - a.rel) * t;
    c.cam = a.cam + (b.cam - a.cam) * t;
    auto mix = [t](double x, double y) { return x + (y - x) * t; };
    for (int i = 0; i < 2; ++i) {
        c.uv[i] = mix(a.uv[i], b.uv[i]);
        c.map[i] = mix(a.map[i], b.map[i]);
    }
    for (int i = 0; i < 4; ++i) c.colour[i] = mix(a.colour[i], b.colour[i]);
    for (int i = 0; i < 3; ++i) c.normal[i] = mix(a.normal[i], b.normal[i]);
    c.lights = a.lights;
    return c;
}

class Cutter {
public:
    Cutter(const View& view, const MeshData& data, const Affine& toWorld, CutMesh& out)
        : view_(view), data_(data), out_(out), lit_(!data.lighting.empty()) {
        gx_ = kWidened * view.width * 0.5 / view.focal;
        gy_ = kWidened * view.height * 0.5 / view.focal;
        rel_.resize(data.positions.size());
        cam_.resize(data.positions.size());
        for (std::size_t i = 0; i < data.positions.size(); ++i) {
            rel_[i] = toWorld(data.positions[i]) - view.eye;
            cam_[i] = {dot(rel_[i], view.axes.a2), dot(rel_[i], view.axes.a3), -dot(rel_[i], view.axes.a1)};
        }
    }

    // What is left of the triangles of indices [first, first + count); returns where
    // they start among the cut vertices and how many vertices they have.
    std::pair<uint32_t, uint32_t> cut(uint32_t first, uint32_t count) {
        const auto start = static_cast<uint32_t>(out_.vertices.size());
        const std::size_t end = std::min<std::size_t>(std::size_t{first} + count, data_.indices.size());
        for (std::size_t k = first; k + 3 <= end; k += 3)
            triangle(data_.indices[k], data_.indices[k + 1], data_.indices[k + 2]);
        return {start, static_cast<uint32_t>(out_.vertices.size()) - start};
    }

private:
    double distance(int plane, const Vec3& c) const {
        switch (plane) {
            case 0: return c.z - view_.nearDist;
            case 1: return gx_ * c.z - c.x;
            case 2: return gx_ * c.z + c.x;
            case 3: return gy_ * c.z - c.y;
            default: return gy_ * c.z + c.y;
        }
    }

    Corner corner(uint32_t i) const {
        Corner c;
        c.rel = rel_[i];
        c.cam = cam_[i];
        const MeshVertex& v = data_.vertices[i];
        std::copy(v.uv, v.uv + 2, c.uv);
        std::copy(v.mapUv, v.mapUv + 2, c.map);
        std::copy(v.colour, v.colour + 4, c.colour);
        c.lights = 0;
        std::fill(c.normal, c.normal + 3, 0.0);
        if (lit_) {
            const MeshLightVertex& l = data_.lighting[i];
            for (int k = 0; k < 3; ++k) c.normal[k] = l.normal[k];
            c.lights = l.lights;
        }
        return c;
    }

    void triangle(uint32_t i0, uint32_t i1, uint32_t i2) {
        // The side seen is the one the eye is in front of (the rows are drawn
        // top first, which turns the winding the GPU culls by round to match).
        if (!(dot(rel_[i0], cross(rel_[i1], rel_[i2])) > 0)) return;
        bool inside = true;
        for (int p = 0; p < kPlanes; ++p) {
            const double d0 = distance(p, cam_[i0]), d1 = distance(p, cam_[i1]), d2 = distance(p, cam_[i2]);
            if (d0 < 0 && d1 < 0 && d2 < 0) return;
            inside = inside && d0 >= 0 && d1 >= 0 && d2 >= 0;
        }
        kept_.assign({corner(i0), corner(i1), corner(i2)});
        if (!inside) {
            for (int p = 0; p < kPlanes && kept_.size() >= 3; ++p) {
                next_.clear();
                for (std::size_t k = 0; k < kept_.size(); ++k) {
                    const Corner& a = kept_[k];
                    const Corner& b = kept_[(k + 1) % kept_.size()];
                    const double da = distance(p, a.cam), db = distance(p, b.cam);
                    if (da >= 0) next_.push_back(a);
                    if ((da >= 0) != (db >= 0)) next_.push_back(lerp(a, b, da / (da - db)));
                }
                kept_.swap(next_);
            }
        }
        for (std::size_t k = 1; k + 1 < kept_.size(); ++k) {
            emit(kept_[0]);
            emit(kept_[k]);
            emit(kept_[k + 1]);
        }
    }

    void emit(const Corner& c) {
        MeshVertex v{};
        v.pos[0] = static_cast<float>(c.rel.x);
        v.pos[1] = static_cast<float>(c.rel.y);
        v.pos[2] = static_cast<float>(c.rel.z);
        for (int k = 0; k < 2; ++k) {
            v.uv[k] = static_cast<float>(c.uv[k]);
            v.mapUv[k] = static_cast<float>(c.map[k]);
        }
        for (int k = 0; k < 4; ++k) v.colour[k] = static_cast<uint8_t>(std::lround(std::clamp(c.colour[k], 0.0, 255.0)));
        out_.vertices.push_back(v);
        if (!lit_) return;
        MeshLightVertex l{};
        for (int k = 0; k < 3; ++k)
            l.normal[k] = static_cast<int16_t>(std::lround(std::clamp(c.normal[k], -32767.0, 32767.0)));
        l.lights = c.lights;
        out_.lighting.push_back(l);
    }

    const View& view_;
    const MeshData& data_;
    CutMesh& out_;
    bool lit_;
    double gx_ = 1, gy_ = 1;
    std::vector<Vec3> rel_, cam_;
    std::vector<Corner> kept_, next_;
};

}  // namespace

bool needsExactDrawing(const View& view, const Box3& box) {
    if (box.empty()) return false;
    double reach = 0, nearest = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 8; ++i) {
        const Vec3 corner{i & 1 ? box.max.x : box.min.x, i & 2 ? box.max.y : box.min.y, i & 4 ? box.max.z : box.min.z};
        reach = std::max(reach, length(corner - view.eye));
        nearest = std::min(nearest, view.toCamera(corner).z);
    }
    // A vertex is off by about a float step of the reach, seen at the nearest depth
    // any part of the mesh can have.
    const double depth = std::max(view.nearDist, nearest);
    return kRoundings * kFloatStep * reach * view.focal > kMostPixelsOff * depth;
}

void cutMesh(const View& view, const GroupMesh& mesh, const MeshData& data, const Affine& toWorld, CutMesh& out) {
    out.vertices.clear();
    out.lighting.clear();
    out.batches.clear();
    out.dynamicPolygons.clear();
    Cutter cutter(view, data, toWorld, out);
    for (const MeshBatch& b : mesh.batches) {
        MeshBatch left = b;
        std::tie(left.firstIndex, left.indexCount) = cutter.cut(b.firstIndex, b.indexCount);
        if (left.indexCount) out.batches.push_back(left);
    }
    for (const MeshPolygon& mp : mesh.dynamicPolygons) {
        MeshPolygon left = mp;
        std::tie(left.firstIndex, left.indexCount) = cutter.cut(mp.firstIndex, mp.indexCount);
        if (left.indexCount) out.dynamicPolygons.push_back(left);
    }
}

}  // namespace ombrel
