#include "undo_fixture.h"

#include "bmp_writer.h"

#include "undo/UndoRedoCommands.h"

#include "core/DetachPolygons.h"
#include "core/EntityProcedures.h"
#include "core/FlipPolygons.h"
#include "core/WeldedPoints.h"
#include "platform/colour.h"
#include "core/WeldedPointsProcedures.h"

#include <functional>
#include <optional>
#include <string>

namespace {

// What the records wrote into the polygon panel, as the window hooks saw it.
struct PanelRecorder {
    std::optional<bool> rotatedBox;
    std::optional<double> lightDimuText;
    int filterShown = 0;
    std::optional<std::pair<bool, int32_t>> transparent;
};

class PolygonPropertyActions : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        group = makeGroup("walls", {0, 0, 0});
        third = square(group, {9, 9, 9}, 3);
        pols = polygonsOf(group);
        ASSERT_EQ(pols.size(), 3u);
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        auto& h = core::windowHooks();
        h.setPolRotatedBox = [this](bool on) { panel.rotatedBox = on; };
        h.setPolLightDimuText = [this](double v) { panel.lightDimuText = v; };
        h.showSelPolFilter = [this] { ++panel.filterShown; };
        h.setPolTransparentControls = [this](bool on, int32_t colour) { panel.transparent = {on, colour}; };
    }

    void selectAll() {
        Globals::NumSelPols = 0;
        for (int32_t p : pols) Globals::SelPols[++Globals::NumSelPols] = p;
    }

    int32_t group = 0, third = 0;
    std::vector<int32_t> pols;
    PanelRecorder panel;
};

// Each property as its panel command records and applies it to the selection.
struct Property {
    const char* name;
    std::function<double(int32_t)> get;
    std::function<void(int32_t, double)> set;
    std::function<std::unique_ptr<ActionUndoRedo>(double first, double value)> record;
    std::vector<double> before;  // the three polygons' own values
    double value;                // the one the command gives them all
};

TEST_F(PolygonPropertyActions, UndoGivesEveryPolygonItsOwnValueAndRedoTheNewOne) {
    const Property properties[] = {
        {"rotated flag", [](int32_t p) { return double(OMBREL_polygon_is_rotated(p)); },
         [](int32_t p, double v) { OMBREL_polygon_set_rotated(p, int32_t(v)); },
         [](double, double v) {
             auto r = ActionUndoRedo::New(ActChngPolRotatedProp);
             r->ChngPolRotatedProp->SetPrevRotatedFlag(v == 0);  // the box before the click
             r->ChngPolRotatedProp->SetSelToCurrSel();
             return r;
         },
         {1, 0, 1}, 0},
        {"light diminution", [](int32_t p) { return OMBREL_polygon_get_light_diminution(p); },
         [](int32_t p, double v) { OMBREL_polygon_set_light_diminution(p, v); },
         [](double first, double v) {
             auto r = ActionUndoRedo::New(ActChngPolLightDimu);
             r->ChngPolLightDimu->SetSelToCurrSel();
             r->ChngPolLightDimu->SetPrevLightDimu(first);
             r->ChngPolLightDimu->SetnewLightDimu(v);
             return r;
         },
         {10, 55.5, 0}, 42},
        {"blending code", [](int32_t p) { return double(OMBREL_polygon_get_translucent(p)); },
         [](int32_t p, double v) { OMBREL_polygon_set_translucent(p, int32_t(v)); },
         [](double first, double v) {
             auto r = ActionUndoRedo::New(ActChngPolTranslucency);
             r->ChngPolTranslucency->SetSelToCurrSel();
             r->ChngPolTranslucency->SetPrevTranslucency(int32_t(first));
             r->ChngPolTranslucency->SetnewTranslucency(int32_t(v));
             return r;
         },
         {49, 82, 34}, 66},
    };
    for (const Property& prop : properties) {
        for (bool oneAlreadyThere : {false, true}) {
            SCOPED_TRACE(std::string(prop.name) + (oneAlreadyThere ? ", one already at the new value" : ""));
            std::vector<double> before = prop.before;
            if (oneAlreadyThere) before[1] = prop.value;
            for (std::size_t i = 0; i < pols.size(); ++i) prop.set(pols[i], before[i]);
            selectAll();
            panel = {};

            Globals::UndoRedoStack->Push(prop.record(before[0], prop.value));
            for (int32_t p : pols) prop.set(p, prop.value);

            undo::UndoCommand();
            for (std::size_t i = 0; i < pols.size(); ++i) EXPECT_EQ(prop.get(pols[i]), before[i]) << i;
            undo::RedoCommand();
            for (int32_t p : pols) EXPECT_EQ(prop.get(p), prop.value);
            undo::UndoCommand();
            for (std::size_t i = 0; i < pols.size(); ++i) EXPECT_EQ(prop.get(pols[i]), before[i]) << i;
            Globals::UndoRedoStack->Reset();
        }
    }
}

