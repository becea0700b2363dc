#include "scene_fixture.h"

#include "undo/EntityDeletion.h"
#include "undo/HideUnhide.h"
#include "undo/UndoRedoCommands.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using Handles = std::vector<int32_t>;

Handles groupsOf(const MultipleSelection& s) {
    Handles out;
    for (int32_t i = 1; i <= s.NumOfGrps(); ++i) out.push_back(s.GetGrp(i));
    return out;
}
Handles camerasOf(const MultipleSelection& s) {
    Handles out;
    for (int32_t i = 1; i <= s.NumOfCams(); ++i) out.push_back(s.GetCam(i));
    return out;
}
Handles lightsOf(const MultipleSelection& s) {
    Handles out;
    for (int32_t i = 1; i <= s.NumOfLights(); ++i) out.push_back(s.GetLight(i));
    return out;
}

// A world with one entity of each kind hidden, one shown, and one that no walk
// may meet: a nested group, a view camera (save flag 0, no node) and a light
// whose deletion can still be undone (no node either).
class HideActions : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        hiddenGroup = makeGroupWithNode("hidden");
        shownGroup = makeGroupWithNode("shown");
        top = makeGroupWithNode("top");
        nested = makeGroupWithNode("nested", top);
        hiddenCam = makeCamera("hiddenCam");
        shownCam = makeCamera("shownCam");
        viewCam = OMBREL_camera_create("view");
        OMBREL_camera_set_save_flag(viewCam, 0);
        hiddenLight = makeLight("hiddenLight");
        shownLight = makeLight("shownLight");
        deletedLight = makeLight("deletedLight");
        Globals::FakeDeleteLight(deletedLight);
        Globals::HideUnhideGroup(hiddenGroup, true);
        Globals::HideUnhideCamera(hiddenCam, true);
        Globals::HideUnhideLight(hiddenLight, true);
    }

    void expectShown(int32_t kind, int32_t handle, bool shown) {
        EXPECT_EQ(trees.hidden(kind, handle), !shown) << kind << " " << handle;
        const int32_t disabledGroup = kind == SelGroup    ? handle
                                      : kind == SelCamera ? Globals::SceneCameras->GetCamGrp(handle)
                                                          : Globals::SceneLights->GetLightGrp(handle);
        EXPECT_EQ(OMBREL_group_is_disable(disabledGroup), shown ? 0 : 1) << kind << " " << handle;
    }

    int32_t hiddenGroup = 0, shownGroup = 0, top = 0, nested = 0;
    int32_t hiddenCam = 0, shownCam = 0, viewCam = 0;
    int32_t hiddenLight = 0, shownLight = 0, deletedLight = 0;
};

