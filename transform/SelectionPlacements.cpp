#include "SelectionPlacements.h"

#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/WeldedPoints.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "undo/SharedObjects.h"

namespace transform {
namespace {

void addCamera(undo::Placements& p, int32_t camera) {
    p.AddEntity(camera);
    if (Globals::SceneCameras)
        if (const int32_t marker = Globals::SceneCameras->GetCamGrp(camera)) p.AddEntity(marker);
}

void addLight(undo::Placements& p, int32_t light) {
    p.AddEntity(light);
    if (Globals::SceneLights)
        if (const int32_t marker = Globals::SceneLights->GetLightGrp(light)) p.AddEntity(marker);
}

}  // namespace

undo::Placements ReadSelectionPlacements(EditMode mode) {
    using namespace Globals;
    undo::Placements p;
    const int32_t h = CurrSelEntityHandle;
    switch (mode) {
    case EditMode::Point:
        for (int32_t i = 1; i <= NumSelPts; ++i) p.AddPoint(SelPts[i]);
        return p;
    case EditMode::Polygon:
        for (WeldedPoints* set : SelectedWeldedSets())
            for (int32_t j = 1; j <= set->NumOfPts(); ++j) p.AddPoint(set->Point(j));
        return p;
    case EditMode::TrackPoint: p.AddEntity(h); return p;
    case EditMode::Object: break;
    }
    switch (CurrSelEntityType) {
    case SelGroup:
    case SelTrack: p.AddEntity(h); break;
    case SelCamera: addCamera(p, h); break;
    case SelLight: addLight(p, h); break;
    case SelMultiple: {
        const MultipleSelection& sel = undo::CurrMultiSel();
        for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) p.AddEntity(sel.GetGrp(i));
        for (int32_t i = 1; i <= sel.NumOfCams(); ++i) addCamera(p, sel.GetCam(i));
        for (int32_t i = 1; i <= sel.NumOfLights(); ++i) addLight(p, sel.GetLight(i));
        break;
    }
    default: break;
    }
    return p;
}

}  // namespace transform
