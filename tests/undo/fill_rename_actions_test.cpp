// The records of a change of polygon fills and of a rename: what they record,
// what Undo and Redo give back, and which trees and fields they reach.
#include "undo_fixture.h"

#include "bmp_writer.h"

#include "core/EntityProcedures.h"
#include "platform/error_trap.h"

#include <map>
#include <set>
#include <optional>
#include <string>
#include <utility>

namespace {

struct Fill {
    int32_t animation, bitmap;
    std::array<int32_t, 3> colour;
    bool operator==(const Fill&) const = default;
};

// What the polygon shows: its animation, else its bitmap, else its colour (the
// colour under a picture is not part of the fill).
Fill fillOf(int32_t polygon) {
    Fill f{OMBREL_polygon_get_animation(polygon), OMBREL_polygon_get_bitmap_handle(polygon), {}};
    if (f.animation == 0 && f.bitmap == 0) OMBREL_polygon_get_color(polygon, &f.colour[0], &f.colour[1], &f.colour[2]);
    return f;
}

class FillActions : public UndoFixture {
protected:
    // Three polygons of one group: one showing an animation, one a bitmap, one a
    // plain colour.
    void SetUp() override {
        UndoFixture::SetUp();
        group = makeGroup("walls", {0, 0, 0});
        extra = square(group, {9, 9, 0}, 1);
        pols = polygonsOf(group);
        ASSERT_EQ(pols.size(), 3u);
        writeBmp24(dir.path() / "brick.bmp", 1, 1, {{200, 10, 10}});
        bitmap = OMBREL_bitmap_load((dir.path() / "brick.bmp").c_str(), -1);
        animation = OMBREL_animation_create("flames");
        ASSERT_NE(bitmap, 0);
        ASSERT_NE(animation, 0);
        OMBREL_polygon_set_color_fill(pols[0], 1, 2, 3);
        OMBREL_polygon_set_animation(pols[0], animation);
        OMBREL_polygon_set_color_fill(pols[1], 4, 5, 6);
        OMBREL_polygon_set_bitmap_fill(pols[1], bitmap);
        OMBREL_polygon_set_color_fill(pols[2], 7, 8, 9);
        for (int32_t p : pols) before[p] = fillOf(p);
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
    }

    std::unique_ptr<ActionUndoRedo> colourRecord(bool wholeGroup, std::array<uint8_t, 3> rgb) {
        auto r = record(ActApplyTextureToGrp);
        r->ApplyTexture->SetNewFillType(2);
        r->ApplyTexture->SetSelToCurrSel(wholeGroup);
        r->ApplyTexture->SetNewColor(rgb);
        return r;
    }

