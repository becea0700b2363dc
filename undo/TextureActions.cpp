#include "TextureActions.h"

#include "core/Globals.h"

#include "ombrel.h"

#include <algorithm>
#include <unordered_set>

void ActionApplyTextureToGrp::SetNewFillType(int32_t FillType) { NewFillType = FillType; }

void ActionApplyTextureToGrp::SetNewMapHandle(int32_t Map) { NewBitmap = Map; }

void ActionApplyTextureToGrp::SetNewColor(const std::array<uint8_t, 3>& Clr) { NewColour = Clr; }

void ActionApplyTextureToGrp::SetNewAnimation(int32_t Animation) { NewAnimation = Animation; }

void ActionApplyTextureToGrp::record(int32_t polygon) {
    int32_t r = 0, g = 0, b = 0;
    OMBREL_polygon_get_color(polygon, &r, &g, &b);
    Pols.push_back(polygon);
    PrevAnimations.push_back(OMBREL_polygon_get_animation(polygon));
    PrevBitmaps.push_back(OMBREL_polygon_get_bitmap_handle(polygon));
    for (int32_t c : {r, g, b}) PrevColours.push_back(static_cast<uint8_t>(c & 0xFF));
    ++Count;
}

void ActionApplyTextureToGrp::clearRecorded() {
    Count = 0;
    Pols.assign(1, 0);
    PrevAnimations.assign(1, 0);
    PrevBitmaps.assign(1, 0);
    PrevColours.assign(3, 0);
}

void ActionApplyTextureToGrp::SetSelToCurrSel(bool GroupSelection) {
    WholeGroup = GroupSelection;
    clearRecorded();
    if (WholeGroup) {
        Group = Globals::CurrSelEntityHandle;
        for (int32_t p = OMBREL_group_get_first_polygon(Group); p != 0; p = OMBREL_group_get_next_polygon(Group, p))
            record(p);
    } else {
        const int32_t n = Globals::NumSelPols;
        Pols.reserve(static_cast<std::size_t>(n) + 1);
        for (int32_t i = 1; i <= n; ++i) record(Globals::SelPols[i]);
    }
}

void ActionApplyTextureToGrp::Undo() {
    for (int32_t i = 1; i <= Count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (PrevAnimations[at] != 0)
            OMBREL_polygon_set_animation(Pols[at], PrevAnimations[at]);
        else if (PrevBitmaps[at] != 0)
            OMBREL_polygon_set_bitmap_fill(Pols[at], PrevBitmaps[at]);
        else
            OMBREL_polygon_set_color_fill(Pols[at], PrevColours[3 * at], PrevColours[3 * at + 1],
                                          PrevColours[3 * at + 2]);
    }
}

void ActionApplyTextureToGrp::Redo() {
    for (int32_t i = 1; i <= Count; ++i) {
        const int32_t polygon = Pols[static_cast<std::size_t>(i)];
        switch (NewFillType) {
        case 0: OMBREL_polygon_set_animation(polygon, NewAnimation); break;
        case 1: OMBREL_polygon_set_bitmap_fill(polygon, NewBitmap); break;
        case 2: OMBREL_polygon_set_color_fill(polygon, NewColour[0], NewColour[1], NewColour[2]); break;
        default: break;
        }
    }
}

void ActionApplyTextureToGrp::SetSelToGroups(const std::vector<int32_t>& Groups) {
    WholeGroup = true;
    Group = Groups.empty() ? 0 : Groups.front();
    clearRecorded();
    std::unordered_set<int32_t> seen;
    for (int32_t g : Groups)
        for (int32_t p = OMBREL_group_get_first_polygon(g); p != 0; p = OMBREL_group_get_next_polygon(g, p))
            if (Groups.size() == 1 || seen.insert(p).second) record(p);
}

bool ActionApplyTextureToGrp::NamesHandle(int32_t handle) const {
    if (handle == 0) return false;
    if ((NewFillType == 1 && NewBitmap == handle) || (NewFillType == 0 && NewAnimation == handle)) return true;
    // Index 0 of the lists holds no polygon.
    return std::find(PrevBitmaps.begin() + 1, PrevBitmaps.end(), handle) != PrevBitmaps.end() ||
           std::find(PrevAnimations.begin() + 1, PrevAnimations.end(), handle) != PrevAnimations.end();
}

void ActionApplyTextureToGrp::ReplaceHandle(int32_t from, int32_t to) {
    if (from == 0) return;
    if (NewBitmap == from) NewBitmap = to;
    if (NewAnimation == from) NewAnimation = to;
    std::replace(PrevBitmaps.begin() + 1, PrevBitmaps.end(), from, to);
    std::replace(PrevAnimations.begin() + 1, PrevAnimations.end(), from, to);
}
