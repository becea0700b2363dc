#include "mdlExtrude.h"

#include "PolygonTools.h"

#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/Maths.h"
#include "core/ObjectSelection.h"
#include "core/PositionGrid.h"
#include "core/SelectionCentres.h"
#include "core/WeldedPoints.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "ombrel.h"
#include "platform/prompts.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SharedObjects.h"

#include <cmath>
#include <memory>
#include <unordered_map>

namespace mdlExtrude {
namespace {

constexpr double kStartLift = 0.000001;
// Normals summing to less than this give no direction to extrude in.
constexpr double kNoNormal = 1e-9;
constexpr double kSideSixth = 100.0;
constexpr const char* kSideName = "Extruded Pol";

Point3d plus(const Point3d& a, const Point3d& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }

Point3d times(const Point3d& v, double f) { return {v[0] * f, v[1] * f, v[2] * f}; }

double sumOfMagnitudes(const Point3d& v) { return std::fabs(v[0]) + std::fabs(v[1]) + std::fabs(v[2]); }

// ---- the outline's index: the listed edges by the cells of their ends

struct ListedEdge {
    OutlineEdge edge;
    Point3d a, b;
    bool listed = true;
};

struct OutlineIndex {
    std::vector<ListedEdge> edges;  // in the order they were appended
    std::unordered_map<Point3d, std::vector<std::size_t>, core::PositionHash> byCell;

