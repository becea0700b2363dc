#include "undo_fixture.h"

#include "undo/UndoRedoCommands.h"

#include "core/FakeDeletion.h"
#include "core/SelectionChange.h"

#include <string>

namespace {

class CreationDeletionActions : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        group = makeGroup("walls", {0, 0, 0});
        other = makeGroup("other", {20, 0, 0});
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

TEST_F(CreationDeletionActions, OnlyGroupCreationsCanBeRecordedYet) {
    auto r = record(ActCreate);
    EXPECT_THROW(r->Create->SetCreatedEntity(SelCamera, OMBREL_camera_create("cam")), platform::EditorError);
}

}  // namespace
