#include "PolygonPropertyActions.h"

#include "BitmapUse.h"

#include "core/CoreError.h"
#include "core/EntityProcedures.h"
#include "core/FlipPolygons.h"
#include "core/Globals.h"
#include "core/WindowHooks.h"
#include "platform/colour.h"

#include "ombrel.h"

#include <algorithm>
#include <string>

namespace {

// SelPols(1..NumSelPols) and what read gives for each, both from index 1.
template <class Value, class Read>
int32_t copySelection(std::vector<int32_t>& pols, std::vector<Value>& values, Read read) {
    const int32_t count = Globals::NumSelPols;
    pols = CopyHandleList(Globals::SelPols, count);
    values.assign(pols.size(), Value{});
    for (int32_t i = 1; i <= count; ++i) values[static_cast<std::size_t>(i)] = read(pols[static_cast<std::size_t>(i)]);
    return count;
}

}  // namespace

// ---- ActionChngPolRotatedProp

void ActionChngPolRotatedProp::Undo() {
    for (int32_t i = 1; i <= Count; ++i) {
        const int32_t p = Pols[static_cast<std::size_t>(i)];
        OMBREL_polygon_set_rotated(p, PrevFlags[static_cast<std::size_t>(i)]);
        OMBREL_polygon_is_valid(p);
    }
    core::callHook(core::windowHooks().setPolRotatedBox, PrevFlag);
}

void ActionChngPolRotatedProp::Redo() {
    const bool flag = !PrevFlag;
    for (int32_t i = 1; i <= Count; ++i) {
        const int32_t p = Pols[static_cast<std::size_t>(i)];
        OMBREL_polygon_set_rotated(p, flag ? 1 : 0);
        OMBREL_polygon_is_valid(p);
    }
    // The box was set with the polygons: an empty list leaves it alone.
    if (Count > 0) core::callHook(core::windowHooks().setPolRotatedBox, flag);
}

void ActionChngPolRotatedProp::SetSelToCurrSel() {
    Count = copySelection(Pols, PrevFlags, [](int32_t p) { return OMBREL_polygon_is_rotated(p) == 1 ? 1 : 0; });
}

// ---- ActionChngPolLightDimu

void ActionChngPolLightDimu::Undo() {
    for (int32_t i = 1; i <= Count; ++i)
        OMBREL_polygon_set_light_diminution(Pols[static_cast<std::size_t>(i)], PrevValues[static_cast<std::size_t>(i)]);
    core::callHook(core::windowHooks().setPolLightDimuText, PrevLightDimu);
}

void ActionChngPolLightDimu::Redo() {
    for (int32_t i = 1; i <= Count; ++i) OMBREL_polygon_set_light_diminution(Pols[static_cast<std::size_t>(i)], NewLightDimu);
    core::callHook(core::windowHooks().setPolLightDimuText, NewLightDimu);
}

void ActionChngPolLightDimu::SetSelToCurrSel() {
    Count = copySelection(Pols, PrevValues, [](int32_t p) { return OMBREL_polygon_get_light_diminution(p); });
}

// ---- ActionChngPolTranslucency

void ActionChngPolTranslucency::Undo() {
    for (int32_t i = 1; i <= Count; ++i)
        OMBREL_polygon_set_translucent(Pols[static_cast<std::size_t>(i)], PrevCodes[static_cast<std::size_t>(i)] & 0xFF);
    core::callHook(core::windowHooks().showSelPolFilter);
}

void ActionChngPolTranslucency::Redo() {
    for (int32_t i = 1; i <= Count; ++i)
        OMBREL_polygon_set_translucent(Pols[static_cast<std::size_t>(i)], NewTranslucency & 0xFF);
    core::callHook(core::windowHooks().showSelPolFilter);
}

void ActionChngPolTranslucency::SetSelToCurrSel() {
    Count = copySelection(Pols, PrevCodes, [](int32_t p) { return OMBREL_polygon_get_translucent(p); });
}

// ---- ActionChngPolTrnsIndx

void ActionChngPolTrnsIndx::SetAffectAllPolsWithSameMapNameFlag(bool Flag) {
    AffectAll = Flag;
    if (!Flag) return;
    const int32_t bitmap = OMBREL_polygon_get_bitmap_handle(Polygon);
    for (int32_t p = OMBREL_group_get_first_polygon(FatherGrp); p != 0; p = OMBREL_group_get_next_polygon(FatherGrp, p)) {
        if (OMBREL_polygon_get_bitmap_handle(p) != bitmap) continue;
        Pols.push_back(p);
        ++Count;
    }
}

void ActionChngPolTrnsIndx::Apply(int32_t index) {
    const int32_t present = OMBREL_polygon_get_bitmap_handle(Polygon);
    if (present == 0) core::raiseError("The polygon has no bitmap whose transparent colour could change");
    // The engine name is the bitmap's whole path: a cut one would find no file.
    const std::string name = Globals::GetEntityName(present);
    const std::vector<int32_t> before = undo::LoadedBitmaps();
    const int32_t bitmap = OMBREL_bitmap_load(name.c_str(), index);
    // A file that cannot be read any more must not take the polygons' bitmap away.
    if (bitmap == 0) core::raiseError("The bitmap " + name + " could not be loaded again: " + OMBREL_ext_get_last_error());
    for (int32_t added : undo::BitmapsLoadedSince(before)) Loaded.push_back(added);
    if (!AffectAll) {
        OMBREL_polygon_set_bitmap_fill(Polygon, bitmap);
    } else {
        for (int32_t i = 1; i <= Count; ++i) OMBREL_polygon_set_bitmap_fill(Pols[static_cast<std::size_t>(i)], bitmap);
    }
    // The copy with the other colour, when this record loaded it, is saved no more.
    if (present != bitmap && std::find(Loaded.begin(), Loaded.end(), present) != Loaded.end() &&
        !undo::UnloadUnusedBitmaps({present}).empty())
        std::erase(Loaded, present);
    const auto& hook = core::windowHooks().setPolTransparentControls;
    if (index == -1) {
        core::callHook(hook, false, 0);
        return;
    }
    uint8_t r = 0, g = 0, b = 0;
    OMBREL_bitmap_index_to_rgb(OMBREL_polygon_get_bitmap_handle(Polygon), index & 0xFF, &r, &g, &b);
    core::callHook(hook, true, platform::rgb(r, g, b));
}

void ActionChngPolTrnsIndx::ReplaceHandle(int32_t from, int32_t to) {
    std::replace(Loaded.begin(), Loaded.end(), from, to);
}

// ---- ActionPolsFlip

void ActionPolsFlip::Undo() { Globals::FlipPolygons(Pols, Count); }
void ActionPolsFlip::Redo() { Globals::FlipPolygons(Pols, Count); }