    void clear() {
        edges.clear();
        byCell.clear();
    }
    void add(const OutlineEdge& edge, const Point3d& a, const Point3d& b) {
        const std::size_t i = edges.size();
        edges.push_back({edge, a, b, true});
        const Point3d ca = core::GridCellOf(a), cb = core::GridCellOf(b);
        byCell[ca].push_back(i);
        if (cb != ca) byCell[cb].push_back(i);
    }
    // The earliest listed edge with an end within reach of a that matches (a, b)
    // either way round; edges.size() when none does.
    std::size_t firstMatch(const Point3d& a, const Point3d& b) const {
        std::size_t best = edges.size();
        // Every cell a point within the tolerance of a can lie in.
        Point3d lo, hi;
        for (std::size_t k = 0; k < 3; ++k) {
            lo[k] = std::floor((a[k] - core::kSamePlaceTolerance) / core::kGridCell);
            hi[k] = std::floor((a[k] + core::kSamePlaceTolerance) / core::kGridCell);
        }
        for (double x = lo[0]; x <= hi[0]; ++x)
            for (double y = lo[1]; y <= hi[1]; ++y)
                for (double z = lo[2]; z <= hi[2]; ++z) {
                    auto found = byCell.find({x, y, z});
                    if (found == byCell.end()) continue;
                    for (std::size_t i : found->second) {
                        const ListedEdge& e = edges[i];
                        if (i >= best || !e.listed) continue;
                        if ((core::SamePlace(e.a, a) && core::SamePlace(e.b, b)) ||
                            (core::SamePlace(e.a, b) && core::SamePlace(e.b, a)))
                            best = i;
                    }
                }
        return best;
    }
};

OutlineIndex& outlineIndex() {
    static OutlineIndex index;
    return index;
}

void writeOutline() {
    OutlineIndex& index = outlineIndex();
    OutlineEdges.assign(1, OutlineEdge{});
    for (const ListedEdge& e : index.edges)
        if (e.listed) OutlineEdges.push_back(e.edge);
}

// ---- points

struct PointAt {
    int32_t handle;
    Point3d pos;
};

std::vector<PointAt> pointsOf(int32_t polygon) {
    std::vector<PointAt> out;
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
        PointAt p{pt, {0, 0, 0}};
        OMBREL_point_get_xyz(pt, p.pos.data());
        out.push_back(p);
    }
    return out;
}

Point3d positionOf(int32_t point) {
    Point3d p = {0, 0, 0};
    OMBREL_point_get_xyz(point, p.data());
    return p;
}

// New positions for every entry of SelPolsRelatedPts, from the position of its
// first point; none when one of them would leave the world.
template <class Place>
bool placeRelatedEntries(Place place) {
    using namespace Globals;
    std::vector<Point3d> next(static_cast<std::size_t>(NumSelPolsRelatedPts));
    for (int32_t i = 1; i <= NumSelPolsRelatedPts; ++i) {
        const WeldedPoints& entry = *WeldedPts[SelPolsRelatedPts[i]];
        Point3d& p = next[static_cast<std::size_t>(i - 1)];
        p = place(positionOf(entry.Point(1)));
        if (!geometry::StaysInWorld(p)) return false;
    }
    for (int32_t i = 1; i <= NumSelPolsRelatedPts; ++i) {
        const WeldedPoints& entry = *WeldedPts[SelPolsRelatedPts[i]];
        const Point3d& p = next[static_cast<std::size_t>(i - 1)];
        for (int32_t k = 1; k <= entry.NumOfPts(); ++k) OMBREL_point_set_xyz(entry.Point(k), p.data());
    }
    return true;
}

// ---- one side polygon

struct Fill {
    int32_t bitmap = 0;
    int32_t r = 0, g = 0, b = 0;
};

int32_t makeSidePolygon(int32_t group, const Point3d& p1, const Point3d& p2, const Fill& fill) {
    const int32_t pol = OMBREL_polygon_create();
    OMBREL_polygon_set_group(pol, group);
    const Point3d p2Lifted = plus(p2, ExtrudeStartOffset);
    const Point3d p1Lifted = plus(p1, ExtrudeStartOffset);
    Plane4d plane = {0, 0, 0, 0};
    Maths::PlaneFromThreePoints(p1, p2, p2Lifted, plane);
    Point3d n = {plane[0], plane[1], plane[2]};
    Point3d away = {0, 0, 0};
    Maths::VectorFromTo(Globals::SelPolsAvgCenter, p1, away);
    // The normals carry the outward side; an edge of no length, or one through
    // the centre, has no side to choose.
    if (sumOfMagnitudes(n) != 0 && sumOfMagnitudes(away) != 0 && Maths::AngleBetweenVectors(n, away) > 90)
        Maths::NegateVector(n);
    struct Corner {
        const Point3d& pos;
        double u, v;
    };
    const Corner corners[] = {{p1, 0, 1}, {p2, 1, 1}, {p2Lifted, 1, 0}, {p1Lifted, 0, 0}};
    for (const Corner& c : corners) {
        const double rec[6] = {c.pos[0], c.pos[1], c.pos[2], c.u, c.v, kSideSixth};
        const int32_t pt = OMBREL_polygon_add_point(pol, rec);
        OMBREL_point_set_normal(pt, n.data());
    }
    OMBREL_engine_add_polygon(pol);
    OMBREL_polygon_set_name(pol, kSideName);
    if (fill.bitmap != 0)
        OMBREL_polygon_set_bitmap_fill(pol, fill.bitmap);
    else
        OMBREL_polygon_set_color_fill(pol, fill.r, fill.g, fill.b);
    core::callHook(core::windowHooks().addPolNode, pol, group);
    return pol;
}

std::vector<int32_t> selectedPolygons() {
    std::vector<int32_t> out;
    out.reserve(static_cast<std::size_t>(Globals::NumSelPols));
    for (int32_t i = 1; i <= Globals::NumSelPols; ++i) out.push_back(Globals::SelPols[i]);
    return out;
}

// ---- gesture state

bool extruding = false;

struct BevelGesture {
    bool active = false;
    int32_t group = 0;
    std::vector<int32_t> pts;
    std::vector<Point3d> before;
    std::vector<int32_t> resetPols;
};
BevelGesture bevel;
std::vector<int32_t> lastResetPols;

void recordExtrusion() {
    using namespace Globals;
    // The centre is taken again: the offset the record keeps is the one the cap
    // really moved, the first lift included.
    ComputeSelPolsAvgCenter();
    ExtrudeFinalLoc = SelPolsAvgCenter;
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActExtrude;
    record->SetActionObjects();
    record->Extrude->SetMovedPolsArray(SelPols, NumSelPols);
    record->Extrude->SetAddedPolsArray(AddedPols, NumAddedPols, CurrSelEntityHandle);
    record->Extrude->SetInitialLoc(ExtrudeInitialLoc);
    record->Extrude->SetFinalLoc(ExtrudeFinalLoc);
    undo::Push(std::move(record));
}

// Every point of the selected polygons' welded entries, with where it is now.
void startBevel() {
    using namespace Globals;
    bevel = {};
    if (NumSelPols == 0) return;
    UpdateSelPolsRelatedPtsArray();
    bevel.active = true;
    bevel.group = CurrSelEntityHandle;
    for (int32_t i = 1; i <= NumSelPolsRelatedPts; ++i) {
        const WeldedPoints& entry = *WeldedPts[SelPolsRelatedPts[i]];
        for (int32_t k = 1; k <= entry.NumOfPts(); ++k) {
            bevel.pts.push_back(entry.Point(k));
            bevel.before.push_back(positionOf(entry.Point(k)));
        }
    }
}

void recordBevel() {
    if (!bevel.active) return;
    std::vector<Point3d> after;
    after.reserve(bevel.pts.size());
    for (int32_t pt : bevel.pts) after.push_back(positionOf(pt));
    // A bevel that moved no point (a factor of 1) would only push a real edit out
    // of the history.
    if (after == bevel.before) {
        bevel = {};
        return;
    }
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActBevel;
    record->SetActionObjects();
    record->Bevel->SetBevelAmount(BevelProduct);
    record->Bevel->SetMovedPts(bevel.group, std::move(bevel.pts), std::move(bevel.before), std::move(after));
    record->Bevel->SetResetPols(std::move(bevel.resetPols));
    bevel = {};
    undo::Push(std::move(record));
}

}  // namespace

