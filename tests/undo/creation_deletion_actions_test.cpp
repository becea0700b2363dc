#include "scene_fixture.h"

#include "undo/EntityDeletion.h"
#include "undo/HideUnhide.h"
#include "undo/PushThenRun.h"
#include "undo/UndoRedoCommands.h"

#include "core/FakeDeletion.h"
#include "core/SelectionChange.h"

#include <functional>
#include <string>

namespace {

class CreationDeletionActions : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        group = makeGroup("walls", {0, 0, 0});
        other = makeGroup("other", {20, 0, 0});
        trees.populate();
    }

    // The polygon panel's Delete: record, push, then fake-delete.
    std::vector<int32_t> deletePolygons() {
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        const std::vector<int32_t> pols = polygonsOf(group);
        Globals::NumSelPols = 0;
        for (int32_t p : pols) Globals::SelPols[++Globals::NumSelPols] = p;
        auto r = record(ActDeleteGrpPols);
        r->DeleteGrpPols->SetDeletedPols(Globals::SelPols, Globals::NumSelPols);
        Globals::UndoRedoStack->Push(std::move(r));
        Globals::FakeDeletePols(Globals::SelPols, Globals::NumSelPols);
        Globals::NumSelPols = 0;
        return pols;
    }

    // Creating a group the way the create panel does: the old selection becomes
    // the previous one, the new group the current one, then the record.
    int32_t createGroup(int32_t father) {
        const int32_t made = makeGroup("made", {5, 5, 5}, father);
        Globals::SetPrevSelEntityToCurrSelEntity();
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = made;
        auto r = record(ActCreate);
        r->Create->SetCreatedEntity(SelGroup, made);
        Globals::UndoRedoStack->Push(std::move(r));
        Globals::ThingsToDoOnSelectedEntityChange();
        return made;
    }

    void pushSelections(int n) {
        for (int i = 0; i < n; ++i) Globals::UndoRedoStack->Push(record(ActSelect));
    }

    int32_t group = 0, other = 0;
};

TEST_F(CreationDeletionActions, ReleasedRecordsFinishTheirDeferredWorkExactlyOnce) {
    struct Case {
        const char* name;
        bool undoFirst;       // the edit was undone before the record went
        int pushesAfter;      // new records pushed afterwards
        bool destroyed;
    };
    const Case cases[] = {
        {"deletion pushed off the end", false, 3, true},
        {"deletion still in the history", false, 2, false},
        {"undone deletion discarded as redo part", true, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const std::vector<int32_t> pols = deletePolygons();
        EXPECT_TRUE(polygonsOf(group).empty());
        // A second deletion of the same polygons would meet stale handles and
        // leave an engine error.
        OMBREL_ext_clear_last_error();
        if (c.undoFirst) undo::UndoCommand();
        pushSelections(c.pushesAfter);
        for (int32_t p : pols) EXPECT_EQ(alive(p), !c.destroyed);
        if (!c.destroyed) {
            EXPECT_EQ(polygonsOf(group).size(), c.undoFirst ? pols.size() : 0u);
        }
        Globals::UndoRedoStack->Reset();
        for (int32_t p : pols) EXPECT_EQ(alive(p), c.undoFirst);
        EXPECT_EQ(std::string(OMBREL_ext_get_last_error()), "");
        TearDown();
    }
    SetUp();  // for the fixture's own TearDown
}

TEST_F(CreationDeletionActions, UndoSelectsTheRestoredPolygonsAndRebuildsWeldedPointsWhileEditingGeometry) {
    struct Case {
        const char* name;
        int page;
        std::string objMode, editGeom;
        bool rebuilt;
    };
    const Case cases[] = {
        {"polygon editing", 1, "Edit Geometry", "Polygon", true},
        {"point editing", 1, "Edit Geometry", "Point", true},
        {"object mode", 0, "New Object", "Polygon", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.page = c.page;
        window.objMode = c.objMode;
        window.editGeom = c.editGeom;
        const std::vector<int32_t> pols = deletePolygons();
        Globals::NumWeldedPts = 0;
        window.calls.clear();

        undo::UndoCommand();
        EXPECT_EQ(polygonsOf(group), pols);
        ASSERT_EQ(Globals::NumSelPols, static_cast<int32_t>(pols.size()));
        for (std::size_t i = 0; i < pols.size(); ++i) EXPECT_EQ(Globals::SelPols[static_cast<int32_t>(i + 1)], pols[i]);
        EXPECT_EQ(Globals::NumWeldedPts, c.rebuilt ? 8 : 0);
        EXPECT_EQ(window.count("UpdateStatusBar"), 1);

        undo::RedoCommand();
        EXPECT_TRUE(polygonsOf(group).empty());
        EXPECT_EQ(Globals::NumSelPols, 0);
        undo::UndoCommand();  // keep the polygons for the next case
        Globals::UndoRedoStack->Reset();
    }
}

TEST_F(CreationDeletionActions, CreatedGroupGoesAndComesBackUnderItsOwnFather) {
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = other;
    const int32_t made = createGroup(other);

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(made), 0);
    EXPECT_EQ(OMBREL_group_is_disable(made), 1);
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, other);

    undo::RedoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(made), other);
    EXPECT_EQ(OMBREL_group_is_disable(made), 0);
    EXPECT_EQ(Globals::CurrSelEntityHandle, made);
    EXPECT_TRUE(alive(made));
}

