#include "undo_fixture.h"

#include "undo/UndoRedoCommands.h"

#include "platform/error_trap.h"

#include <string>
#include <vector>

namespace {

class UndoRedoCommands : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        platform::setErrorWindow([this](QWidget*) {
            window.calls.push_back(std::string("ErrorWindow(") + (window.waiting ? "waiting" : "idle") + ")");
        });
    }
    void TearDown() override {
        platform::setErrorWindow({});
        UndoFixture::TearDown();
    }

    using Calls = std::vector<std::string>;
};

TEST_F(UndoRedoCommands, EmptyHistoryShowsNoWaitStateAndDoesNotRedraw) {
    window.undoVisible = window.redoVisible = true;
    undo::UndoCommand();
    EXPECT_EQ(window.calls, Calls{});
    EXPECT_FALSE(window.undoVisible);
    undo::RedoCommand();
    EXPECT_EQ(window.calls, Calls{});
    EXPECT_FALSE(window.redoVisible);
}

TEST_F(UndoRedoCommands, RecordWithoutActionIsTakenAndTheViewsRedrawn) {
    for (int32_t code : {9, 25}) {
        Globals::UndoRedoStack->Reset();
        Globals::UndoRedoStack->Push(record(code));
        window.calls.clear();
        undo::UndoCommand();
        EXPECT_EQ(window.calls, (Calls{"StartWait", "UpdateCameras", "EndWait"})) << code;
        EXPECT_FALSE(window.undoVisible);
        EXPECT_TRUE(window.redoVisible);
        undo::RedoCommand();
        EXPECT_TRUE(window.undoVisible);
        EXPECT_FALSE(window.redoVisible);
    }
}

TEST_F(UndoRedoCommands, AFailingActionEndsTheWaitStateAndIsReported) {
    const int32_t g = makeGroup("g", {0, 0, 0});
    auto r = record(ActMove);
    r->Move->SetMovedEntity(SelGroup, g);
    r->Move->SetToLoc({1, 2, 3});
    Globals::UndoRedoStack->Push(std::move(r));
    Globals::SelGrpBndBox.reset();  // the action cannot refresh the selection box

    undo::UndoCommand();
    EXPECT_EQ(window.calls, (Calls{"StartWait", "EndWait", "ErrorWindow(idle)"}));
    EXPECT_NE(LastErrDescription.find("selection box"), std::string::npos) << LastErrDescription;
    EXPECT_FALSE(window.waiting);

    // The record counts as undone: Redo takes it next.
    window.calls.clear();
    undo::RedoCommand();
    EXPECT_EQ(window.calls, (Calls{"StartWait", "EndWait", "ErrorWindow(idle)"}));
    double loc[3];
    OMBREL_group_get_location(g, &loc[0], &loc[1], &loc[2]);
    EXPECT_EQ(loc[0], 1);
    EXPECT_EQ(loc[2], 3);
}

TEST_F(UndoRedoCommands, ANewEditAfterAnUndoLeavesNothingToRedo) {
    Globals::UndoRedoStack->Push(record(9));
    undo::UndoCommand();
    Globals::UndoRedoStack->Push(record(9));
    window.calls.clear();
    undo::RedoCommand();
    EXPECT_EQ(window.calls, Calls{});
    undo::UndoCommand();
    EXPECT_EQ(window.calls, (Calls{"StartWait", "UpdateCameras", "EndWait"}));
}

}  // namespace