    TempFolder dir;
    int32_t group = 0, extra = 0, bitmap = 0, animation = 0;
    std::vector<int32_t> pols;
    std::map<int32_t, Fill> before;
};

TEST_F(FillActions, UndoGivesEachPolygonItsOwnFillBackAndRedoTheNewOne) {
    struct Case {
        const char* name;
        bool wholeGroup;
        std::vector<int> selected;  // indices into pols when not the whole group
    };
    const Case cases[] = {{"whole group", true, {}}, {"selected polygons", false, {0, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Globals::NumSelPols = 0;
        for (int i : c.selected) Globals::SelPols[++Globals::NumSelPols] = pols[static_cast<std::size_t>(i)];
        auto r = colourRecord(c.wholeGroup, {20, 30, 40});
        EXPECT_EQ(r->ApplyTexture->PolygonCount(), c.wholeGroup ? 3 : 2);
        // The command colours the whole group at once; Redo works polygon by polygon.
        if (c.wholeGroup) {
            const uint8_t rgb[3] = {20, 30, 40};
            OMBREL_group_set_color(group, rgb);
        } else {
            r->RedoAction();
        }
        r->UndoAction();
        for (int32_t p : pols) EXPECT_EQ(fillOf(p), before[p]) << p;
        r->RedoAction();
        for (std::size_t i = 0; i < pols.size(); ++i) {
            const bool coloured = c.wholeGroup || std::find(c.selected.begin(), c.selected.end(), i) != c.selected.end();
            const Fill want = coloured ? Fill{0, 0, {20, 30, 40}} : before[pols[i]];
            EXPECT_EQ(fillOf(pols[i]), want) << i;
        }
        r->UndoAction();
    }
}

TEST_F(FillActions, BitmapAndAnimationFillsAreRedonePolygonByPolygon) {
    Globals::NumSelPols = 1;
    Globals::SelPols[1] = pols[2];
    auto r = record(ActApplyTextureToGrp);
    r->ApplyTexture->SetSelToCurrSel(false);
    r->ApplyTexture->SetNewFillType(1);
    r->ApplyTexture->SetNewMapHandle(bitmap);
    r->RedoAction();
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(pols[2]), bitmap);
    r->ApplyTexture->SetNewFillType(0);
    r->ApplyTexture->SetNewAnimation(animation);
    r->RedoAction();
    EXPECT_EQ(OMBREL_polygon_get_animation(pols[2]), animation);
    r->UndoAction();
    EXPECT_EQ(fillOf(pols[2]), before[pols[2]]);
    // An unknown fill type changes nothing; an empty selection records nothing.
    r->ApplyTexture->SetNewFillType(7);
    r->RedoAction();
    EXPECT_EQ(fillOf(pols[2]), before[pols[2]]);
    Globals::NumSelPols = 0;
    r->ApplyTexture->SetSelToCurrSel(false);
    EXPECT_EQ(r->ApplyTexture->PolygonCount(), 0);
}

TEST_F(FillActions, ARecordNamesTheBitmapsAndAnimationsItKeepsAndTakesNewHandlesForThem) {
    auto r = record(ActApplyTextureToGrp);
    r->ApplyTexture->SetSelToCurrSel(true);
    r->ApplyTexture->SetNewFillType(2);
    const int32_t moved = OMBREL_bitmap_load((dir.path() / "brick.bmp").c_str(), 3);
    ASSERT_NE(moved, 0);
    EXPECT_TRUE(r->NamesHandle(bitmap));
    EXPECT_TRUE(r->NamesHandle(animation));
    EXPECT_FALSE(r->NamesHandle(moved));
    EXPECT_FALSE(r->NamesHandle(0));
    r->ReplaceHandle(bitmap, moved);
    EXPECT_FALSE(r->NamesHandle(bitmap));
    EXPECT_TRUE(r->NamesHandle(moved));
    OMBREL_group_set_color(group, std::array<uint8_t, 3>{0, 0, 0}.data());
    r->UndoAction();
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(pols[1]), moved);
    EXPECT_EQ(OMBREL_polygon_get_animation(pols[0]), animation);
    // The new fill counts only for the kind the record gives.
    auto fresh = record(ActApplyTextureToGrp);
    Globals::NumSelPols = 0;
    fresh->ApplyTexture->SetSelToCurrSel(false);
    fresh->ApplyTexture->SetNewFillType(1);
    fresh->ApplyTexture->SetNewMapHandle(bitmap);
    fresh->ApplyTexture->SetNewAnimation(animation);
    EXPECT_TRUE(fresh->NamesHandle(bitmap));
    EXPECT_FALSE(fresh->NamesHandle(animation));
    // Records of other kinds keep no texture handles.
    auto select = record(ActSelect);
    EXPECT_FALSE(select->NamesHandle(bitmap));
}

TEST_F(FillActions, TheHistoryIsVisitedUndoneRecordsIncluded) {
    auto& stack = *Globals::UndoRedoStack;
    auto named = record(ActApplyTextureToGrp);
    named->ApplyTexture->SetSelToCurrSel(true);
    stack.Push(std::move(named));
    stack.Push(record(ActSelect));
    EXPECT_TRUE(stack.AnyRecordNames(bitmap));
    stack.Pop();
    stack.Pop();  // both undone: the redo part holds them
    int visited = 0;
    stack.VisitRecords([&](ActionUndoRedo&) { ++visited; });
    EXPECT_EQ(visited, 2);
    EXPECT_TRUE(stack.AnyRecordNames(bitmap));
    const int32_t moved = OMBREL_bitmap_load((dir.path() / "brick.bmp").c_str(), 5);
    stack.ReplaceHandleInRecords(bitmap, moved);
    EXPECT_FALSE(stack.AnyRecordNames(bitmap));
    EXPECT_TRUE(stack.AnyRecordNames(moved));
    window.undoVisible = window.redoVisible = true;
    stack.ResetHistory();
    EXPECT_FALSE(stack.HoldsAnyRecord());
    EXPECT_FALSE(window.undoVisible);
    EXPECT_FALSE(window.redoVisible);
}

// ---- rename

class RenameActions : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        auto& h = core::windowHooks();
        h.setEntityNodeText = [this](int32_t kind, int32_t handle, const std::string& text) {
            const auto key = std::make_pair(kind, handle);
            if (missing.count(key)) return false;
            nodes[key] = text;
            return true;
        };
        h.setEntityNameField = [this](int32_t kind, const std::string& text) { fields[kind] = text; };
    }

    std::unique_ptr<ActionUndoRedo> renameRecord(int32_t kind, int32_t handle, const std::string& prev,
                                                 const std::string& next) {
        auto r = record(ActRenameEntity);
        r->RenameEntity->SetPrevName(prev);
        r->RenameEntity->SetEntityRenamed(kind, handle);
        r->RenameEntity->SetNewName(next);
        return r;
    }

    std::map<std::pair<int32_t, int32_t>, std::string> nodes;
    std::set<std::pair<int32_t, int32_t>> missing;
    std::map<int32_t, std::string> fields;
};