TEST_F(CreationDeletionActions, UndoneCreationIsDestroyedWhenANewEditDiscardsIt) {
    const int32_t made = createGroup(Globals::RootGrp);
    const int32_t madePolygon = polygonsOf(made).front();
    pushSelections(1);
    undo::UndoCommand();  // the selection
    EXPECT_TRUE(alive(made));
    undo::UndoCommand();  // the creation
    EXPECT_TRUE(alive(made));
    pushSelections(1);
    EXPECT_FALSE(alive(made));
    EXPECT_FALSE(alive(madePolygon));
    EXPECT_TRUE(alive(other));
}

// ---- the lifecycle of every record that can finish a deletion

// What a recorded command made or deleted: the handles that go with the entity
// when its record finishes the deletion, and those that must stay in any case.
struct Recorded {
    std::vector<int32_t> going, staying;
};

class RecordLifecycle : public CreationDeletionActions {
protected:
    // The commands' order: record, push, then the fake deletion.
    void deleteRecorded(int32_t kind, int32_t handle, const std::function<void()>& fakeDelete) {
        auto r = record(ActDelete);
        r->Delete->SetDeletedEntity(kind, handle);
        undo::PushThenRun(std::move(r), fakeDelete);
    }
    // The creators' order: the new entity is selected, then recorded.
    void createRecorded(int32_t kind, int32_t handle) {
        if (kind != SelMultiple) select(kind, handle);
        auto r = record(ActCreate);
        r->Create->SetCreatedEntity(kind, handle);
        Globals::UndoRedoStack->Push(std::move(r));
    }
    int32_t cameraMarker(int32_t c) const { return Globals::SceneCameras->GetCamGrp(c); }
    int32_t lightMarker(int32_t l) const { return Globals::SceneLights->GetLightGrp(l); }
};

