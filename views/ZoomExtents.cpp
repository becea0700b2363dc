#include "ZoomExtents.h"

#include "PicWindow.h"
#include "ViewRedraw.h"

#include "core/EntityLocations.h"
#include "core/Camera.h"
#include "core/CoreError.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionBookkeeping.h"
#include "core/TrackProcedures.h"
#include "ombrel.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <cmath>

namespace views {
namespace {

constexpr double kFar = 1e32;
constexpr Box6d kUnwidened = {kFar, kFar, kFar, -kFar, -kFar, -kFar};

Camera& viewCamera(int view) {
    auto& camera = Globals::ViewCams.at(static_cast<std::size_t>(view));
    if (!camera) core::raiseError("The view has no camera");
    return *camera;
}

using core::cameraLocation;

using core::lightLocation;

void widen(Box6d& box, const Box6d& part) {
    for (int k = 0; k < 3; ++k) {
        box[k] = std::min(box[k], part[k]);
        box[k + 3] = std::max(box[k + 3], part[k + 3]);
    }
}

// Ctrl alone fits the whole world. The box starts unwidened so that a selection
// that adds nothing reads as no size instead of taking in the origin.
Box6d fittingBox() {
    using namespace Globals;
    using platform::isKeyHeld;
    Box6d box = kUnwidened;
    if (isKeyHeld(platform::vk::Control) && !isKeyHeld(platform::vk::Menu) && !isKeyHeld(platform::vk::Shift)) {
        OMBREL_group_get_bounding_box(0, box.data());
        return box;
    }
    if (!CurrMultiSel) core::raiseError("The current selection has not been created");
    GetSelectionBoundingBox(CurrSelEntityType, CurrSelEntityHandle, box, *CurrMultiSel);
    if (CurrSelEntityType == SelMultiple) {
        for (int32_t i = 1; i <= CurrMultiSel->NumOfTracks(); ++i) {
            const int32_t track = CurrMultiSel->GetTrack(i);
            if (OMBREL_track_get_number_of_points(track) <= 0) continue;
            Box6d extents;
            GetTrackExtents(track, extents);
            widen(box, extents);
        }
    }
    return box;
}

bool hasNoSize(const Box6d& box) {
    if (box == kUnwidened) return true;
    const double sum = (box[0] - box[3]) + (box[1] - box[4]) + (box[2] - box[5]);
    return std::round(sum * 1e6) / 1e6 == 0;
}

// Largest squared distance of a projected corner from the view's centre; false
// when no corner projects away from it.
bool farthestCorner(const Box6d& b, const PicWindow& window, double& farthest) {
    const Point3d corners[8] = {{b[0], b[1], b[2]}, {b[0], b[1], b[5]}, {b[0], b[4], b[5]}, {b[0], b[4], b[2]},
                                {b[3], b[1], b[2]}, {b[3], b[1], b[5]}, {b[3], b[4], b[5]}, {b[3], b[4], b[2]}};
    const int cx = window.width() / 2, cy = window.height() / 2;
    farthest = 0;
    bool counted = false;
    for (const Point3d& corner : corners) {
        int32_t pixel[2] = {0, 0};
        const int32_t result = OMBREL_engine_3D_point_to_2D(corner.data(), pixel);
        const double dx = pixel[0] - cx, dy = pixel[1] - cy;
        const double d = dx * dx + dy * dy;
        if (d > farthest && result != -1) {
            farthest = d;
            counted = true;
        }
    }
    return counted;
}

}  // namespace

void CenterObjInView(bool worldLoaded, int activeView, CentreOn groupCentre) {
    using namespace Globals;
    if (!worldLoaded) return;
    Camera& camera = viewCamera(activeView);
    switch (CurrSelEntityType) {
    case SelNone: camera.PointAtGrp(0); break;
    case SelGroup:
        if (groupCentre == CentreOn::SelectedPoints && NumSelPts != 0)
            camera.PointAtLoc(SelPtsAvgCenter);
        else if (groupCentre == CentreOn::SelectedPolygons && NumSelPols != 0)
            camera.PointAtLoc(SelPolsAvgCenter);
        else
            camera.PointAtGrp(CurrSelEntityHandle);
        break;
    case SelCamera: camera.PointAtLoc(cameraLocation(CurrSelEntityHandle)); break;
    case SelTrack: camera.PointAtLoc(TrkCenter); break;
    case SelLight: camera.PointAtLoc(lightLocation(CurrSelEntityHandle)); break;
    case SelMultiple: camera.PointAtLoc(SelObjsAvgCenter); break;
    default: break;
    }
    camera.SetLookAtOffset(0, 0);
    camera.Update();
    UpdateCamerasSingle(activeView);
}

void ZoomExtent(bool worldLoaded, int view, PicWindow& window, const std::string& label) {
    using namespace Globals;
    if (!worldLoaded) return;
    if (CurrSelEntityType == SelGroup && OMBREL_group_get_number_of_polygons(CurrSelEntityHandle) == 0) return;
    if (label == "Camera") return;
    Camera& camera = viewCamera(view);
    OMBREL_camera_set_current(camera.lngSceneCamera, window.hWnd());

    switch (CurrSelEntityType) {
    case SelGroup: camera.PointAtGrpLoc(CurrSelEntityHandle); break;
    case SelMultiple: camera.PointAtLoc(SelObjsAvgCenter); break;
    case SelCamera: camera.PointAtLoc(cameraLocation(CurrSelEntityHandle)); break;
    case SelLight: camera.PointAtLoc(lightLocation(CurrSelEntityHandle)); break;
    case SelTrack: {
        Point3d centre = {0, 0, 0};
        GetTrackCenter(CurrSelEntityHandle, centre);
        camera.PointAtLoc(centre);
        break;
    }
    default: camera.PointAtGrpLoc(0); break;
    }
    camera.dblViewingDistance = WorldSize;
    // The near plane comes along with the eye: it would otherwise stay where it
    // was, through the point looked at, when the fit stops below.
    camera.ReSetCamDistFrmEye();
    camera.SetLookAtOffset(0, 0);
    camera.Update();

    // The second pass measures again from where the first one put the camera.
    for (int pass = 1; pass <= 2; ++pass) {
        const Box6d box = fittingBox();
        if (hasNoSize(box)) return;
        double farthest = 0;
        if (!farthestCorner(box, window, farthest) && pass == 2) return;
        const double w = window.width(), h = window.height();
        const double diagonal2 = w * w + h * h;
        if (diagonal2 == 0) return;
        if (farthest == 0) farthest = 0.01;
        camera.dblViewingDistance *= std::sqrt(farthest) / std::sqrt(diagonal2) * 3;
        camera.ReSetCamDistFrmEye();
        camera.Update();
    }
    UpdateCamerasSingle(view);
}

}  // namespace views
