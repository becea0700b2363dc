#include "Placements.h"

#include "ombrel.h"

namespace undo {

void Placements::AddEntity(int32_t handle) {
    const int32_t n = OMBREL_ext_get_placement(handle, nullptr, 0);
    if (n < 0) return;
    Entity e{handle, std::vector<double>(static_cast<std::size_t>(n))};
    if (OMBREL_ext_get_placement(handle, e.values.data(), n) != n) return;
    entities_.push_back(std::move(e));
}

void Placements::AddPoint(int32_t point) {
    Point p{point, {0, 0, 0}};
    if (OMBREL_point_get_xyz(point, p.at.data()) != 0) return;
    points_.push_back(p);
}

void Placements::Restore() const {
    for (const Entity& e : entities_)
        OMBREL_ext_set_placement(e.handle, e.values.data(), static_cast<int32_t>(e.values.size()));
    for (const Point& p : points_) OMBREL_point_set_xyz(p.handle, p.at.data());
}

}  // namespace undo