TEST_F(RecordLifecycle, ReleaseDestroysExactlyWhatTheRecordHoldsOutOfTheWorld) {
    struct Subject {
        const char* name;
        std::function<Recorded()> perform;
        bool goesWhenReleasedDone;  // deletions; creations go when released undone
    };
    const Subject subjects[] = {
        {"delete group", [&] {
             const int32_t g = makeGroupWithNode("doomed");
             const int32_t polygon = polygonsOf(g).front();
             select(SelGroup, g);
             deleteRecorded(SelGroup, g, [g] { Globals::FakeDeleteGroup(g); });
             return Recorded{{g, polygon}, {group, other}};
         }, true},
        {"delete camera", [&] {
             const int32_t c = makeCamera("cam");
             select(SelCamera, c);
             const int32_t marker = cameraMarker(c);
             deleteRecorded(SelCamera, c, [c] { Globals::FakeDeleteCamera(c); });
             return Recorded{{c, marker}, {}};
         }, true},
        {"delete light", [&] {
             const int32_t l = makeLight("lamp");
             select(SelLight, l);
             const int32_t marker = lightMarker(l);
             deleteRecorded(SelLight, l, [l] { Globals::FakeDeleteLight(l); });
             return Recorded{{l, marker}, {}};
         }, true},
        {"delete multiple selection", [&] {
             const int32_t c = makeCamera("cam");
             const int32_t l = makeLight("lamp");
             selectMultiple({group, other}, {c}, {l});
             const int32_t marker = cameraMarker(c);
             deleteRecorded(SelMultiple, 0, [] { Globals::FakeDeleteMultiple(); });
             // Lights of a multiple selection are never deleted.
             return Recorded{{group, other, c, marker}, {l, lightMarker(l)}};
         }, true},
        {"create group", [&] {
             const int32_t g = makeGroup("made", {1, 1, 1});
             trees.addGroup(g, Globals::RootGrp);
             createRecorded(SelGroup, g);
             return Recorded{{g, polygonsOf(g).front()}, {group, other}};
         }, false},
        {"create camera", [&] {
             const int32_t c = makeCamera("Camera01");
             createRecorded(SelCamera, c);
             return Recorded{{c, cameraMarker(c)}, {}};
         }, false},
        {"create light", [&] {
             const int32_t l = makeLight("Light01");
             createRecorded(SelLight, l);
             return Recorded{{l, lightMarker(l)}, {}};
         }, false},
        {"create duplicates", [&] {
             const int32_t a = makeGroupWithNode("copy1");
             const int32_t b = makeGroupWithNode("copy2");
             selectMultiple({a, b});
             createRecorded(SelMultiple, 0);
             return Recorded{{a, b}, {group, other}};
         }, false},
        {"delete polygons", [&] {
             const std::vector<int32_t> pols = deletePolygons();
             return Recorded{pols, {group}};
         }, true},
        {"ungroup", [&] {
             const int32_t holder = makeEmptyGroupWithNode("holder");
             const int32_t a = makeGroupWithNode("a", holder);
             const int32_t b = makeGroupWithNode("b", holder);
             select(SelGroup, holder);
             undo::UngroupWithUndo(holder);
             return Recorded{{holder}, {a, b, polygonsOf(a).front()}};
         }, true},
    };
    enum class How { OffTheEnd, RedoPartDiscarded, Reset };
    struct Way {
        const char* name;
        bool undone;
        How how;
    };
    const Way ways[] = {
        {"done, pushed off the end by three more edits", false, How::OffTheEnd},
        {"done, history reset", false, How::Reset},
        {"undone, then a new edit", true, How::RedoPartDiscarded},
        {"undone, history reset", true, How::Reset},
    };
    for (const Subject& subject : subjects) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(subject.name) + ": " + way.name);
            SetUp();
            const Recorded made = subject.perform();
            if (way.undone) undo::UndoCommand();
            for (int32_t h : made.going) EXPECT_TRUE(alive(h)) << h;

            OMBREL_ext_clear_last_error();
            switch (way.how) {
            case How::OffTheEnd: pushSelections(3); break;
            case How::RedoPartDiscarded: pushSelections(1); break;
            case How::Reset: Globals::UndoRedoStack->Reset(); break;
            }
            const bool destroyed = way.undone != subject.goesWhenReleasedDone;
            for (int32_t h : made.going) EXPECT_EQ(alive(h), !destroyed) << h;
            for (int32_t h : made.staying) EXPECT_TRUE(alive(h)) << h;
            // Released once: nothing is destroyed twice when the rest of the
            // history goes too.
            Globals::UndoRedoStack->Reset();
            EXPECT_EQ(std::string(OMBREL_ext_get_last_error()), "");
            TearDown();
        }
    }
    SetUp();
}

