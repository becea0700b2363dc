#include "AlignAction.h"

#include "SharedObjects.h"

#include "core/EntityLocations.h"
#include "core/CoreError.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/SelectionBookkeeping.h"
#include "core/SelectionCentres.h"

#include "ombrel.h"

#include <string>

namespace undo {

Point3d LocationAt(const LocationList& list, int32_t i) {
    const std::size_t at = static_cast<std::size_t>(3 * i - 2);
    if (i < 1 || at + 2 >= list.size()) core::raiseError("Location " + std::to_string(i) + " was not recorded");
    return {list[at], list[at + 1], list[at + 2]};
}

void SetLocationAt(LocationList& list, int32_t i, const Point3d& loc) {
    const std::size_t at = static_cast<std::size_t>(3 * i - 2);
    if (i < 1) core::raiseError("Location " + std::to_string(i) + " cannot be stored");
    if (list.size() < at + 3) list.resize(at + 3, 0.0);
    for (int k = 0; k < 3; ++k) list[at + static_cast<std::size_t>(k)] = loc[static_cast<std::size_t>(k)];
}

}  // namespace undo

namespace {

LocationList copyOf(const LocationList& src, int32_t n) {
    LocationList dst(static_cast<std::size_t>(3 * n) + 1, 0.0);
    for (int32_t i = 1; i <= n; ++i) undo::SetLocationAt(dst, i, undo::LocationAt(src, i));
    return dst;
}

using core::groupLocation;

}  // namespace

void ActionAlign::SetAlignedEntity(int32_t kind, int32_t handle, const Point3d& start,
                                   const MultipleSelection& multiSel, const LocationList& grpStarts,
                                   const LocationList& camStarts, const LocationList& lightStarts) {
    AlignedEntityType = kind;
    AlignedEntityHandle = handle;
    FrmLoc = start;
    ToLoc = start;
    Globals::GetEntityLocation(handle, kind, ToLoc);
    if (kind != SelMultiple) return;
    Globals::CopyMultipleSelection(AlignedMultiSel, multiSel);
    const MultipleSelection& sel = AlignedMultiSel;
    FrmGrpLocs = copyOf(grpStarts, sel.NumOfGrps());
    FrmCamLocs = copyOf(camStarts, sel.NumOfCams());
    FrmLightLocs = copyOf(lightStarts, sel.NumOfLights());
    ToGrpLocs.assign(FrmGrpLocs.size(), 0.0);
    ToCamLocs.assign(FrmCamLocs.size(), 0.0);
    ToLightLocs.assign(FrmLightLocs.size(), 0.0);
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) undo::SetLocationAt(ToGrpLocs, i, groupLocation(sel.GetGrp(i)));
    for (int32_t i = 1; i <= sel.NumOfCams(); ++i) {
        Point3d p = {0, 0, 0};
        OMBREL_camera_get_location1(sel.GetCam(i), p.data());
        undo::SetLocationAt(ToCamLocs, i, p);
    }
    for (int32_t i = 1; i <= sel.NumOfLights(); ++i) {
        Point3d p = {0, 0, 0};
        OMBREL_light_get_location(sel.GetLight(i), p.data());
        undo::SetLocationAt(ToLightLocs, i, p);
    }
}

void ActionAlign::Undo() { PlaceAt(FrmLoc, FrmGrpLocs, FrmCamLocs, FrmLightLocs, false); }
void ActionAlign::Redo() { PlaceAt(ToLoc, ToGrpLocs, ToCamLocs, ToLightLocs, true); }

void ActionAlign::PlaceAt(const Point3d& loc, const LocationList& grps, const LocationList& cams,
                          const LocationList& lights, bool after) {
    const int32_t h = AlignedEntityHandle;
    switch (AlignedEntityType) {
    case SelGroup:
        OMBREL_group_set_location(h, loc.data());
        WriteBack(after);
        undo::SelGrpBndBox().Initialize(h);
        break;
    case SelCamera:
        undo::SceneCameras().SetLocation(h, loc);
        WriteBack(after);
        break;
    case SelLight:
        undo::SceneLights().SetLocation(h, loc);
        WriteBack(after);
        break;
    case SelMultiple: {
        const MultipleSelection& sel = AlignedMultiSel;
        for (int32_t i = 1; i <= sel.NumOfGrps(); ++i)
            OMBREL_group_set_location(sel.GetGrp(i), undo::LocationAt(grps, i).data());
        for (int32_t i = 1; i <= sel.NumOfCams(); ++i) undo::SceneCameras().SetLocation(sel.GetCam(i), undo::LocationAt(cams, i));
        for (int32_t i = 1; i <= sel.NumOfLights(); ++i)
            undo::SceneLights().SetLocation(sel.GetLight(i), undo::LocationAt(lights, i));
        WriteBack(after);
        AlignedMultiSel.InitializeBndBoxes();
        // The centre is an average over CurrMultiSel, so it is computed once the
        // aligned entities are the current selection again, in both directions.
        Globals::CopyMultipleSelection(undo::CurrMultiSel(), AlignedMultiSel);
        Globals::ComputeSelObjsAvgCenter();
        break;
    }
    default: break;
    }
}
