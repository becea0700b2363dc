// Whole tracks from the window: deleting one from the tree's menu whatever is
// selected in the views, with Undo, Redo and the record's release; circular
// tracks from the dialog and the menu; custom tracks laid by clicks onto a floor.
#include "TrackWorld.h"

#include "core/EntityProcedures.h"
#include "mainwindow/formCreateTrack.h"
#include "platform/NumericField.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <cmath>
#include <numbers>

namespace {

namespace vk = platform::vk;
using platform::MsgResult;

class TracksTest : public TrackWorldTest {
protected:
    std::string nodeKey(int32_t track) const { return KeyedTree::NodeKey("Track", track); }
    std::string selectedNode() {
        QTreeWidgetItem* node = form().trwCamTrackBK->SelectedItem();
        return node ? KeyedTree::Key(node) : "";
    }
    std::string parentOf(const std::string& key) {
        QTreeWidgetItem* up = form().trwCamTrackBK->Item(key)->parent();
        return up ? KeyedTree::Key(up) : "";
    }
    // The tracks the engine lists: the saved ones.
    static std::vector<int32_t> savedTracks() {
        std::vector<int32_t> out;
        for (int32_t t = OMBREL_track_get_first_track(); t != 0; t = OMBREL_track_get_next(t)) out.push_back(t);
        return out;
    }
};

TEST_F(TracksTest, DeletingATrackFromTheTreeRecordsThatTrackWhateverIsSelected) {
    Form1& f = start();
    const int32_t box = MakeGroup("box", Globals::RootGrp);
    MakePolygon(box, {{-50, -50}, {-50, 50}, {50, 50}, {50, -50}});
    const int32_t track = makeTrack({{-300, -200, 0}, {300, -200, 0}}, false);
    f.trwGroupView_Populate();
    f.trwCamTrackBK_Populate();
    Globals::SetPrevSelEntityToCurrSelEntity();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = box;
    Globals::ThingsToDoOnSelectedEntityChange();
    // A right press on the track's node selects the node only.
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item(nodeKey(track)));
    f.mnuCamTrkBkMenuDelete_Click();

    const ActionUndoRedo* record = Globals::UndoRedoStack->Retrive();
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->ActionType, ActDelete);
    EXPECT_EQ(record->Delete->Kind(), SelTrack);
    EXPECT_EQ(record->Delete->Handle(), track);
    EXPECT_TRUE(savedTracks().empty());
    EXPECT_FALSE(f.trwCamTrackBK->Exists(nodeKey(track)));
    EXPECT_EQ(selectedNode(), "TRACK");
    EXPECT_EQ(OMBREL_group_get_father_group(box), Globals::RootGrp);

    f.mnuUndo_Click();
    EXPECT_EQ(savedTracks(), std::vector<int32_t>{track});
    EXPECT_EQ(parentOf(nodeKey(track)), "TRACK");
    EXPECT_EQ(selectedNode(), nodeKey(track));
    EXPECT_FALSE(f.frmTrack->isHidden());
    EXPECT_EQ(Globals::CurrSelEntityType, SelTrack);
    EXPECT_EQ(Globals::CurrSelEntityHandle, track);
    EXPECT_EQ(OMBREL_group_get_father_group(box), Globals::RootGrp);

    f.mnuRedo_Click();
    EXPECT_FALSE(f.trwCamTrackBK->Exists(nodeKey(track)));
    EXPECT_TRUE(f.frmTrack->isHidden());
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_TRUE(alive(track));

    // Pushed off the history while it stands: that track, and only it, goes.
    for (int i = 0; i < 3; ++i) pushMarker();
    EXPECT_FALSE(alive(track));
    EXPECT_TRUE(alive(box));
}

TEST_F(TracksTest, AnUndoneDeletionStaysWhenItsRecordIsReleased) {
    Form1& f = start();
    const int32_t track = makeTrack({{-300, -200, 0}, {300, -200, 0}}, true);
    selectTrack(track);
    platform::clearKeyState();
    platform::noteKeyDown(vk::Delete);
    f.PicBoxHasFocus = true;
    f.Form_KeyDown(0, 0);
    EXPECT_TRUE(savedTracks().empty());
    f.mnuUndo_Click();
    for (int i = 0; i < 3; ++i) pushMarker();
    EXPECT_EQ(savedTracks(), std::vector<int32_t>{track});
    EXPECT_EQ(pointsOf(track).size(), 2u);
}

// ---- creation