TEST_F(RenameActions, UndoAndRedoSwitchTheEngineNameAndTheNodeOfEveryKind) {
    const double at[3] = {0, 0, 0};
    const int32_t group = makeGroup("g", {0, 0, 0});
    const int32_t polygon = polygonsOf(group)[0];
    struct Case {
        int32_t kind;
        int32_t handle;
    };
    const Case cases[] = {
        {SelGroup, group},
        {SelCamera, OMBREL_camera_create("c")},
        {SelTrack, OMBREL_track_create("t", 0, nullptr, 0)},
        {SelLight, OMBREL_light_create("l", at)},
        {SelBackground, OMBREL_background_create("b", 0)},
        {SelPolygon, polygon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ASSERT_NE(c.handle, 0);
        auto r = renameRecord(c.kind, c.handle, "  Old \"name\\\" ", "Néw  ");
        EXPECT_EQ(r->RenameEntity->PrevName(), "Old \"name\\\"");
        r->RedoAction();
        EXPECT_EQ(Globals::GetEntityName(c.handle), "Néw");
        EXPECT_EQ(nodes[std::make_pair(c.kind, c.handle)], "Néw");
        r->UndoAction();
        EXPECT_EQ(Globals::GetEntityName(c.handle), "Old \"name\\\"");
        EXPECT_EQ(nodes[std::make_pair(c.kind, c.handle)], "Old \"name\\\"");
    }
    // Nothing selected: no panel field shows any of them.
    EXPECT_TRUE(fields.empty());
    // Kinds without a name of their own do nothing.
    for (int32_t kind : {SelNone, SelMultiple}) {
        nodes.clear();
        auto r = renameRecord(kind, group, "a", "b");
        r->RedoAction();
        EXPECT_TRUE(nodes.empty());
        EXPECT_EQ(Globals::GetEntityName(group), "Old \"name\\\"");
    }
}

TEST_F(RenameActions, TheFieldsFollowOnlyTheEntityTheyShow) {
    const int32_t shown = makeGroup("shown", {0, 0, 0});
    const int32_t other = makeGroup("other", {5, 0, 0});
    const std::vector<int32_t> pols = polygonsOf(shown);
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = shown;
    Globals::NumSelPols = 1;
    Globals::SelPols[1] = pols[0];
    struct Case {
        const char* name;
        int32_t kind, handle;
        bool fieldWritten;
    };
    const Case cases[] = {
        {"the selected group", SelGroup, shown, true},
        {"another group", SelGroup, other, false},
        {"the one selected polygon", SelPolygon, pols[0], true},
        {"another polygon", SelPolygon, pols[1], false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fields.clear();
        auto r = renameRecord(c.kind, c.handle, "before", "after");
        r->UndoAction();
        EXPECT_EQ(fields.count(c.kind) != 0, c.fieldWritten);
        if (c.fieldWritten) {
            EXPECT_EQ(fields[c.kind], "before");
        }
    }
}

TEST_F(RenameActions, AMissingPolygonNodeIsPassedOverAnyOtherIsAnError) {
    const int32_t group = makeGroup("g", {0, 0, 0});
    const int32_t polygon = polygonsOf(group)[0];
    missing = {{SelPolygon, polygon}, {SelGroup, group}};
    auto pol = renameRecord(SelPolygon, polygon, "Extruded Pol", "Lid");
    pol->RedoAction();
    EXPECT_EQ(Globals::GetEntityName(polygon), "Lid");
    auto grp = renameRecord(SelGroup, group, "g", "walls");
    EXPECT_THROW(grp->RedoAction(), platform::EditorError);
    EXPECT_EQ(Globals::GetEntityName(group), "g");
}

}  // namespace