TEST_F(HideActions, CollectingModesTakeOnlyWhatTheyChange) {
    struct Case {
        const char* name;
        std::function<void()> select;
        std::function<const RecordedSelection&(ActionHide&, ActionUnhide&)> collect;
        Handles groups, cameras, lights;
    };
    const Case cases[] = {
        {"hide all lights", [] {}, [](ActionHide& h, ActionUnhide&) -> const RecordedSelection& {
             h.HidingAllLightsInScene();
             return h.Hidden();
         }, {}, {}, {shownLight}},
        {"hide all cameras", [] {}, [](ActionHide& h, ActionUnhide&) -> const RecordedSelection& {
             h.HidingAllCamerasInScene();
             return h.Hidden();
         }, {}, {shownCam}, {}},
        {"hide unselected, a nested group selected", [&] { select(SelGroup, nested); },
         [](ActionHide& h, ActionUnhide&) -> const RecordedSelection& {
             h.HidingUnselected();
             return h.Hidden();
         }, {shownGroup}, {shownCam}, {shownLight}},
        {"hide unselected, a group and a camera selected", [&] { selectMultiple({shownGroup}, {shownCam}); },
         [](ActionHide& h, ActionUnhide&) -> const RecordedSelection& {
             h.HidingUnselected();
             return h.Hidden();
         }, {top}, {}, {shownLight}},
        {"show all lights", [] {}, [](ActionHide&, ActionUnhide& u) -> const RecordedSelection& {
             u.UnHidingAllLightsInScene();
             return u.Shown();
         }, {}, {}, {hiddenLight}},
        {"show all cameras", [] {}, [](ActionHide&, ActionUnhide& u) -> const RecordedSelection& {
             u.UnHidingAllCamerasInScene();
             return u.Shown();
         }, {}, {hiddenCam}, {}},
        {"unhide all", [] {}, [](ActionHide&, ActionUnhide& u) -> const RecordedSelection& {
             u.UnHidingAllObjects();
             return u.Shown();
         }, {hiddenGroup}, {hiddenCam}, {hiddenLight}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select(SelNone, 0);
        c.select();
        ActionHide hide;
        ActionUnhide unhide;
        const RecordedSelection& collected = c.collect(hide, unhide);
        EXPECT_EQ(collected.Kind, SelMultiple);
        EXPECT_EQ(groupsOf(collected.Entities), c.groups);
        EXPECT_EQ(camerasOf(collected.Entities), c.cameras);
        EXPECT_EQ(lightsOf(collected.Entities), c.lights);
    }
}

TEST_F(HideActions, HidingTheSelectionGivesItBackOnUndo) {
    selectMultiple({shownGroup}, {shownCam}, {shownLight});
    auto r = record(ActHide);
    r->HideSel->SetEntityHidden(SelMultiple, 0, Globals::CurrMultiSel.get());
    r->HideSel->SetEntitySelBeforeHide(SelMultiple, 0, Globals::CurrMultiSel.get());
    Globals::UndoRedoStack->Push(std::move(r));
    Globals::HideUnhideMultiple(true);
    Globals::DeselectAfterHide();
    expectShown(SelGroup, shownGroup, false);
    expectShown(SelCamera, shownCam, false);
    expectShown(SelLight, shownLight, false);
    // A hidden light still lights: only its marker goes.
    EXPECT_EQ(OMBREL_light_is_disabled(shownLight), 0);

    undo::UndoCommand();
    expectShown(SelGroup, shownGroup, true);
    expectShown(SelCamera, shownCam, true);
    expectShown(SelLight, shownLight, true);
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(groupsOf(*Globals::CurrMultiSel), Handles{shownGroup});
    EXPECT_EQ(lightsOf(*Globals::CurrMultiSel), Handles{shownLight});

    undo::RedoCommand();
    expectShown(SelGroup, shownGroup, false);
    expectShown(SelLight, shownLight, false);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_EQ(Globals::CurrMultiSel->TotalEntities(), 0);
    // What was hidden before stays hidden throughout.
    expectShown(SelGroup, hiddenGroup, false);
}

TEST_F(HideActions, HidingTheUnselectedKeepsANestedSelectionAndItsAncestorShown) {
    select(SelGroup, nested);
    auto r = record(ActHide);
    r->HideSel->SetEntitySelBeforeHide(SelGroup, nested, Globals::CurrMultiSel.get());
    r->HideSel->SetEntitySelAfterHide(SelGroup, nested, Globals::CurrMultiSel.get());
    r->HideSel->HidingUnselected();
    Globals::UndoRedoStack->Push(std::move(r));
    Globals::HideUnhideAllGroups(true, Globals::TopLevelGroupsOfSelection());
    Globals::HideUnhideAllCameras(true);
    Globals::HideUnhideAllLights(true);
    Globals::HideUnhideGroup(nested, false);

    auto expectOutcome = [&] {
        expectShown(SelGroup, top, true);
        expectShown(SelGroup, nested, true);
        expectShown(SelGroup, shownGroup, false);
        expectShown(SelCamera, shownCam, false);
        expectShown(SelLight, shownLight, false);
        EXPECT_EQ(OMBREL_group_is_disable(nested), 0);
        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
        EXPECT_EQ(Globals::CurrSelEntityHandle, nested);
    };
    expectOutcome();
    undo::UndoCommand();
    for (int32_t g : {top, nested, shownGroup}) expectShown(SelGroup, g, true);
    expectShown(SelCamera, shownCam, true);
    expectShown(SelLight, shownLight, true);
    expectShown(SelLight, hiddenLight, false);
    EXPECT_EQ(Globals::CurrSelEntityHandle, nested);
    undo::RedoCommand();
    expectOutcome();
}

TEST_F(HideActions, UndoingUnhideAllHidesExactlyWhatItShowedAndSelectsNothing) {
    select(SelGroup, shownGroup);
    auto r = record(ActUnhide);
    r->UnHideSel->UnHidingAllObjects();
    Globals::UndoRedoStack->Push(std::move(r));
    Globals::HideUnhideAllCameras(false);
    Globals::HideUnhideAllGroups(false);
    Globals::HideUnhideAllLights(false);
    for (int32_t g : {hiddenGroup, shownGroup}) expectShown(SelGroup, g, true);
    expectShown(SelLight, hiddenLight, true);

    undo::UndoCommand();
    expectShown(SelGroup, hiddenGroup, false);
    expectShown(SelCamera, hiddenCam, false);
    expectShown(SelLight, hiddenLight, false);
    expectShown(SelGroup, shownGroup, true);
    expectShown(SelLight, shownLight, true);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    undo::RedoCommand();
    expectShown(SelCamera, hiddenCam, true);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
}

TEST_F(HideActions, WalksSkipViewCamerasAndDeletedLights) {
    // The deleted light and the view camera have no node: any look-up would fail.
    EXPECT_NO_THROW(Globals::HideUnhideAllLights(true));
    EXPECT_NO_THROW(Globals::HideUnhideAllCameras(true));
    EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneLights->GetLightGrp(deletedLight)), 1);
    Globals::HideUnhideAllLights(false);
    // Showing all leaves the deleted light's marker hidden.
    EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneLights->GetLightGrp(deletedLight)), 1);
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(deletedLight), 0);
}

