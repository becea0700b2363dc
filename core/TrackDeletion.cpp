#include "TrackDeletion.h"

#include "CoreTypes.h"
#include "Globals.h"
#include "SelectionChange.h"
#include "WindowHooks.h"
#include "WindowProcedures.h"

#include "ombrel.h"

namespace Globals {

void FakeDeleteTrack(int32_t track) {
    const auto& h = core::windowHooks();
    OMBREL_track_set_save_flag(track, 0);
    core::callHook(h.removeTrackNode, track);
    CurrSelEntityType = SelNone;
    PrevSelEntityType = SelNone;
    core::callHook(h.resetCamWorkSpaceFrame);
    ThingsToDoOnSelectedEntityChange();
    UpdateCameras();
    NumSelTrkPts = 0;
}

void UnDeleteTrack(int32_t track) {
    const auto& h = core::windowHooks();
    OMBREL_track_set_save_flag(track, 1);
    core::callHook(h.addTrackNode, track);
    core::callHook(h.showTrackFrame);
    ThingsToDoOnSelectedEntityChange();
    UpdateCameras();
    NumSelTrkPts = 0;
}

void DeleteTrackPermanently(int32_t track) { OMBREL_track_delete(track); }

}  // namespace Globals
