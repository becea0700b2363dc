#include "ExtrudeBevelCutActions.h"

#include "SharedObjects.h"

#include "core/CoreError.h"
#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/SelectionCentres.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowProcedures.h"

#include "ombrel.h"

#include <utility>

namespace {

// The welded table, the polygon selection and the selection box belong to the
// group being edited: a record of another group leaves them alone.
bool isEdited(int32_t group) {
    return Globals::CurrSelEntityType == SelGroup && Globals::CurrSelEntityHandle == group;
}

std::vector<int32_t> listOf(const std::vector<int32_t>& fromOne, int32_t count) {
    return {fromOne.begin() + 1, fromOne.begin() + 1 + count};
}

std::vector<int32_t> addedOf(const ActionAddPols& added) {
    std::vector<int32_t> pols;
    int32_t count = 0;
    added.RetrieveAddedPols(pols, count);
    return listOf(pols, count);
}

// What follows every change of the edited group's polygons: the selected
// polygons' welded entries and centre, and the box drawn around the group.
void refreshSelection(int32_t group) {
    Globals::UpdateSelPolsRelatedPtsArray();
    Globals::ComputeSelPolsAvgCenter();
    undo::SelGrpBndBox().Initialize(group);
}

// The polygons that a cut's Undo or Redo leaves in the group join the welded
// points and become the selection, and the panels show them.
void selectPolygons(const std::vector<int32_t>& pols, int32_t group) {
    using namespace Globals;
    AddPolygonsToWelded(pols);
    SelPols.checkCount(static_cast<int64_t>(pols.size()));
    NumSelPols = 0;
    for (int32_t pol : pols) SelPols[++NumSelPols] = pol;
    refreshSelection(group);
    UpdateStatusBar();
    UpdateEditGeomTabBasedOnPolsSelected();
}

template <class Visit>
void forEachPoint(int32_t polygon, Visit visit) {
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt)) visit(pt);
}

bool isLive(int32_t handle, int32_t kind) { return OMBREL_ext_handle_kind(handle) == kind; }

}  // namespace

// ---- ActionExtrude

Point3d ActionExtrude::Offset() const {
    return {FinalLoc[0] - InitialLoc[0], FinalLoc[1] - InitialLoc[1], FinalLoc[2] - InitialLoc[2]};
}

void ActionExtrude::MoveCap(double sign) const {
    const Point3d d = Offset();
    for (int32_t i = 1; i <= MovedCount; ++i) {
        forEachPoint(Moved[static_cast<std::size_t>(i)], [&](int32_t pt) {
            Point3d p = {0, 0, 0};
            OMBREL_point_get_xyz(pt, p.data());
            for (int k = 0; k < 3; ++k) p[static_cast<std::size_t>(k)] += sign * d[static_cast<std::size_t>(k)];
            OMBREL_point_set_xyz(pt, p.data());
        });
    }
}

void ActionExtrude::Undo() {
    Added.Undo();
    MoveCap(-1);
    Globals::ValidateGroupPolygons(Group);
    if (isEdited(Group)) {
        const std::vector<int32_t> cap = listOf(Moved, MovedCount);
        std::vector<int32_t> leaving = addedOf(Added);
        leaving.insert(leaving.end(), cap.begin(), cap.end());
        // The cap's points join the entries of the places they went back to.
        Globals::RemovePolygonsFromWelded(leaving);
        Globals::AddPolygonsToWelded(cap);
        refreshSelection(Group);
    }
}

void ActionExtrude::Redo() {
    Added.Redo();
    MoveCap(1);
    Globals::ValidateGroupPolygons(Group);
    if (isEdited(Group)) {
        std::vector<int32_t> joining = listOf(Moved, MovedCount);
        Globals::RemovePolygonsFromWelded(joining);
        const std::vector<int32_t> sides = addedOf(Added);
        joining.insert(joining.end(), sides.begin(), sides.end());
        Globals::AddPolygonsToWelded(joining);
        refreshSelection(Group);
    }
}

// ---- ActionBevel

void ActionBevel::SetMovedPts(int32_t group, std::vector<int32_t> pts, std::vector<Point3d> before,
                              std::vector<Point3d> after) {
    if (before.size() != pts.size() || after.size() != pts.size())
        core::raiseError("A bevel record needs a position before and after for every point");
    Group = group;
    Pts = std::move(pts);
    Before = std::move(before);
    After = std::move(after);
}

void ActionBevel::WritePositions(const std::vector<Point3d>& positions) const {
    // Points destroyed since (their polygons' deletion became final) are passed over.
    for (std::size_t i = 0; i < Pts.size(); ++i)
        if (isLive(Pts[i], OMBREL_KIND_POINT)) OMBREL_point_set_xyz(Pts[i], positions[i].data());
    for (int32_t pol : ResetPols) {
        if (!isLive(pol, OMBREL_KIND_POLYGON) || OMBREL_polygon_get_group(pol) != Group) continue;
        Plane4d plane = {0, 0, 0, 0};
        OMBREL_polygon_get_plane(pol, plane.data());
        forEachPoint(pol, [&](int32_t pt) { OMBREL_point_set_normal(pt, plane.data()); });
    }
    Globals::ValidateGroupPolygons(Group);
    if (isEdited(Group)) {
        // The positions came back exactly, so the table built from them is the
        // one the group had.
        Globals::BuildWeldedPoints(Group);
        refreshSelection(Group);
    }
}

void ActionBevel::Undo() { WritePositions(Before); }

void ActionBevel::Redo() { WritePositions(After); }

// ---- ActionCutPol

void ActionCutPol::Undo() {
    Added.Undo();
    const bool edited = isEdited(Group);
    if (edited) Globals::RemovePolygonsFromWelded(addedOf(Added));
    Globals::UnDeletePols(Removed, RemovedCount, Group, RemovedPlaces);
    undo::AddPolNodes(RemovedWithNodes, Group);
    if (!edited) return;
    selectPolygons(listOf(Removed, RemovedCount), Group);
}

void ActionCutPol::Redo() {
    Added.Redo();
    Globals::FakeDeletePols(Removed, RemovedCount);
    if (!isEdited(Group)) return;
    Globals::RemovePolygonsFromWelded(listOf(Removed, RemovedCount));
    selectPolygons(addedOf(Added), Group);
}

void ActionCutPol::Release() {
    if (Added.IsUndone())
        Added.Release();
    else
        Globals::DeletePolsPermanently(Removed, RemovedCount);
}