TEST_F(HideActions, ARecordThatChangesNothingSaysSo) {
    const double points[6] = {0, 0, 0, 5, 0, 0};
    const int32_t track = OMBREL_track_create("trk", 0, points, 2);
    MultipleSelection onlyTracks;
    onlyTracks.AddTrackHandles(track);
    struct Case {
        const char* name;
        int32_t kind, handle;
        const MultipleSelection* multi;
        bool nothing;
    };
    const Case cases[] = {
        {"nothing selected", SelNone, 0, nullptr, true},
        {"a track", SelTrack, track, nullptr, true},
        {"a background", SelBackground, 1, nullptr, true},
        {"tracks only", SelMultiple, 0, &onlyTracks, true},
        {"a group", SelGroup, shownGroup, nullptr, false},
        {"a light", SelLight, shownLight, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ActionHide hide;
        hide.SetEntityHidden(c.kind, c.handle, c.multi);
        EXPECT_EQ(hide.HidesNothing(), c.nothing);
        ActionUnhide unhide;
        unhide.SetEntityUnHidden(c.kind, c.handle, c.multi);
        EXPECT_EQ(unhide.ShowsNothing(), c.nothing);
    }
    // Everything is hidden already: Hide All of the lights collects nothing.
    ActionHide all;
    Globals::HideUnhideAllLights(true);
    all.HidingAllLightsInScene();
    EXPECT_TRUE(all.HidesNothing());
}

TEST_F(HideActions, AMissingMultipleSelectionIsReported) {
    platform_.prompts.answer(platform::MsgResult::OK);
    ActionHide hide;
    hide.SetEntityHidden(SelMultiple, 0, nullptr);
    ASSERT_EQ(platform_.prompts.shown().size(), 1u);
    EXPECT_EQ(platform_.prompts.shown()[0].text, "MultipleObjs cannot be nothing!");
    EXPECT_EQ(platform_.prompts.shown()[0].title, "TALVORA");
    EXPECT_TRUE(hide.HidesNothing());
}

}  // namespace