TEST_F(RecordLifecycle, AddedPolygonsGoOnlyWhenTheirAdditionWasUndone) {
    for (bool undone : {false, true}) {
        SCOPED_TRACE(undone ? "undone" : "done");
        Globals::CurrSelEntityHandle = group;
        const std::vector<int32_t> pols = polygonsOf(group);
        ActionAddPols added;
        added.SetAddedPols(std::vector<int32_t>{0, pols[0]}, 1);  // the first polygon only
        if (undone) {
            added.Undo();
            EXPECT_EQ(polygonsOf(group), std::vector<int32_t>{pols[1]});
            added.Redo();
            EXPECT_EQ(polygonsOf(group).size(), pols.size());
            added.Undo();
        }
        added.Release();
        EXPECT_EQ(alive(pols[0]), !undone);
        EXPECT_TRUE(alive(pols[1]));
        if (!undone) {
            EXPECT_EQ(polygonsOf(group), pols);
        }
    }
}

TEST_F(RecordLifecycle, AHundredDeletionsInARowDestroyEachGroupOnce) {
    std::vector<int32_t> groups;
    for (int i = 0; i < 100; ++i) groups.push_back(makeGroupWithNode(("g" + std::to_string(i)).c_str()));
    OMBREL_ext_clear_last_error();
    for (int32_t g : groups) {
        select(SelGroup, g);
        deleteRecorded(SelGroup, g, [g] { Globals::FakeDeleteGroup(g); });
    }
    for (std::size_t i = 0; i < groups.size(); ++i) EXPECT_EQ(alive(groups[i]), i >= 97) << i;
    EXPECT_EQ(undoableRecords(), 3);
    Globals::UndoRedoStack->Reset();
    for (int32_t g : groups) EXPECT_FALSE(alive(g));
    EXPECT_EQ(std::string(OMBREL_ext_get_last_error()), "");
}

TEST_F(RecordLifecycle, NothingAndBackgroundsCannotBeRecorded) {
    const double points[6] = {0, 0, 0, 10, 0, 0};
    const int32_t track = OMBREL_track_create("trk", 0, points, 2);
    for (int32_t kind : {SelNone, SelBackground}) {
        SCOPED_TRACE(kind);
        auto d = record(ActDelete);
        EXPECT_THROW(d->Delete->SetDeletedEntity(kind, track), platform::EditorError);
        auto c = record(ActCreate);
        EXPECT_THROW(c->Create->SetCreatedEntity(kind, track), platform::EditorError);
    }
    // The refused records were dropped without destroying anything.
    EXPECT_TRUE(alive(track));
}

// ---- what the deletions do to the world, the trees and the selection