TEST_F(PolygonPropertyActions, ThePanelControlShowsTheRecordedValue) {
    selectAll();
    auto rotated = ActionUndoRedo::New(ActChngPolRotatedProp);
    rotated->ChngPolRotatedProp->SetPrevRotatedFlag(true);
    rotated->ChngPolRotatedProp->SetSelToCurrSel();
    rotated->UndoAction();
    EXPECT_EQ(panel.rotatedBox, std::optional<bool>(true));
    rotated->RedoAction();
    EXPECT_EQ(panel.rotatedBox, std::optional<bool>(false));

    auto dimu = ActionUndoRedo::New(ActChngPolLightDimu);
    dimu->ChngPolLightDimu->SetSelToCurrSel();
    dimu->ChngPolLightDimu->SetPrevLightDimu(12.5);
    dimu->ChngPolLightDimu->SetnewLightDimu(100);
    dimu->UndoAction();
    EXPECT_EQ(panel.lightDimuText, std::optional<double>(12.5));
    dimu->RedoAction();
    EXPECT_EQ(panel.lightDimuText, std::optional<double>(100));

    auto filter = ActionUndoRedo::New(ActChngPolTranslucency);
    filter->ChngPolTranslucency->SetSelToCurrSel();
    filter->UndoAction();
    filter->RedoAction();
    EXPECT_EQ(panel.filterShown, 2);
    // The engine gets the low byte of a code.
    filter->ChngPolTranslucency->SetnewTranslucency(0x152);
    filter->RedoAction();
    EXPECT_EQ(OMBREL_polygon_get_translucent(pols[0]), 0x52);

    // Without polygons an Undo still shows the box's previous state; a Redo,
    // which writes the box with the polygons, leaves it alone.
    Globals::NumSelPols = 0;
    auto empty = ActionUndoRedo::New(ActChngPolRotatedProp);
    empty->ChngPolRotatedProp->SetPrevRotatedFlag(false);
    empty->ChngPolRotatedProp->SetSelToCurrSel();
    panel = {};
    empty->RedoAction();
    EXPECT_FALSE(panel.rotatedBox.has_value());
    empty->UndoAction();
    EXPECT_EQ(panel.rotatedBox, std::optional<bool>(false));
}

TEST_F(PolygonPropertyActions, FlipUndoAndRedoBothReverseThePointsAndKeepTheWeldedTable) {
    Globals::BuildWeldedPoints(group);
    const int32_t entries = Globals::NumWeldedPts;
    auto positions = [](int32_t polygon) {
        std::vector<std::array<double, 3>> out;
        for (int32_t pt : pointsOf(polygon)) {
            std::array<double, 3> p{};
            OMBREL_point_get_xyz(pt, p.data());
            out.push_back(p);
        }
        return out;
    };
    const auto first = positions(pols[0]);
    const auto reversed = std::vector<std::array<double, 3>>(first.rbegin(), first.rend());
    selectAll();
    auto r = ActionUndoRedo::New(ActPolsFlip);
    r->FlipPols->SetPolsFlipped(Globals::SelPols, 2);
    Globals::UndoRedoStack->Push(std::move(r));
    Globals::FlipPolygons(Globals::SelPols, 2);
    EXPECT_EQ(positions(pols[0]), reversed);
    undo::UndoCommand();
    EXPECT_EQ(positions(pols[0]), first);
    undo::RedoCommand();
    EXPECT_EQ(positions(pols[0]), reversed);
    EXPECT_EQ(Globals::NumWeldedPts, entries);
    for (int32_t i = 1; i <= Globals::NumWeldedPts; ++i) EXPECT_GT(Globals::WeldedPts[i]->NumOfPts(), 0);
}

