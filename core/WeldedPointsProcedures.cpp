#include "WeldedPointsProcedures.h"

#include "CoreTypes.h"
#include "Globals.h"
#include "PositionGrid.h"
#include "WeldedPoints.h"
#include "WindowProcedures.h"

#include "ombrel.h"

#include <cmath>
#include <cstring>
#include <vector>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace Globals {
namespace {

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
    // -0.0 and 0.0 are the same position, and must hash alike.
    for (double& c : p) c += 0.0;
    return p;
}

using core::PositionHash;

// Every point of the group's polygons, in walk order, read one polygon per call.
struct GroupPoints {
    std::vector<int32_t> handles;
    std::vector<double> xyz;  // three per point
};

GroupPoints pointsOf(int32_t group) {
    GroupPoints out;
    std::vector<int32_t> handles(8);
    std::vector<double> xyz(24);
    forEachPolygon(group, [&](int32_t pol) {
        int32_t n = OMBREL_ext_polygon_get_points(pol, handles.data(), xyz.data(), static_cast<int32_t>(handles.size()));
        if (n > static_cast<int32_t>(handles.size())) {
            handles.resize(static_cast<std::size_t>(n));
            xyz.resize(3 * static_cast<std::size_t>(n));
            n = OMBREL_ext_polygon_get_points(pol, handles.data(), xyz.data(), n);
        }
        if (n <= 0) return;
        out.handles.insert(out.handles.end(), handles.begin(), handles.begin() + n);
        out.xyz.insert(out.xyz.end(), xyz.begin(), xyz.begin() + 3 * n);
    });
    return out;
}

// A flat table from exact positions to entry numbers (open addressing).
class PositionTable {
public:
    explicit PositionTable(std::size_t count) {
        std::size_t size = 16;
        while (size < 2 * count) size *= 2;
        slots_.assign(size, 0);
        mask_ = size - 1;
    }
    // The entry at p, or inserts next (and returns 0) when there is none yet.
    int32_t findOrAdd(const double* p, int32_t next, const std::vector<double>& firsts) {
        for (std::size_t i = hash(p) & mask_;; i = (i + 1) & mask_) {
            int32_t e = slots_[i];
            if (e == 0) {
                slots_[i] = next;
                return 0;
            }
            const double* q = &firsts[3 * static_cast<std::size_t>(e)];
            if (q[0] == p[0] && q[1] == p[1] && q[2] == p[2]) return e;
        }
    }

private:
    static std::size_t hash(const double* p) {
        uint64_t h = 0x9e3779b97f4a7c15ull;
        for (int k = 0; k < 3; ++k) {
            uint64_t bits;
            std::memcpy(&bits, &p[k], sizeof bits);
            h = (h ^ bits) * 0xff51afd7ed558ccdull;
            h ^= h >> 32;
        }
        return static_cast<std::size_t>(h);
    }

    std::vector<int32_t> slots_;  // entry numbers from 1; 0 is free
    std::size_t mask_ = 0;
};

void appendEntry(int32_t point) {
    WeldedPts.checkCount(int64_t{NumWeldedPts} + 1);
    auto entry = std::make_shared<WeldedPoints>();
    entry->AddPt(point);
    WeldedPts[++NumWeldedPts] = entry;
}

}  // namespace

void BuildWeldedPoints(int32_t group) {
    SetMousePtrToHourGlass(false);
    struct Restore {
        ~Restore() { SetMousePtrToHourGlass(true); }
    } restore;
    WeldedPts.clear();
    NumWeldedPts = 0;
    // One pass gives each point its entry (exact positions are unique among the
    // entries' first points); the entries are then made whole, once each.
    GroupPoints points = pointsOf(group);
    const std::size_t n = points.handles.size();
    for (double& c : points.xyz) c += 0.0;  // -0.0 and 0.0 are the same position
    PositionTable table(n);
    std::vector<double> firsts(3);  // entry e's position at 3 * e
    std::vector<int32_t> entryOf(n), sizes(1);
    for (std::size_t i = 0; i < n; ++i) {
        const double* p = &points.xyz[3 * i];
        int32_t next = static_cast<int32_t>(sizes.size());
        int32_t e = table.findOrAdd(p, next, firsts);
        if (e == 0) {
            e = next;
            firsts.insert(firsts.end(), p, p + 3);
            sizes.push_back(0);
        }
        entryOf[i] = e;
        ++sizes[static_cast<std::size_t>(e)];
    }
    const auto entries = static_cast<int32_t>(sizes.size() - 1);
    WeldedPts.checkCount(entries);
    std::vector<std::vector<int32_t>> members(sizes.size());
    for (std::size_t e = 1; e < sizes.size(); ++e) members[e].reserve(static_cast<std::size_t>(sizes[e]));
    for (std::size_t i = 0; i < n; ++i) members[static_cast<std::size_t>(entryOf[i])].push_back(points.handles[i]);
    if (entries > 0) WeldedPts[entries];  // room for them all at once
    for (int32_t e = 1; e <= entries; ++e)
        WeldedPts[e] = std::make_shared<WeldedPoints>(std::move(members[static_cast<std::size_t>(e)]));
    NumWeldedPts = entries;
}