TEST_F(RecordLifecycle, ADeletedCameraOrLightIsUnsavedWithoutMarkerOrNodeAndComesBackLast) {
    struct Case {
        const char* name;
        int32_t kind;
        const char* folder;
        const char* word;
    };
    const Case cases[] = {{"camera", SelCamera, "CAMERA", "Camera"}, {"light", SelLight, "LIGHT", "Light"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const bool camera = c.kind == SelCamera;
        const int32_t first = camera ? makeCamera("one") : makeLight("one");
        const int32_t second = camera ? makeCamera("two") : makeLight("two");
        const int32_t marker = camera ? cameraMarker(first) : lightMarker(first);
        auto saveFlag = [&] { return camera ? OMBREL_camera_get_save_flag(first) : OMBREL_ext_light_get_save_flag(first); };
        select(c.kind, first);
        deleteRecorded(c.kind, first, [&] {
            camera ? Globals::FakeDeleteCamera(first) : Globals::FakeDeleteLight(first);
        });
        EXPECT_EQ(saveFlag(), 0);
        EXPECT_EQ(OMBREL_group_is_disable(marker), 1);
        EXPECT_FALSE(trees.has(FakeTrees::key(c.word, first)));
        // A deleted light is switched off and lights nothing; a camera stays as it is.
        if (!camera) {
            EXPECT_EQ(OMBREL_light_is_disabled(first), 1);
        }

        undo::UndoCommand();
        EXPECT_EQ(saveFlag(), 1);
        EXPECT_EQ(OMBREL_group_is_disable(marker), 0);
        EXPECT_EQ(trees.children(c.folder), (std::vector<std::string>{FakeTrees::key(c.word, second),
                                                                       FakeTrees::key(c.word, first)}));
        EXPECT_EQ(trees.image(FakeTrees::key(c.word, first)), camera ? "Cam" : "Light");
        if (!camera) {
            EXPECT_EQ(OMBREL_light_is_disabled(first), 0);
        }
        EXPECT_EQ(Globals::CurrSelEntityType, c.kind);
        EXPECT_EQ(Globals::CurrSelEntityHandle, first);

        undo::RedoCommand();
        EXPECT_EQ(saveFlag(), 0);
        EXPECT_FALSE(trees.has(FakeTrees::key(c.word, first)));
        EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
        TearDown();
    }
    SetUp();
}

TEST_F(RecordLifecycle, AGroupComesBackUnderItsFatherShownWithItsSubTree) {
    const int32_t child = makeGroupWithNode("child", other);
    const int32_t grandchild = makeGroupWithNode("grandchild", child);
    Globals::HideUnhideGroup(child, true);
    select(SelGroup, child);
    deleteRecorded(SelGroup, child, [&] { Globals::FakeDeleteGroup(child); });
    EXPECT_EQ(OMBREL_group_get_father_group(child), 0);
    EXPECT_FALSE(trees.has(FakeTrees::groupKey(grandchild)));

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(child), other);
    EXPECT_EQ(OMBREL_group_is_disable(child), 0);
    EXPECT_EQ(trees.parent(FakeTrees::groupKey(child)), FakeTrees::groupKey(other));
    EXPECT_EQ(trees.image(FakeTrees::groupKey(child)), "Group");
    EXPECT_EQ(trees.parent(FakeTrees::groupKey(grandchild)), FakeTrees::groupKey(child));
    EXPECT_FALSE(Globals::IsGrpHidden(child));
}

TEST_F(RecordLifecycle, AMultipleSelectionLosesItsGroupsAndCamerasAndComesBackWhole) {
    const int32_t nested = makeGroupWithNode("nested", other);
    const int32_t deeper = makeGroupWithNode("deeper", nested);
    const int32_t c = makeCamera("cam");
    const int32_t l = makeLight("lamp");
    // The deeper group comes before its father: undeleting in that order must
    // still find the father's node.
    selectMultiple({deeper, group, nested}, {c}, {l});
    deleteRecorded(SelMultiple, 0, [] { Globals::FakeDeleteMultiple(); });
    for (int32_t g : {deeper, group, nested}) EXPECT_EQ(OMBREL_group_get_father_group(g), 0);
    EXPECT_EQ(OMBREL_camera_get_save_flag(c), 0);
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(l), 1);
    EXPECT_EQ(OMBREL_group_is_disable(lightMarker(l)), 0);
    EXPECT_TRUE(trees.has(FakeTrees::key("Light", l)));
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_EQ(Globals::CurrMultiSel->TotalEntities(), 0);

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(group), Globals::RootGrp);
    EXPECT_EQ(OMBREL_group_get_father_group(nested), other);
    EXPECT_EQ(OMBREL_group_get_father_group(deeper), nested);
    EXPECT_EQ(trees.parent(FakeTrees::groupKey(deeper)), FakeTrees::groupKey(nested));
    EXPECT_EQ(trees.parent(FakeTrees::groupKey(nested)), FakeTrees::groupKey(other));
    EXPECT_EQ(trees.children(FakeTrees::groupKey(nested)), std::vector<std::string>{FakeTrees::groupKey(deeper)});
    EXPECT_EQ(OMBREL_camera_get_save_flag(c), 1);
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(multiGroups(), (std::vector<int32_t>{deeper, group, nested}));
    EXPECT_TRUE(Globals::CurrMultiSel->HasCam(c));
    EXPECT_TRUE(Globals::CurrMultiSel->HasLight(l));

    undo::RedoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(nested), 0);
    EXPECT_EQ(OMBREL_camera_get_save_flag(c), 0);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
}