class TransparentColourAction : public PolygonPropertyActions {
protected:
    void SetUp() override {
        PolygonPropertyActions::SetUp();
        // A path longer than an entity name may be, as a deep folder gives one.
        std::filesystem::path deep = folder.path();
        while (deep.string().size() < 300) deep /= std::string(60, 'd');
        file = deep / "stone.bmp";
        std::vector<TestRgb> palette(256, TestRgb{0, 0, 0});
        palette[5] = {200, 100, 50};
        palette[9] = {1, 2, 3};
        writeBmp8(file, 2, 2, palette, {5, 9, 5, 9});
        writeBmp8(folder.path() / "other.bmp", 2, 2, palette, {1, 2, 3, 4});
        stone = OMBREL_bitmap_load(file.c_str(), -1);
        ASSERT_NE(stone, 0) << OMBREL_ext_get_last_error();
        ASSERT_GT(Globals::GetEntityName(stone).size(), 255u);
        const int32_t other = OMBREL_bitmap_load((folder.path() / "other.bmp").c_str(), -1);
        OMBREL_polygon_set_bitmap_fill(pols[0], stone);
        OMBREL_polygon_set_bitmap_fill(pols[1], other);
        OMBREL_polygon_set_bitmap_fill(pols[2], stone);
    }

    // What the picker does: the record, the polygon's bitmap loaded with the
    // picked index given to the polygon (or all that share it), the push.
    void pick(int32_t index, bool all) {
        auto r = ActionUndoRedo::New(ActChngPolTrnsIndx);
        r->ChngPolTransIndx->SetSel_PolandFatherGrp(pols[0], group);
        r->ChngPolTransIndx->SetPrevTrnsIndx(OMBREL_bitmap_get_transparent_index(OMBREL_polygon_get_bitmap_handle(pols[0])));
        r->ChngPolTransIndx->SetAffectAllPolsWithSameMapNameFlag(all);
        const int32_t keyed = OMBREL_bitmap_load(Globals::GetEntityName(stone).c_str(), index);
        for (int32_t p : all ? std::vector<int32_t>{pols[0], pols[2]} : std::vector<int32_t>{pols[0]})
            OMBREL_polygon_set_bitmap_fill(p, keyed);
        r->ChngPolTransIndx->SetNewTrnsIndx(index);
        Globals::UndoRedoStack->Push(std::move(r));
    }

    static int32_t bitmapCount() {
        int32_t n = 0;
        for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b; b = OMBREL_bitmap_get_next(b)) ++n;
        return n;
    }

    TempFolder folder;
    std::filesystem::path file;
    int32_t stone = 0;
};

TEST_F(TransparentColourAction, UndoAndRedoReloadTheLongNamedBitmapWithEachIndex) {
    struct Case {
        const char* name;
        bool all;
        std::vector<int32_t> following;  // the polygons that take the change
    };
    const Case cases[] = {{"the polygon alone", false, {0}}, {"every polygon sharing its bitmap", true, {0, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int32_t p : {pols[0], pols[2]}) OMBREL_polygon_set_bitmap_fill(p, stone);
        const int32_t otherBitmap = OMBREL_polygon_get_bitmap_handle(pols[1]);
        pick(5, c.all);
        const int32_t bitmaps = bitmapCount();
        for (int round = 0; round < 2; ++round) {
            undo::UndoCommand();
            for (int32_t i : c.following) EXPECT_EQ(OMBREL_polygon_get_transparent_index(pols[static_cast<std::size_t>(i)]), -1);
            EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(pols[0]), stone);
            ASSERT_TRUE(panel.transparent.has_value());
            EXPECT_FALSE(panel.transparent->first);
            undo::RedoCommand();
            for (int32_t i : c.following) EXPECT_EQ(OMBREL_polygon_get_transparent_index(pols[static_cast<std::size_t>(i)]), 5);
            EXPECT_EQ(*panel.transparent, std::make_pair(true, platform::rgb(200, 100, 50)));
        }
        if (!c.all) {
            EXPECT_EQ(OMBREL_polygon_get_transparent_index(pols[2]), -1);
        }
        EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(pols[1]), otherBitmap);
        // The engine hands back the bitmap it has for the file and index.
        EXPECT_EQ(bitmapCount(), bitmaps);
        EXPECT_EQ(std::string(OMBREL_ext_get_last_error()), "");
        Globals::UndoRedoStack->Reset();
    }
}

