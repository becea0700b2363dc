#include "Placements.h"

#include "ombrel.h"

#include <algorithm>
#include <cmath>

namespace undo {
namespace {

// Turning or scaling back leaves only rounding behind; a larger difference is
// an edit made since that no record holds (a camera moved in its panel), which
// writing the old numbers would silently undo as well.
bool onlyRounding(const double* now, const double* recorded, std::size_t n) {
    double size = 1;
    for (std::size_t i = 0; i < n; ++i) size = std::max(size, std::fabs(recorded[i]));
    const double tolerance = 1e-9 * size;
    for (std::size_t i = 0; i < n; ++i)
        if (!(std::fabs(now[i] - recorded[i]) <= tolerance)) return false;
    return true;
}

}  // namespace

void Placements::AddEntity(int32_t handle) {
    // The count comes from the engine's kept totals; the reading is the one pass.
    const int32_t n = OMBREL_ext_get_placement(handle, nullptr, 0);
    if (n < 0) return;
    Entity e{handle, n, std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(n))};
    if (OMBREL_ext_get_placement(handle, e.values.get(), n) != n) return;
    entities_.push_back(std::move(e));
}

void Placements::AddPoint(int32_t point) {
    Point p{point, {0, 0, 0}};
    if (OMBREL_point_get_xyz(point, p.at.data()) != 0) return;
    points_.push_back(p);
}

void Placements::Restore() const {
    std::vector<double> now;
    for (const Entity& e : entities_) {
        const int32_t n = e.count;
        const auto size = static_cast<std::size_t>(n);
        now.resize(size);
        if (OMBREL_ext_get_placement(e.handle, now.data(), n) != n) continue;
        if (onlyRounding(now.data(), e.values.get(), size)) OMBREL_ext_set_placement(e.handle, e.values.get(), n);
    }
    for (const Point& p : points_) {
        Point3d at = {0, 0, 0};
        if (OMBREL_point_get_xyz(p.handle, at.data()) != 0) continue;
        if (onlyRounding(at.data(), p.at.data(), 3)) OMBREL_point_set_xyz(p.handle, p.at.data());
    }
}

}  // namespace undo
