#include "SelectAllInvert.h"

#include "CoreTypes.h"
#include "Globals.h"
#include "MultipleSelection.h"
#include "SelectionRect.h"
#include "WindowHooks.h"

#include "ombrel.h"

#include <unordered_map>

namespace Globals {
namespace {

bool hidden(const std::function<bool(int32_t)>& hook, int32_t handle) { return hook && hook(handle); }

template <class Visit>
void forEachGroupPolygon(Visit visit) {
    forEachFacingPolygon(CurrSelEntityHandle, false, visit);
}

// Old entries are consumed as they are met, so a handle listed twice keeps one
// of its walk positions out per listing.
class Leftovers {
public:
    template <class List>
    Leftovers(const List& list, int32_t count) {
        for (int32_t i = 1; i <= count; ++i) ++left_[list[i]];
    }
    bool consume(int32_t handle) {
        auto it = left_.find(handle);
        if (it == left_.end() || it->second == 0) return false;
        --it->second;
        return true;
    }

private:
    std::unordered_map<int32_t, int32_t> left_;
};

}  // namespace

void SelectAllGrpPts() {
    NumSelPts = 0;
    forEachGroupPolygon([](int32_t pol) {
        forEachPointOf(pol, [](int32_t pt) {
            SelPts.checkCount(int64_t{NumSelPts} + 1);
            SelPts[++NumSelPts] = pt;
        });
    });
}

void SelectAllGrpPols() {
    NumSelPols = 0;
    forEachGroupPolygon([](int32_t pol) {
        SelPols.checkCount(int64_t{NumSelPols} + 1);
        SelPols[++NumSelPols] = pol;
    });
}

void SelectAllGrps() {
    const auto& h = core::windowHooks();
    if (!h.topLevelGroups) return;
    for (int32_t g : h.topLevelGroups())
        if (!hidden(h.isGrpHidden, g)) CurrMultiSel->AddGrpHandles(g);
}

void SelectAllCams() {
    const auto& h = core::windowHooks();
    for (int32_t c = OMBREL_camera_get_first_camera(); c != 0; c = OMBREL_camera_get_next_camera(c))
        if (OMBREL_camera_get_save_flag(c) == 1 && !hidden(h.isCamHidden, c)) CurrMultiSel->AddCamHandles(c);
}

void SelectAllLights() {
    const auto& h = core::windowHooks();
    for (int32_t l = OMBREL_light_get_first_light(); l != 0; l = OMBREL_light_get_next_light(l))
        if (!hidden(h.isLightHidden, l)) CurrMultiSel->AddLightHandles(l);
}

void SelectAllEntities() {
    CurrMultiSel->Reset();
    SelectAllGrps();
    SelectAllCams();
    SelectAllLights();
}

void InvertGrpPts() {
    Leftovers old(SelPts, NumSelPts);
    NumSelPts = 0;
    forEachGroupPolygon([&](int32_t pol) {
        forEachPointOf(pol, [&](int32_t pt) {
            if (old.consume(pt)) return;
            SelPts.checkCount(int64_t{NumSelPts} + 1);
            SelPts[++NumSelPts] = pt;
        });
    });
}

void InvertGrpPols() {
    Leftovers old(SelPols, NumSelPols);
    NumSelPols = 0;
    forEachGroupPolygon([&](int32_t pol) {
        if (old.consume(pol)) return;
        SelPols.checkCount(int64_t{NumSelPols} + 1);
        SelPols[++NumSelPols] = pol;
    });
}

void InvertEntities() {
    SelectAllEntities();
    MultipleSelection& sel = *CurrMultiSel;
    switch (PrevSelEntityType) {
    case SelGroup: sel.RemoveGrp(CurrSelEntityHandle); break;
    case SelCamera: sel.RemoveCam(CurrSelEntityHandle); break;
    case SelLight: sel.RemoveLight(CurrSelEntityHandle); break;
    case SelMultiple: sel.RemoveEvery(*PrevMultiSel); break;
    default: break;
    }
}

}  // namespace Globals
