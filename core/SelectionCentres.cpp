#include "SelectionCentres.h"

#include "CoreError.h"
#include "CoreTypes.h"
#include "Globals.h"
#include "MultipleSelection.h"
#include "TrackProcedures.h"

#include "ombrel.h"

#include <string>

namespace Globals {
namespace {

class Mean {
public:
    void add(const Point3d& p) {
        for (int k = 0; k < 3; ++k) sum_[k] += p[k];
        ++n_;
    }
    // Leaves result alone when nothing was added.
    void storeIn(Point3d& result) const {
        if (n_ == 0) return;
        for (int k = 0; k < 3; ++k) result[k] = sum_[k] / n_;
    }

private:
    Point3d sum_ = {0, 0, 0};
    int n_ = 0;
};

// The track being edited: the selected one.
int32_t selectedTrack() { return CurrSelEntityType == SelTrack ? CurrSelEntityHandle : 0; }

}  // namespace

void ComputeSelPtsAvgCenter() {
    Mean mean;
    for (int32_t i = 1; i <= NumSelPts; ++i) {
        Point3d p = {0, 0, 0};
        OMBREL_point_get_xyz(SelPts[i], p.data());
        mean.add(p);
    }
    mean.storeIn(SelPtsAvgCenter);
}

void ComputeSelPolsAvgCenter() {
    Mean mean;
    for (int32_t i = 1; i <= NumSelPols; ++i) {
        Point3d c = {0, 0, 0};
        OMBREL_polygon_get_center(SelPols[i], c.data());
        mean.add(c);
    }
    mean.storeIn(SelPolsAvgCenter);
}

void ComputeSelObjsAvgCenter() {
    if (!CurrMultiSel) core::raiseError("The current selection has not been created");
    const MultipleSelection& sel = *CurrMultiSel;
    Mean mean;
    Point3d p = {0, 0, 0};
    for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) {
        OMBREL_group_get_rotate_reference_point(sel.GetGrp(i), p.data());
        mean.add(p);
    }
    for (int32_t i = 1; i <= sel.NumOfCams(); ++i) {
        OMBREL_camera_get_location1(sel.GetCam(i), p.data());
        mean.add(p);
    }
    for (int32_t i = 1; i <= sel.NumOfLights(); ++i) {
        OMBREL_light_get_location(sel.GetLight(i), p.data());
        mean.add(p);
    }
    mean.storeIn(SelObjsAvgCenter);
}

void ComputeSelTrackPtsAvgCenter() {
    const int32_t track = selectedTrack();
    if (track == 0) return;
    if (static_cast<std::size_t>(NumSelTrkPts) >= SelTrkPts.size())
        core::raiseError("The track point selection holds fewer than " + std::to_string(NumSelTrkPts) + " points");
    Mean mean;
    for (int32_t i = 1; i <= NumSelTrkPts; ++i) {
        Point3d p = {0, 0, 0};
        OMBREL_track_get_point(track, SelTrkPts[static_cast<std::size_t>(i)], p.data());
        mean.add(p);
    }
    mean.storeIn(SelTrkPtsAvgCenter);
}

void UpdateTrackCenter() {
    const int32_t track = selectedTrack();
    if (track != 0) GetTrackCenter(track, TrkCenter);
}

}  // namespace Globals