TEST_F(TransparentColourAction, ABitmapWhoseFileWentKeepsItsPolygons) {
    pick(9, true);
    const int32_t keyed = OMBREL_polygon_get_bitmap_handle(pols[0]);
    std::filesystem::remove(file);
    ActionUndoRedo* r = Globals::UndoRedoStack->Pop();
    ASSERT_NE(r, nullptr);
    EXPECT_THROW(r->UndoAction(), platform::EditorError);
    for (int32_t p : {pols[0], pols[2]}) EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(p), keyed);
    EXPECT_FALSE(panel.transparent.has_value());
}

TEST_F(PolygonPropertyActions, DetachUndoAndRedoMoveThePolygonsBetweenTheSameTwoGroups) {
    std::vector<int32_t> removedNodes, addedNodes;
    auto& h = core::windowHooks();
    h.removeGroupNode = [&](int32_t g) { removedNodes.push_back(g); };
    h.addGroupNode = [&](int32_t g, int32_t father) {
        EXPECT_EQ(father, Globals::RootGrp);
        addedNodes.push_back(g);
    };
    Globals::NumSelPols = 2;
    Globals::SelPols[1] = pols[0];
    Globals::SelPols[2] = pols[2];
    auto r = ActionUndoRedo::New(ActDetachPols);
    r->DetachPols->SetDetachedPolsToCurrSel();
    r->DetachPols->SetOldGrp(group);
    const int32_t made = Globals::MoveSelPolsIntoNewGroup("ausgelöst");
    r->DetachPols->SetNewGrp(made);
    Globals::CurrSelEntityHandle = made;
    Globals::UndoRedoStack->Push(std::move(r));
    EXPECT_EQ(polygonsOf(made), (std::vector<int32_t>{pols[0], pols[2]}));
    EXPECT_EQ(Globals::GetEntityName(made), "ausgelöst");
    std::array<double, 3> pivot{};
    OMBREL_group_get_rotate_reference_point(made, pivot.data());
    std::array<double, 3> c0{}, c2{};
    OMBREL_polygon_get_center(pols[0], c0.data());
    OMBREL_polygon_get_center(pols[2], c2.data());
    for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(pivot[static_cast<std::size_t>(k)], (c0[static_cast<std::size_t>(k)] + c2[static_cast<std::size_t>(k)]) / 2);

    for (int round = 0; round < 2; ++round) {
        // The group was chosen twice before: the panels must still follow.
        Globals::PrevSelEntityType = SelGroup;
        Globals::PrevSelEntityHandle = group;
        window.calls.clear();
        undo::UndoCommand();
        EXPECT_EQ(polygonsOf(group).size(), 3u);
        EXPECT_TRUE(polygonsOf(made).empty());
        EXPECT_EQ(OMBREL_group_get_father_group(made), 0);
        EXPECT_EQ(OMBREL_group_is_disable(made), 1);
        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
        EXPECT_EQ(Globals::CurrSelEntityHandle, group);
        EXPECT_EQ(window.count("SelectionChangedUi"), 1);

        undo::RedoCommand();
        EXPECT_EQ(polygonsOf(made), (std::vector<int32_t>{pols[0], pols[2]}));
        EXPECT_EQ(polygonsOf(group), std::vector<int32_t>{pols[1]});
        EXPECT_EQ(OMBREL_group_get_father_group(made), Globals::RootGrp);
        EXPECT_EQ(OMBREL_group_is_disable(made), 0);
        EXPECT_EQ(Globals::CurrSelEntityHandle, made);
    }
    EXPECT_EQ(removedNodes, (std::vector<int32_t>{made, made}));
    EXPECT_EQ(addedNodes, (std::vector<int32_t>{made, made}));
    // Its release leaves both groups alive.
    Globals::UndoRedoStack->Reset();
    EXPECT_TRUE(alive(made));
    EXPECT_TRUE(alive(group));
}

}  // namespace