TEST_F(RecordLifecycle, DuplicatesGoAndComeBackAsTheSelection) {
    const int32_t a = makeGroupWithNode("copy1");
    const int32_t b = makeGroupWithNode("copy2");
    select(SelGroup, group);
    selectMultiple({a, b});
    createRecorded(SelMultiple, 0);

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(a), 0);
    EXPECT_EQ(OMBREL_group_get_father_group(b), 0);
    EXPECT_FALSE(trees.has(FakeTrees::groupKey(a)));
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, group);

    undo::RedoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(a), Globals::RootGrp);
    EXPECT_TRUE(trees.has(FakeTrees::groupKey(b)));
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(multiGroups(), (std::vector<int32_t>{a, b}));
}

TEST_F(RecordLifecycle, CreatedCameraAndLightGoWithTheirNodesAndTheOldSelectionComesBack) {
    for (int32_t kind : {SelCamera, SelLight}) {
        SCOPED_TRACE(kind);
        select(SelGroup, group);
        const int32_t made = kind == SelCamera ? makeCamera("new") : makeLight("new");
        const std::string key = FakeTrees::key(kind == SelCamera ? "Camera" : "Light", made);
        createRecorded(kind, made);
        undo::UndoCommand();
        EXPECT_FALSE(trees.has(key));
        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
        EXPECT_EQ(Globals::CurrSelEntityHandle, group);
        undo::RedoCommand();
        EXPECT_TRUE(trees.has(key));
        EXPECT_EQ(Globals::CurrSelEntityType, kind);
        EXPECT_EQ(Globals::CurrSelEntityHandle, made);
    }
}

TEST_F(RecordLifecycle, FakeDeletedPolygonsWithoutNodesAreAllTakenOut) {
    const std::vector<int32_t> pols = polygonsOf(group);
    // One polygon has a node; the tree fails on the others, as for a missing key.
    trees.add(FakeTrees::groupKey(group), FakeTrees::key("Pol", pols[0]), "Pol");
    core::windowHooks().removePolNode = [&](int32_t p) { trees.remove(trees.at(FakeTrees::key("Pol", p)).key); };
    Globals::FakeDeletePols(std::vector<int32_t>{0, pols[0], pols[1]}, 2);
    EXPECT_TRUE(polygonsOf(group).empty());
    EXPECT_FALSE(trees.has(FakeTrees::key("Pol", pols[0])));
    for (int32_t p : pols) EXPECT_EQ(OMBREL_polygon_get_group(p), 0);
    // Undeleting leaves the tree alone.
    Globals::UnDeletePols(std::vector<int32_t>{0, pols[0], pols[1]}, 2, group);
    EXPECT_EQ(polygonsOf(group).size(), 2u);
    EXPECT_FALSE(trees.has(FakeTrees::key("Pol", pols[0])));
}

TEST_F(RecordLifecycle, ALightComesBackSwitchedOnOrOffAsItWasBeforeItsDeletion) {
    for (const int32_t off : {0, 1}) {
        SCOPED_TRACE(off ? "switched off" : "switched on");
        const int32_t l = makeLight(off ? "dark" : "lit");
        OMBREL_light_disable(l, off);
        select(SelLight, l);
        deleteRecorded(SelLight, l, [l] { Globals::FakeDeleteLight(l); });
        EXPECT_EQ(OMBREL_light_is_disabled(l), 1);
        undo::UndoCommand();
        EXPECT_EQ(OMBREL_light_is_disabled(l), off);
        undo::RedoCommand();
        EXPECT_EQ(OMBREL_light_is_disabled(l), 1);
        undo::UndoCommand();
        EXPECT_EQ(OMBREL_light_is_disabled(l), off);
    }
}

}  // namespace