// ---- the outline

bool IsSamePtLocation(int32_t pt1, int32_t pt2) { return core::SamePlace(positionOf(pt1), positionOf(pt2)); }

namespace {

// The edge with its ends' positions as the outline read them.
bool removeIfListed(const Point3d& a, const Point3d& b) {
    OutlineIndex& index = outlineIndex();
    const std::size_t i = index.firstMatch(a, b);
    if (i == index.edges.size()) return false;
    index.edges[i].listed = false;
    --NumOutlineEdges;
    return true;
}

}  // namespace

bool RemoveEdgeIfListed(const OutlineEdge& edge) { return removeIfListed(positionOf(edge.p1), positionOf(edge.p2)); }

void GetSelPolsOutlineEdges() {
    using namespace Globals;
    OutlineIndex& index = outlineIndex();
    index.clear();
    NumOutlineEdges = 0;
    for (int32_t i = 1; i <= NumSelPols; ++i) {
        const std::vector<PointAt> pts = pointsOf(SelPols[i]);
        for (std::size_t k = 0; k < pts.size(); ++k) {
            const PointAt& p = pts[k];
            const PointAt& q = pts[(k + 1) % pts.size()];
            if (removeIfListed(p.pos, q.pos)) continue;
            index.add({p.handle, q.handle}, p.pos, q.pos);
            ++NumOutlineEdges;
        }
    }
    writeOutline();
}

// ---- extrusion

bool ExtrudeSelPols() {
    using namespace Globals;
    if (NumSelPols == 0) return false;
    GetSelPolsOutlineEdges();
    const int32_t group = CurrSelEntityHandle;
    Fill fill;
    fill.bitmap = OMBREL_polygon_get_bitmap_handle(SelPols[1]);
    OMBREL_polygon_get_color(SelPols[1], &fill.r, &fill.g, &fill.b);
    Plane4d plane = {0, 0, 0, 0};
    ComputeSelPolsAvgNormal(plane);
    ExtrudeAvgNormal = {plane[0], plane[1], plane[2]};
    if (sumOfMagnitudes(ExtrudeAvgNormal) < kNoNormal) {
        ExtrudeAvgNormal = {0, 0, 0};
        platform::msgBox("Average normal for the selected polygons cannot be definded. Extrusion not possible!",
                         platform::MsgButtons::OK, platform::MsgIcon::Information);
        return false;
    }
    ExtrudeStartOffset = times(ExtrudeAvgNormal, kStartLift);

    // The ends' positions, as the outline read them.
    OutlineIndex& index = outlineIndex();
    std::vector<const ListedEdge*> outline;
    outline.reserve(static_cast<std::size_t>(NumOutlineEdges));
    for (const ListedEdge& e : index.edges)
        if (e.listed) outline.push_back(&e);
    AddedPols.assign(1, 0);
    NumAddedPols = 0;
    AddedPols.reserve(outline.size() + 1);
    for (const ListedEdge* e : outline) {
        AddedPols.push_back(makeSidePolygon(group, e->a, e->b, fill));
        ++NumAddedPols;
    }

    // Only the cap's own points are lifted: its neighbours stay joined to the
    // side polygons' first two points.
    const std::vector<int32_t> cap = selectedPolygons();
    for (int32_t pol : cap)
        for (const PointAt& p : pointsOf(pol)) {
            const Point3d lifted = plus(p.pos, ExtrudeStartOffset);
            OMBREL_point_set_xyz(p.handle, lifted.data());
        }
    UpdateStatusBar();

    RemovePolygonsFromWelded(cap);
    std::vector<int32_t> joining = cap;
    joining.insert(joining.end(), AddedPols.begin() + 1, AddedPols.end());
    AddPolygonsToWelded(joining);
    return true;
}

bool MoveExtrudedPts(double distance) {
    if (Globals::NumSelPols == 0 || sumOfMagnitudes(ExtrudeAvgNormal) == 0) return false;
    const Point3d v = times(ExtrudeAvgNormal, distance);
    if (!placeRelatedEntries([&](const Point3d& p) { return plus(p, v); })) return false;
    Globals::ValidateChangedPolygons();
    return true;
}

// ---- bevel

