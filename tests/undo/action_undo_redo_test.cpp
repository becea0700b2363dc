#include "undo/ActionUndoRedo.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> filledFields(const ActionUndoRedo& r) {
    std::vector<std::string> filled;
#define X(field, cls, code, built) \
    if (static_cast<bool>(r.field)) filled.push_back(#field);
    TALVORA_UNDO_ACTIONS(X)
#undef X
    return filled;
}

TEST(ActionUndoRedo, EveryCodeButNineAndTwentyFiveHasExactlyOneField) {
    std::multiset<int> codes;
#define X(field, cls, code, built) codes.insert(code);
    TALVORA_UNDO_ACTIONS(X)
#undef X
    EXPECT_EQ(codes.size(), 40u);
    for (int code = 1; code <= 42; ++code)
        EXPECT_EQ(codes.count(code), code == 9 || code == 25 ? 0u : 1u) << "code " << code;
}

TEST(ActionUndoRedo, SetActionObjectsFillsOnlyTheFieldOfItsCode) {
    struct Case {
        int32_t code;
        std::vector<std::string> filled;
    };
    const Case cases[] = {
        {ActSelect, {"SelectObj"}},       {ActMove, {"Move"}},
        {ActRotate, {"Rotate"}},          {ActScale, {"ScaleObj"}},
        {ActDeleteGrpPols, {"DeleteGrpPols"}}, {ActSelectPols, {"SelectPols"}},
        {ActCreate, {"Create"}},          {ActSelectPts, {"SelectPts"}},
        {ActSelectCoords, {"SelectCoords"}}, {ActSelectTrkPts, {"SelectTrkPts"}},
        {ActChngTextureCoords, {"ChngTextureCoords"}},
        {ActMoveGrpPols, {"MoveGrpPols"}}, {ActScaleTrkPts, {"ScaleTrkPts"}}, {ActAlign, {"Align"}},
        {ActDelete, {"Delete"}},          {ActChangeFatherGrp, {"ChngFatherGrp"}},
        {ActUnGroup, {"Ungroup"}},        {ActHide, {"HideSel"}}, {ActUnhide, {"UnHideSel"}},
        {ActReplaceGrp, {"ReplaceGrp"}}, {ActGroupTogather, {"GroupGrps"}},
        {ActExtrude, {"Extrude"}},        {ActBevel, {"Bevel"}}, {ActCutPol, {"CutPols"}},
        {ActChngFog, {"ChngFog"}},
        // no class
        {0, {}}, {9, {}}, {25, {}}, {43, {}}, {-1, {}},
    };
    for (const Case& c : cases) {
        ActionUndoRedo r;
        r.ActionType = c.code;
        r.SetActionObjects();
        EXPECT_EQ(filledFields(r), c.filled) << "code " << c.code;
        // Undo and Redo of a record without an action do nothing.
        if (c.filled.empty()) {
            r.UndoAction();
            r.RedoAction();
        }
        r.Release();
        EXPECT_TRUE(filledFields(r).empty()) << "code " << c.code;
        EXPECT_TRUE(r.IsReleased());
    }
}

TEST(ActionUndoRedo, RotationsKeepTheOrderGiven) {
    ActionRotate rotate;
    rotate.AddRotation(30, 0);
    rotate.AddRotation(45, 1);
    rotate.AddRotation(-10, 2);
    ASSERT_EQ(rotate.NumOfRotations(), 3);
    EXPECT_EQ(rotate.Rotation(1).Angle, 30);
    EXPECT_EQ(rotate.Rotation(2).Axis, 1);
    EXPECT_EQ(rotate.Rotation(3).Angle, -10);
    EXPECT_THROW(rotate.Rotation(4), std::exception);
}

}  // namespace