TEST_F(TracksTest, ACircularTrackOfThreePointsIsAnEquilateralTriangleSelectedAndUndoable) {
    Form1& f = start();
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item("TRACK"));
    platform_.prompts.answerWindow<formCreateTrack>([](formCreateTrack& dialog) {
        EXPECT_FALSE(dialog.Frame2->isHidden());
        EXPECT_TRUE(dialog.Frame1->isHidden());
        EXPECT_EQ(dialog.lblNumOfPts->text(), "8");
        dialog.cmdCircular->click();
        EXPECT_TRUE(dialog.Frame2->isHidden());
        for (int i = 0; i < 7; ++i) dialog.updwnNumOfPts->clickDown();
        EXPECT_EQ(dialog.lblNumOfPts->text(), "3");  // never below 3
        dialog.cmdOk->click();
    });
    f.mnuCamTrkBkMenuNew_Click();

    ASSERT_EQ(savedTracks().size(), 1u);
    const int32_t track = savedTracks().front();
    EXPECT_EQ(Globals::GetEntityName(track), "Track01");
    EXPECT_EQ(OMBREL_track_is_cyclic(track), 1);
    const std::vector<P3> points = pointsOf(track);
    ASSERT_EQ(points.size(), 3u);
    const double s = 100 * std::sin(2 * std::numbers::pi / 3), c = 100 * std::cos(2 * std::numbers::pi / 3);
    EXPECT_TRUE(near(points[0], {100, 0, 0}, 1e-9));
    EXPECT_TRUE(near(points[1], {c, s, 0}, 1e-9));
    EXPECT_TRUE(near(points[2], {c, -s, 0}, 1e-9));
    EXPECT_EQ(Globals::CurrSelEntityType, SelTrack);
    EXPECT_EQ(Globals::CurrSelEntityHandle, track);
    EXPECT_EQ(parentOf(nodeKey(track)), "TRACK");
    EXPECT_FALSE(f.frmTrack->isHidden());
    EXPECT_NEAR(Globals::TrkCenter[0], 25, 1e-9);  // the middle of the points' box
    EXPECT_EQ(newestType(), ActCreate);

    f.mnuUndo_Click();
    EXPECT_TRUE(savedTracks().empty());
    EXPECT_FALSE(f.trwCamTrackBK->Exists(nodeKey(track)));
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    f.mnuRedo_Click();
    EXPECT_EQ(savedTracks(), std::vector<int32_t>{track});
    EXPECT_EQ(Globals::CurrSelEntityHandle, track);

    // The menu's Circular: eight points, the next free name, the track page.
    f.tabWorkspace->setCurrentIndex(0);
    f.mnuCircular->trigger();
    ASSERT_EQ(savedTracks().size(), 2u);
    EXPECT_EQ(Globals::GetEntityName(Globals::CurrSelEntityHandle), "Track02");
    EXPECT_EQ(pointsOf(Globals::CurrSelEntityHandle).size(), 8u);
    EXPECT_EQ(f.tabWorkspace->currentIndex(), 2);
    EXPECT_FALSE(f.frmTrack->isHidden());

    // An undone creation pushed off the history is destroyed; the first track stays.
    const int32_t second = Globals::CurrSelEntityHandle;
    f.mnuUndo_Click();
    EXPECT_TRUE(alive(second));
    for (int i = 0; i < 3; ++i) pushMarker();
    EXPECT_FALSE(alive(second));
    EXPECT_EQ(savedTracks(), std::vector<int32_t>{track});
}

TEST_F(TracksTest, ClosingTheDialogOrChoosingCustomMakesNoTrack) {
    Form1& f = start();
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item("TRACK"));
    platform_.prompts.answerWindow([](QDialog& dialog) { dialog.reject(); });
    f.mnuCamTrkBkMenuNew_Click();
    EXPECT_FALSE(formCreateTrack::CustomTrkMode);
    f.SetToolMode(ToolPan);
    platform_.prompts.answerWindow<formCreateTrack>([](formCreateTrack& dialog) { dialog.cmdCustom->click(); });
    f.mnuCamTrkBkMenuNew_Click();
    EXPECT_TRUE(formCreateTrack::CustomTrkMode);
    EXPECT_EQ(Globals::CurrToolMode, ToolSelect);
    EXPECT_EQ(f.picWindow[kView]->MouseIcon(), "Cross hair");
    EXPECT_TRUE(savedTracks().empty());
    f.EndTrackCreation();
}

