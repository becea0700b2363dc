#include "WeldedPointsProcedures.h"

#include "CoreTypes.h"
#include "Globals.h"
#include "WeldedPoints.h"

#include "ombrel.h"

#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace Globals {
namespace {

constexpr double kWeldTolerance = 1e-9;

template <class Visit>
void forEachPolygon(int32_t group, Visit visit) {
    for (int32_t pol = OMBREL_group_get_first_polygon(group); pol != 0; pol = OMBREL_group_get_next_polygon(group, pol))
        visit(pol);
}

template <class Visit>
void forEachPoint(int32_t polygon, Visit visit) {
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt)) visit(pt);
}

Point3d position(int32_t point) {
    Point3d p = {0, 0, 0};
    OMBREL_point_get_xyz(point, p.data());
    return p;
}

bool within(const Point3d& a, const Point3d& b) {
    for (int k = 0; k < 3; ++k)
        if (std::fabs(a[k] - b[k]) > kWeldTolerance) return false;
    return true;
}

}  // namespace

void BuildWeldedPoints(int32_t group) {
    WeldedPts.clear();
    NumWeldedPts = 0;
    // The first point of every set, by x, so a point is compared only with the
    // sets whose x is in reach.
    std::multimap<double, std::pair<Point3d, int32_t>> firsts;
    forEachPolygon(group, [&](int32_t pol) {
        forEachPoint(pol, [&](int32_t pt) {
            const Point3d p = position(pt);
            auto it = firsts.lower_bound(p[0] - kWeldTolerance);
            for (; it != firsts.end() && it->first <= p[0] + kWeldTolerance; ++it) {
                if (within(it->second.first, p)) {
                    WeldedPts[it->second.second]->AddPt(pt);
                    return;
                }
            }
            WeldedPts.checkCount(int64_t{NumWeldedPts} + 1);
            ++NumWeldedPts;
            auto set = std::make_shared<WeldedPoints>();
            set->AddPt(pt);
            WeldedPts[NumWeldedPts] = set;
            firsts.emplace(p[0], std::make_pair(p, NumWeldedPts));
        });
    });
}

void UpdateSelPolsRelatedPtsArray() {
    std::unordered_map<int32_t, int32_t> setOfPoint;
    for (int32_t i = 1; i <= NumWeldedPts; ++i) {
        const WeldedPoints& set = *WeldedPts[i];
        for (int32_t k = 1; k <= set.NumOfPts(); ++k) setOfPoint.emplace(set.Point(k), i);
    }
    std::unordered_set<int32_t> taken;
    NumSelPolsRelatedPts = 0;
    for (int32_t i = 1; i <= NumSelPols; ++i) {
        forEachPoint(SelPols[i], [&](int32_t pt) {
            auto found = setOfPoint.find(pt);
            if (found == setOfPoint.end() || !taken.insert(found->second).second) return;
            SelPolsRelatedPts[++NumSelPolsRelatedPts] = found->second;
        });
    }
}

void UpdateSelPtsPolArray() {
    std::unordered_set<int32_t> selected;
    for (int32_t i = 1; i <= NumSelPts; ++i) selected.insert(SelPts[i]);
    NumSelPtsPols = 0;
    if (selected.empty()) return;
    forEachPolygon(CurrSelEntityHandle, [&](int32_t pol) {
        bool owns = false;
        forEachPoint(pol, [&](int32_t pt) { owns = owns || selected.count(pt) != 0; });
        if (owns) SelPtsPols[++NumSelPtsPols] = pol;
    });
}

}  // namespace Globals
