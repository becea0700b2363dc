#include "core/BoundingBox.h"
#include "core/MultipleSelection.h"
#include "core/SelectionBookkeeping.h"

#include "engine_world.h"
#include "entities/CameraGrp.h"

namespace {

using Selection = EngineWorldTest;

std::vector<int32_t> groupsOf(const MultipleSelection& s) {
    std::vector<int32_t> out;
    for (int32_t i = 1; i <= s.NumOfGrps(); ++i) out.push_back(s.GetGrp(i));
    return out;
}

TEST_F(Selection, AddingTwiceOrRemovingAbsentChangesNothing) {
    int32_t a = makeBox("a", {0, 0, 0}, {1, 1, 1}), b = makeBox("b", {5, 0, 0}, {6, 1, 1});
    MultipleSelection s;
    s.AddGrpHandles(a);
    s.AddGrpHandles(b);
    s.AddGrpHandles(a);
    s.AddCamHandles(77);
    s.AddCamHandles(77);
    s.RemoveGrp(12345);
    s.RemoveLight(1);
    EXPECT_EQ(groupsOf(s), (std::vector<int32_t>{a, b}));
    EXPECT_EQ(s.NumOfCams(), 1);
    EXPECT_EQ(s.TotalEntities(), 3);
    EXPECT_EQ(s.GetGrpBndBox(2).Group(), b);
    s.Reset();
    EXPECT_EQ(s.TotalEntities(), 0);
    s.Reset();
    EXPECT_EQ(s.TotalEntities(), 0);
    EXPECT_THROW(s.GetGrp(1), platform::EditorError);
}

TEST_F(Selection, BoxesStayWithTheirGroupsWhenAGroupLeaves) {
    int32_t g1 = makeBox("g1", {0, 0, 0}, {2, 2, 2}), g2 = makeBox("g2", {10, 0, 0}, {12, 2, 2}),
            g3 = makeBox("g3", {20, 0, 0}, {22, 2, 2});
    MultipleSelection s;
    for (int32_t g : {g1, g2, g3}) s.AddGrpHandles(g);
    // The group is already gone from the engine when the selection drops it (as
    // after a permanent deletion): its box must go with it all the same.
    OMBREL_group_delete_members(g2);
    s.RemoveGrp(g2);
    EXPECT_EQ(groupsOf(s), (std::vector<int32_t>{g1, g3}));
    EXPECT_EQ(s.GetGrpBndBox(1).Group(), g1);
    EXPECT_EQ(s.GetGrpBndBox(2).Group(), g3);
    EXPECT_NEAR(s.GetGrpBndBox(2).WorldCorner(0)[0], 22, 1e-9);
}

// Removing another selection's entities keeps the order of the rest, the boxes
// with their groups, and the index in step (a removed handle can come back).
TEST_F(Selection, RemovingEveryEntityOfAnotherSelectionKeepsTheRestInOrder) {
    std::vector<int32_t> g;
    for (int i = 0; i < 6; ++i) g.push_back(makeBox("g", {10.0 * i, 0, 0}, {10.0 * i + 1, 1, 1}));
    MultipleSelection s, other;
    for (int32_t h : g) s.AddGrpHandles(h);
    for (int32_t c : {7, 8, 9}) s.AddCamHandles(c);
    s.AddLightHandles(40);
    for (std::size_t i : {0u, 2u, 3u}) other.AddGrpHandles(g[i]);
    other.AddCamHandles(8);
    other.AddLightHandles(41);  // not in s
    s.RemoveEvery(other);
    EXPECT_EQ(groupsOf(s), (std::vector<int32_t>{g[1], g[4], g[5]}));
    for (int32_t i = 1; i <= s.NumOfGrps(); ++i) EXPECT_EQ(s.GetGrpBndBox(i).Group(), s.GetGrp(i));
    EXPECT_EQ(s.NumOfCams(), 2);
    EXPECT_EQ(s.GetCam(2), 9);
    EXPECT_TRUE(s.HasLight(40));
    EXPECT_FALSE(s.HasGrp(g[2]));
    s.AddGrpHandles(g[2]);
    EXPECT_EQ(groupsOf(s), (std::vector<int32_t>{g[1], g[4], g[5], g[2]}));
    EXPECT_EQ(s.GetGrpBndBox(4).Group(), g[2]);
}

TEST_F(Selection, MultiSelectionsAreSameOnlyInTheSameOrder) {
    int32_t a = makeBox("a", {0, 0, 0}, {1, 1, 1}), b = makeBox("b", {3, 0, 0}, {4, 1, 1});
    struct Case {
        const char* what;
        std::vector<int32_t> currGrps, prevGrps, currCams, prevCams, currTracks, prevTracks;
        bool same;
    };
    const Case cases[] = {
        {"same groups, same order", {a, b}, {a, b}, {}, {}, {}, {}, true},
        {"same groups swapped", {a, b}, {b, a}, {}, {}, {}, {}, false},
        {"cameras swapped", {a}, {a}, {7, 8}, {8, 7}, {}, {}, false},
        {"one more track", {a}, {a}, {}, {}, {9}, {}, false},
        {"same total, other kinds", {a}, {}, {}, {7}, {}, {}, false},
        {"both empty", {}, {}, {}, {}, {}, {}, true},
    };
    for (const Case& c : cases) {
        auto& curr = *Globals::CurrMultiSel;
        auto& prev = *Globals::PrevMultiSel;
        curr.Reset();
        prev.Reset();
        for (int32_t g : c.currGrps) curr.AddGrpHandles(g);
        for (int32_t g : c.prevGrps) prev.AddGrpHandles(g);
        for (int32_t h : c.currCams) curr.AddCamHandles(h);
        for (int32_t h : c.prevCams) prev.AddCamHandles(h);
        for (int32_t h : c.currTracks) curr.AddTrackHandles(h);
        for (int32_t h : c.prevTracks) prev.AddTrackHandles(h);
        EXPECT_EQ(Globals::IsMultiSelSameAsPrev(), c.same) << c.what;
        Globals::CurrSelEntityType = Globals::PrevSelEntityType = SelMultiple;
        EXPECT_EQ(Globals::IsCurrSelSameAsPrevSel(), c.same) << c.what;
    }
    // Saving makes them the same, in the same order.
    Globals::CurrMultiSel->Reset();
    Globals::CurrMultiSel->AddGrpHandles(b);
    Globals::CurrMultiSel->AddGrpHandles(a);
    Globals::CurrMultiSel->AddLightHandles(5);
    Globals::SaveMultiSelAsPrev();
    EXPECT_TRUE(Globals::IsMultiSelSameAsPrev());
    EXPECT_EQ(groupsOf(*Globals::PrevMultiSel), (std::vector<int32_t>{b, a}));
    MultipleSelection copy;
    Globals::CopyMultipleSelection(copy, *Globals::CurrMultiSel);
    EXPECT_EQ(groupsOf(copy), (std::vector<int32_t>{b, a}));
    EXPECT_EQ(copy.GetLight(1), 5);
}

TEST_F(Selection, SingleSelectionsAndMembership) {
    using namespace Globals;
    struct Case {
        int32_t currType, currHandle, prevType, prevHandle;
        bool same;
    };
    const Case cases[] = {{SelNone, 0, SelNone, 0, true},
                          {SelGroup, 4, SelGroup, 4, true},
                          {SelGroup, 4, SelGroup, 5, false},
                          {SelGroup, 4, SelCamera, 4, false}};
    for (const Case& c : cases) {
        CurrSelEntityType = c.currType;
        CurrSelEntityHandle = c.currHandle;
        PrevSelEntityType = c.prevType;
        PrevSelEntityHandle = c.prevHandle;
        EXPECT_EQ(IsCurrSelSameAsPrevSel(), c.same);
    }
    int32_t g = makeBox("g", {0, 0, 0}, {1, 1, 1});
    CurrMultiSel->AddGrpHandles(g);
    CurrMultiSel->AddCamHandles(31);
    CurrSelEntityType = SelGroup;
    CurrSelEntityHandle = 99;
    EXPECT_FALSE(IsGrpSelected(g));  // a single selection looks at the handle only
    CurrSelEntityType = SelMultiple;
    EXPECT_TRUE(IsGrpSelected(g));
    EXPECT_TRUE(IsCamSelected(31));
    EXPECT_FALSE(IsLightSelected(31));
}

TEST_F(Selection, BoundingBoxOfAMultipleSelection) {
    using namespace Globals;
    int32_t a = makeBox("a", {0, 0, 0}, {1, 1, 1}), b = makeBox("b", {3, -2, 0}, {4, 1, 5});
    int32_t cam = OMBREL_camera_create("cam");
    OMBREL_camera_set_location(cam, -10, 0, 0);
    int32_t track = makeTrack({{100, 100, 100}});
    MultipleSelection s;
    s.AddTrackHandles(track);
    Box6d box = {1e32, 1e32, 1e32, -1e32, -1e32, -1e32};
    GetSelectionBoundingBox(SelMultiple, 0, box, s);
    EXPECT_EQ(box, (Box6d{1e32, 1e32, 1e32, -1e32, -1e32, -1e32}));  // tracks are left out

    s.AddGrpHandles(a);
    s.AddGrpHandles(b);
    GetSelectionBoundingBox(SelMultiple, 0, box, s);
    EXPECT_EQ(box, (Box6d{0, -2, 0, 4, 1, 5}));

    // A camera without a marker is a point at its location, never group 0 (the world).
    s.AddCamHandles(cam);
    GetSelectionBoundingBox(SelMultiple, 0, box, s);
    EXPECT_EQ(box, (Box6d{-10, -2, 0, 4, 1, 5}));
    Box6d single = {};
    GetSelectionBoundingBox(SelCamera, cam, single, s);
    EXPECT_EQ(single, (Box6d{-10, 0, 0, -10, 0, 0}));

    // With its marker, the marker's box.
    OMBREL_camera_set_direction(cam, 1, 0, 0);
    SceneCameras = std::make_shared<CameraGrp>();
    SceneCameras->Add(cam);
    GetSelectionBoundingBox(SelCamera, cam, single, s);
    const double scale = WorldSize * 0.1 / 320.4;  // body back at -123, lens mouth at 123 and +-72.19
    EXPECT_NEAR(single[0], -10 - 123 * scale, 1e-9);
    EXPECT_NEAR(single[3], -10 + 123 * scale, 1e-9);

    GetSelectionBoundingBox(SelBackground, 0, single, s);  // the world's box
    EXPECT_NEAR(single[0], -10 - 123 * scale, 1e-9);
    EXPECT_NEAR(single[5], 72.189946921663 * scale, 1e-9);
}

}  // namespace
