#include "EditModes.h"

#include "TransformHooks.h"

#include "core/CoreError.h"
#include "core/CoreTypes.h"
#include "core/Globals.h"
#include "core/WeldedPoints.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"

namespace transform {
namespace {

template <class Hook, class... Args>
bool ask(const Hook& hook, Args... args) {
    return hook && hook(args...);
}

std::string textOf(const std::function<std::string()>& hook) { return hook ? hook() : std::string(); }

}  // namespace

int WorkspacePage() {
    const auto& hook = core::windowHooks().workspacePage;
    return hook ? hook() : -1;
}

std::string TrackPointText() { return textOf(transformHooks().trackPointText); }

bool IsPointEditing() { return Globals::IsPointEditing(); }
bool IsPolygonEditing() { return Globals::IsPolygonEditing(); }

bool IsEditGeometry() {
    return WorkspacePage() == kObjectPage && textOf(core::windowHooks().objModeText) == "Edit Geometry";
}

bool IsTextureEditing() {
    return WorkspacePage() == kObjectPage && textOf(core::windowHooks().objModeText) == "Edit Texture";
}

bool IsTrackOnPageAs(const char* text) {
    return Globals::CurrSelEntityType == SelTrack && WorkspacePage() == kCameraTrackPage && TrackPointText() == text;
}

bool IsTrackPointEditing() { return IsTrackOnPageAs("Point"); }

bool IsGrpHidden(int32_t group) { return ask(transformHooks().isGrpHidden, group); }
bool IsCamHidden(int32_t camera) { return ask(transformHooks().isCamHidden, camera); }
bool IsLightHidden(int32_t light) { return ask(transformHooks().isLightHidden, light); }

std::vector<WeldedPoints*> SelectedWeldedSets() {
    using namespace Globals;
    std::vector<WeldedPoints*> sets;
    sets.reserve(static_cast<std::size_t>(NumSelPolsRelatedPts > 0 ? NumSelPolsRelatedPts : 0));
    for (int32_t i = 1; i <= NumSelPolsRelatedPts; ++i) {
        WeldedPoints* set = WeldedPts[SelPolsRelatedPts[i]].get();
        if (!set) core::raiseError("Welded point entry " + std::to_string(SelPolsRelatedPts[i]) + " does not exist");
        sets.push_back(set);
    }
    return sets;
}

EditMode CurrentEditMode() {
    if (IsPointEditing()) return EditMode::Point;
    if (IsPolygonEditing()) return EditMode::Polygon;
    if (IsTrackPointEditing()) return EditMode::TrackPoint;
    return EditMode::Object;
}

}  // namespace transform
