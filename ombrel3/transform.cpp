#include "transform.h"

#include "api_support.h"
#include "geom.h"
#include "model.h"

#include <algorithm>
#include <cmath>

namespace ombrel {
namespace {

struct NormalMap {
    Mat3 cof;
    double sign = 1;   // makes cof carry normals like m^-T, mirrored ones included
    double det = 1;
    bool identity = true;

    Vec3 normal(Vec3 n) const {
        if (identity) return n;
        Vec3 r = cof * n * sign;
        double lr = length(r), ln = length(n);
        return lr > 0 ? r * (ln / lr) : n;
    }
    // A plane-frame vector (texel = dot(p - origin, v)) keeping its texel meaning.
    Vec3 frameVector(Vec3 v) const { return identity || det == 0 ? v : cof * v / det; }
};

bool sameMatrix(const Mat3& a, const Mat3& b) { return a.c[0] == b.c[0] && a.c[1] == b.c[1] && a.c[2] == b.c[2]; }

}  // namespace

void transformSubtree(Group& group, const Mat3& m, Vec3 t, bool turnAxes) {
    NormalMap nm;
    nm.identity = sameMatrix(m, Mat3{});
    nm.cof = cofactor(m);
    nm.det = determinant(m);
    nm.sign = nm.det < 0 ? -1 : 1;
    bool mirror = nm.det < 0;
    // A motion that keeps windings and areas lets every cache of the subtree keep
    // its own coordinates and follow; a mirror or a flattening rebuilds them.
    bool rigid = nm.det > 1e-200 && std::isfinite(nm.det) && finite(t);
    Affine step{m, t};
    auto apply = [&](Vec3 p) { return m * p + t; };

    // The walk visits every point anyway: it also gathers the totals the edit
    // cleared, and the top group's box along its (new) axes.
    Mat3 topAxes = turnAxes ? m * group.axes : group.axes;
    bool alongAxes = !sameMatrix(topAxes, Mat3{});
    Mat3 toLocal = topAxes.transposed();
    Box3 axesBox;
    std::vector<Vec3> pos;
    for (int32_t gh : subtreeGroups(group.handle, true)) {
        Group* g = lookup<Group>(gh);
        if (!g) continue;
        g->pivot = apply(g->pivot);
        g->origin = apply(g->origin);
        if (turnAxes) g->axes = m * g->axes;
        // A shift keeps every polygon's area: the boxes shift with it, exactly (a
        // rounded sum keeps the order of its terms), and only the sum is gathered.
        const bool shift = rigid && nm.identity && g->own.version == g->version;
        OwnTotals own;
        if (shift) {
            own = g->own;
            own.pointSum = {};
            for (Box3* b : {&own.box, &own.areaBox, &own.drawBox})
                if (!b->empty()) b->min += t, b->max += t;
        }
        // A shift (no mirror there) needs the moved points only for the box along turned axes.
        const bool keepPositions = !shift || alongAxes;
        g->polygons.forEach([&](int32_t ph) {
            Polygon* p = lookup<Polygon>(ph);
            if (!p) return;
            pos.clear();
            for (int32_t pt : p->points) {
                Point* q = lookup<Point>(pt);
                if (!q) continue;
                q->pos = apply(q->pos);
                if (q->hasNormal) q->normal = nm.normal(q->normal);
                if (shift) own.pointSum += q->pos;
                if (keepPositions) pos.push_back(q->pos);
            }
            if (mirror) {
                std::reverse(p->points.begin(), p->points.end());
                std::reverse(pos.begin(), pos.end());
            }
            p->mapOrigin = apply(p->mapOrigin);
            p->mapU = nm.frameVector(p->mapU);
            p->mapV = nm.frameVector(p->mapV);
            if (!shift) addOwnPolygon(own, *p, pos.data(), pos.size());
            if (alongAxes)
                for (const Vec3& v : pos) axesBox.add(toLocal * v);
        });
        if (rigid) {
            own.version = g->version;
            g->own = own;
            g->motion = g->motion.then(step);
            g->totals.valid = g->totals.axesBoxValid = false;
        } else {
            touchGroup(gh);
        }
    }
    touchTotals(group.handle);
    touchWorld();
    if (alongAxes) {
        group.totals.axesBox = axesBox;
        group.totals.axesBoxValid = true;
    }
}

void moveGroup(Group& group, Vec3 offset) { transformSubtree(group, Mat3{}, offset, false); }

void rotateGroup(Group& group, Vec3 axis, double degrees) {
    Mat3 r = rotationDegrees(axis, degrees);
    Vec3 c = group.pivot;
    transformSubtree(group, r, c - r * c, true);
}

void scaleGroup(Group& group, Vec3 f, bool ownAxes) {
    Mat3 m = scaleAlong(ownAxes ? group.axes : Mat3{}, f);
    Vec3 c = groupLocation(group);
    transformSubtree(group, m, c - m * c, false);
}

void matchGroupAxes(Group& group, const Mat3& frame) {
    Mat3 r = frame * group.axes.transposed();
    Vec3 c = groupLocation(group);
    transformSubtree(group, r, c - r * c, true);
    group.axes = frame;  // exactly what was asked, without rounding drift
    touchTotals(group.handle);
}

}  // namespace ombrel
