// Positions as hash keys, and the grid that finds the positions lying within the
// welding tolerance of each other: those share a cell or lie in neighbouring ones.
#pragma once

#include "CoreTypes.h"

#include <cmath>
#include <cstddef>
#include <functional>

namespace core {

// Points this close on every axis are at the same place.
inline constexpr double kSamePlaceTolerance = 1e-9;
inline constexpr double kGridCell = 1e-6;

struct PositionHash {
    std::size_t operator()(const Point3d& p) const {
        std::size_t h = 0;
        for (double c : p) h = h * 1000003u ^ std::hash<double>{}(c);
        return h;
    }
};

inline Point3d GridCellOf(const Point3d& p) {
    return {std::floor(p[0] / kGridCell), std::floor(p[1] / kGridCell), std::floor(p[2] / kGridCell)};
}

// Less than the tolerance apart on every axis.
inline bool SamePlace(const Point3d& a, const Point3d& b) {
    for (std::size_t k = 0; k < 3; ++k)
        if (!(std::fabs(a[k] - b[k]) < kSamePlaceTolerance)) return false;
    return true;
}

}  // namespace core