int32_t FindWeldedPoint(int32_t point) {
    for (int32_t i = 1; i <= NumWeldedPts; ++i) {
        const WeldedPoints& entry = *WeldedPts[i];
        for (int32_t k = 1; k <= entry.NumOfPts(); ++k)
            if (entry.Point(k) == point) return i;
    }
    return 0;
}

void AddPolygonToWelded(int32_t polygon) { AddPolygonsToWelded(std::vector<int32_t>{polygon}); }

void AddPolygonsToWelded(const std::vector<int32_t>& polygons) {
    // The entries' first points never move while points are added, so one index
    // of them serves every polygon of the list.
    std::unordered_map<Point3d, std::vector<int32_t>, PositionHash> cells;
    std::vector<Point3d> firsts(static_cast<std::size_t>(NumWeldedPts) + 1);
    auto index = [&](int32_t i) {
        firsts[static_cast<std::size_t>(i)] = position(WeldedPts[i]->Point(1));
        cells[core::GridCellOf(firsts[static_cast<std::size_t>(i)])].push_back(i);
    };
    for (int32_t i = 1; i <= NumWeldedPts; ++i) index(i);
    for (int32_t polygon : polygons) {
        forEachPoint(polygon, [&](int32_t pt) {
            const Point3d p = position(pt);
            const Point3d c = core::GridCellOf(p);
            int32_t best = 0;
            for (double dx = -1; dx <= 1; ++dx)
                for (double dy = -1; dy <= 1; ++dy)
                    for (double dz = -1; dz <= 1; ++dz) {
                        auto found = cells.find({c[0] + dx, c[1] + dy, c[2] + dz});
                        if (found == cells.end()) continue;
                        for (int32_t i : found->second)
                            if ((best == 0 || i < best) && core::SamePlace(firsts[static_cast<std::size_t>(i)], p)) best = i;
                    }
            if (best != 0) {
                WeldedPts[best]->AddPt(pt);
                return;
            }
            appendEntry(pt);
            firsts.resize(static_cast<std::size_t>(NumWeldedPts) + 1);
            index(NumWeldedPts);
        });
    }
}

void RemovePolygonFromWelded(int32_t polygon) {
    forEachPoint(polygon, [](int32_t pt) {
        const int32_t i = FindWeldedPoint(pt);
        if (i == 0) return;
        WeldedPts[i]->RemovePt(pt);
        if (WeldedPts[i]->NumOfPts() == 0) RemoveWeldedPtsEntry(i);
    });
}

void RemovePolygonsFromWelded(const std::vector<int32_t>& polygons) {
    std::unordered_set<int32_t> leaving;
    for (int32_t polygon : polygons) forEachPoint(polygon, [&](int32_t pt) { leaving.insert(pt); });
    // One pass over the table: the points leave their entries and the entries
    // left empty close up, in the order one polygon after the other would give.
    int32_t kept = 0;
    for (int32_t i = 1; i <= NumWeldedPts; ++i) {
        std::shared_ptr<WeldedPoints> entry = WeldedPts[i];
        std::vector<int32_t> going;
        for (int32_t k = 1; k <= entry->NumOfPts(); ++k)
            if (leaving.count(entry->Point(k)) != 0) going.push_back(entry->Point(k));
        for (int32_t pt : going) entry->RemovePt(pt);
        if (entry->NumOfPts() != 0) WeldedPts[++kept] = std::move(entry);
    }
    for (int32_t i = kept + 1; i <= NumWeldedPts; ++i) WeldedPts[i].reset();
    NumWeldedPts = kept;
}

void RemoveWeldedPtsEntry(int32_t entry) {
    for (int32_t i = entry; i < NumWeldedPts; ++i) WeldedPts[i] = WeldedPts[i + 1];
    WeldedPts[NumWeldedPts].reset();
    --NumWeldedPts;
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