TEST_F(TracksTest, ACustomTrackIsLaidByClicksOntoPolygonsAndEndsWithTheRightButton) {
    Form1& f = start();
    makeFloor(400);
    UpdateCameras();
    const Pixel miss = pixelOf({0, 600, 0});
    const std::string emptySpace =
        "You are clicking in empty space. Please note there must be at least a single polygon below for the track to "
        "be laid.";
    const std::size_t before = platform_.prompts.shown().size();
    auto shownSoFar = [&] { return platform_.prompts.shown().size() - before; };

    // One point, two misses (no word yet), then the right button: too few points.
    f.mnuCustom->trigger();
    click(pixelOf({-200, 0, 0}));
    EXPECT_EQ(f.NewTrkPtCount, 1);
    click(miss);
    click(miss);
    EXPECT_EQ(shownSoFar(), 0u);
    platform_.prompts.answer(MsgResult::OK);
    click(miss, {}, kRight);
    EXPECT_EQ(platform_.prompts.shown().back().text, "We need to have atleast 2 points. No track has been created.");
    EXPECT_FALSE(formCreateTrack::CustomTrkMode);
    EXPECT_EQ(f.NewTrkPtCount, 0);
    EXPECT_TRUE(savedTracks().empty());

    // The miss count carries over: the next laying's first miss is the third.
    f.mnuCustom->trigger();
    platform_.prompts.answer(MsgResult::OK);
    click(miss);
    EXPECT_EQ(platform_.prompts.shown().back().text, emptySpace);
    const std::vector<P3> laid = {{-200, -100, 0}, {200, -100, 0}, {0, 200, 0}};
    click(pixelOf(laid[0]));
    click(miss);  // a hit started the count again
    click(miss);
    EXPECT_EQ(shownSoFar(), 2u);  // the fewer-than-2 message and the empty-space one
    click(pixelOf(laid[1]));
    click(pixelOf(laid[2]));
    EXPECT_EQ(f.NewTrkPtCount, 3);

    platform_.prompts.answer(MsgResult::Yes);
    click(pixelOf(laid[2]), {}, kRight);
    EXPECT_EQ(platform_.prompts.shown().back().text, "Should the track be cyclic?");
    ASSERT_EQ(savedTracks().size(), 1u);
    const int32_t track = savedTracks().front();
    EXPECT_EQ(OMBREL_track_is_cyclic(track), 1);
    const std::vector<P3> points = pointsOf(track);
    ASSERT_EQ(points.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(near(points[i], laid[i], 6)) << i;
    EXPECT_EQ(Globals::CurrSelEntityHandle, track);
    EXPECT_EQ(newestType(), ActCreate);
    EXPECT_FALSE(formCreateTrack::CustomTrkMode);
    EXPECT_EQ(f.picWindow[kView]->MouseIcon(), "Select");

    // No: an open track.
    f.mnuCustom->trigger();
    click(pixelOf(laid[0]));
    click(pixelOf(laid[1]));
    platform_.prompts.answer(MsgResult::No);
    click(pixelOf(laid[1]), {}, kRight);
    EXPECT_EQ(OMBREL_track_is_cyclic(Globals::CurrSelEntityHandle), 0);
    EXPECT_EQ(Globals::GetEntityName(Globals::CurrSelEntityHandle), "Track02");
}

TEST_F(TracksTest, EscEndsLayingEvenWithoutAViewFocusedAndBackspaceTakesBackAPoint) {
    Form1& f = start();
    makeFloor(400);
    f.mnuCustom->trigger();
    click(pixelOf({-200, 0, 0}));
    click(pixelOf({200, 0, 0}));
    // S keeps the cross hair while laying.
    platform::clearKeyState();
    platform::setKeyHeld('S', true);
    f.PicBoxHasFocus = true;
    f.Form_KeyDown(0, 0);
    EXPECT_EQ(f.picWindow[kView]->MouseIcon(), "Cross hair");
    // Backspace, then a new point in place of the one taken back.
    platform::clearKeyState();
    platform::noteKeyDown(vk::Back);
    f.Form_KeyDown(0, 0);
    EXPECT_EQ(f.NewTrkPtCount, 1);
    click(pixelOf({0, 300, 0}));
    EXPECT_EQ(f.NewTrkPtCount, 2);
    EXPECT_TRUE(near({f.NewTrkPts[3], f.NewTrkPts[4], f.NewTrkPts[5]}, {0, 300, 0}, 6));

    platform::clearKeyState();
    platform::noteKeyDown(vk::Escape);
    f.PicBoxHasFocus = false;
    f.Form_KeyDown(0, 0);
    EXPECT_FALSE(formCreateTrack::CustomTrkMode);
    EXPECT_EQ(f.NewTrkPtCount, 0);
    EXPECT_EQ(f.picWindow[kView]->MouseIcon(), "Select");
    // Releases go to the select tool again: nothing laid, no track.
    click(pixelOf({-200, 0, 0}));
    EXPECT_EQ(f.NewTrkPtCount, 0);
    EXPECT_TRUE(savedTracks().empty());
}

}  // namespace