bool BevelSelPols(double factor) {
    using namespace Globals;
    lastResetPols.clear();
    if (NumSelPols == 0) return false;
    ComputeSelPolsAvgCenter();
    const Point3d c = SelPolsAvgCenter;
    const bool placed = placeRelatedEntries([&](const Point3d& a) {
        return Point3d{c[0] + factor * (a[0] - c[0]), c[1] + factor * (a[1] - c[1]), c[2] + factor * (a[2] - c[2])};
    });
    if (!placed) return false;
    // Only the latest extrusion's side polygons still in the edited group: one
    // undone, destroyed or of another group is never named to the engine.
    for (int32_t i = 1; i <= NumAddedPols; ++i) {
        const int32_t pol = AddedPols[static_cast<std::size_t>(i)];
        if (OMBREL_ext_handle_kind(pol) != OMBREL_KIND_POLYGON || OMBREL_polygon_get_group(pol) != CurrSelEntityHandle)
            continue;
        Plane4d plane = {0, 0, 0, 0};
        OMBREL_polygon_get_plane(pol, plane.data());
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt))
            OMBREL_point_set_normal(pt, plane.data());
        lastResetPols.push_back(pol);
    }
    return true;
}

// ---- the gestures

void StartExtrudeGesture() {
    using namespace Globals;
    ComputeSelPolsAvgCenter();
    ExtrudeInitialLoc = SelPolsAvgCenter;
    extruding = ExtrudeSelPols();
    UpdateSelPolsRelatedPtsArray();
}

bool StepExtrude(double distance) {
    if (!extruding || !MoveExtrudedPts(distance)) return false;
    undo::SelGrpBndBox().Initialize(Globals::CurrSelEntityHandle);
    Globals::ComputeSelPolsAvgCenter();
    Globals::UpdateCameras();
    return true;
}

void CommitExtrudeGesture() {
    // A refused extrusion records nothing: a record would hold the previous
    // extrusion's side polygons, and its Undo would delete committed geometry.
    if (!extruding) return;
    extruding = false;
    recordExtrusion();
}

Outcome ExtrudeByDepth(double depth) {
    using namespace Globals;
    extruding = false;
    // A depth of 0 would make side polygons of no area and a record that changes nothing.
    if (NumSelPols == 0 || depth == 0) return Outcome::NothingToDo;
    // Refused before anything is made when the cap would leave the world.
    Plane4d plane = {0, 0, 0, 0};
    ComputeSelPolsAvgNormal(plane);
    const Point3d reach = times({plane[0], plane[1], plane[2]}, depth + kStartLift);
    for (int32_t i = 1; i <= NumSelPols; ++i)
        for (const PointAt& p : pointsOf(SelPols[i]))
            if (!geometry::StaysInWorld(plus(p.pos, reach))) return Outcome::Refused;
    ComputeSelPolsAvgCenter();
    ExtrudeInitialLoc = SelPolsAvgCenter;
    if (!ExtrudeSelPols()) return Outcome::NothingToDo;
    UpdateSelPolsRelatedPtsArray();
    MoveExtrudedPts(depth);
    recordExtrusion();
    return Outcome::Recorded;
}

void StartBevelGesture() {
    BevelProduct = 1.0;
    startBevel();
}

bool StepBevel(double factor) {
    if (!bevel.active || !(std::fabs(factor) >= MinBevelFactor) || !BevelSelPols(factor)) return false;
    Globals::ValidateChangedPolygons();
    BevelProduct *= factor;
    bevel.resetPols = lastResetPols;
    Globals::ComputeSelPolsAvgCenter();
    Globals::UpdateCameras();
    return true;
}

void CommitBevelGesture() {
    recordBevel();
    BevelProduct = 1.0;
}

Outcome BevelByFactor(double factor) {
    if (!(std::fabs(factor) >= MinBevelFactor)) return Outcome::Refused;
    if (Globals::NumSelPols == 0) return Outcome::NothingToDo;
    BevelProduct = 1.0;
    startBevel();
    if (!BevelSelPols(factor)) {
        bevel = {};
        return Outcome::Refused;
    }
    Globals::ValidateChangedPolygons();
    bevel.resetPols = lastResetPols;
    BevelProduct = factor;
    recordBevel();
    BevelProduct = 1.0;
    return Outcome::Recorded;
}

void ForgetWorld() {
    AddedPols.assign(1, 0);
    NumAddedPols = 0;
    OutlineEdges.assign(1, OutlineEdge{});
    NumOutlineEdges = 0;
    outlineIndex().clear();
    ExtrudeAvgNormal = ExtrudeStartOffset = {0, 0, 0};
    extruding = false;
    bevel = {};
    lastResetPols.clear();
    BevelProduct = 1.0;
}

}  // namespace mdlExtrude
