// Whole tracks: their nodes and frame as deletion and undo reach them, the
// creation dialog, circular tracks and custom tracks laid by clicking onto the
// world's polygons. Every new track is selected and its creation recorded.
#include "Form1.h"

#include "formCreateTrack.h"

#include "core/Camera.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "core/WindowHooks.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "scene/EntityNames.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QTabWidget>

#include <cmath>
#include <functional>
#include <string>

namespace {

constexpr int kRightButton = 2;
constexpr int kCameraTrackPage = 2;
constexpr int kMissesBeforeTheHint = 3;

}  // namespace

void Form1::connectTrackHooks() {
    auto& h = core::windowHooks();
    h.removeTrackNode = [this](int32_t track) {
        const std::string key = KeyedTree::NodeKey("Track", track);
        if (trwCamTrackBK->Exists(key)) trwCamTrackBK->Remove(key);
        trwCamTrackBK->SetSelectedItem(trwCamTrackBK->Item("TRACK"));
    };
    h.addTrackNode = [this](int32_t track) {
        const std::string key = KeyedTree::NodeKey("Track", track);
        QTreeWidgetItem* node = trwCamTrackBK->Exists(key)
                                    ? trwCamTrackBK->Item(key)
                                    : trwCamTrackBK->Add("TRACK", key, Globals::GetEntityName(track), "Track");
        trwCamTrackBK->SetSelectedItem(node);
    };
    // The camera panel's scroll bar goes with its frame.
    h.resetCamWorkSpaceFrame = [this] {
        ResetCamWorkSpaceFrame();
        HideWorkSpCamScorllBar();
    };
    h.showTrackFrame = [this] {
        SetCamWorkspaceFrame(frmTrack);
        HideWorkSpCamScorllBar();
    };
}

// ---- creation

int32_t Form1::MakeTrack(const std::vector<double>& points, int32_t count, bool cyclic) {
    using namespace Globals;
    const std::string name = scene::GetNewTrkName();
    const int32_t track = OMBREL_track_create(name.c_str(), cyclic ? 1 : 0, points.data(), count);
    if (track == 0) throw platform::EditorError(std::string("The track could not be created: ") + OMBREL_ext_get_last_error());
    OMBREL_track_set_save_flag(track, 1);
    trwCamTrackBK->Add("TRACK", KeyedTree::NodeKey("Track", track), name, "Track");
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelTrack;
    CurrSelEntityHandle = track;
    // Selected points belong to the track selected before.
    NumSelTrkPts = 0;
    SelTrkPts.resize(1);
    return track;
}

void Form1::FinishTrackCreation() {
    using namespace Globals;
    UpdateTrackCenter();
    UpdateCameras();
    ThingsToDoOnSelectedEntityChange();
    auto record = ActionUndoRedo::New(ActCreate);
    record->Create->SetCreatedEntity(CurrSelEntityType, CurrSelEntityHandle);
    UndoRedoStack->Push(std::move(record));
}

void Form1::CreateTrack(const std::vector<double>& points, int32_t count, bool cyclic) {
    MakeTrack(points, count, cyclic);
    FinishTrackCreation();
}

void Form1::StartTrackCreation() {
    formCreateTrack dialog(std::bind_front(&Form1::CreateTrack, this), this);
    platform::showModal(dialog);
    if (!formCreateTrack::CustomTrkMode) return;
    picWinSetMousePtr("Cross hair");
    SetToolMode(ToolSelect);
}

void Form1::mnuCircular_Click() {
    formCreateTrack dialog(std::bind_front(&Form1::CreateTrack, this), this);
    dialog.cmdOk_Click();
    tabWorkspace->setCurrentIndex(kCameraTrackPage);
    core::callHook(core::windowHooks().showTrackFrame);
}

void Form1::mnuCustom_Click() {
    formCreateTrack::CustomTrkMode = true;
    picWinSetMousePtr("Cross hair");
    SetToolMode(ToolSelect);
}

// ---- laying a custom track

bool Form1::LaidTrackPoints(const double*& points, int32_t& count) const {
    count = static_cast<int32_t>(NewTrkPtCount);
    points = NewTrkPts.data();
    // Backspace can take the count below what the buffer still holds.
    const bool laying = formCreateTrack::CustomTrkMode && count > 0 && NewTrkPts.size() >= 3 * static_cast<std::size_t>(count);
    if (!laying) count = 0;
    return laying;
}

void Form1::NewTrack_MouseUp(int Button, float X, float Y) {
    using namespace Globals;
    if (ToolbarButtonValue("Select") != 1) return;
    const auto laid = static_cast<int32_t>(NewTrkPtCount);
    if (Button == kRightButton) {
        if (laid < 2) {
            platform::msgBox("We need to have atleast 2 points. No track has been created.", platform::MsgButtons::OK,
                             platform::MsgIcon::Information);
            EndTrackCreation();
            UpdateCameras();
            return;
        }
        const bool cyclic = platform::msgBox("Should the track be cyclic?", platform::MsgButtons::YesNo,
                                             platform::MsgIcon::Information) == platform::MsgResult::Yes;
        const std::vector<double> points(NewTrkPts.begin(), NewTrkPts.begin() + 3 * laid);
        MakeTrack(points, laid, cyclic);
        EndTrackCreation();
        FinishTrackCreation();
        return;
    }
    makeActiveViewCurrent();
    Point3d hit = {0, 0, 0};
    int32_t group = 1, polygon = 1;
    if (OMBREL_engine_2D_point_to_3D(static_cast<int32_t>(std::lround(X)), static_cast<int32_t>(std::lround(Y)),
                                     hit.data(), &group, &polygon) == -1) {
        if (++EmptyClickCount >= kMissesBeforeTheHint)
            platform::msgBox("You are clicking in empty space. Please note there must be at least a single polygon "
                             "below for the track to be laid.",
                             platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    EmptyClickCount = 0;
    NewTrkPtCount = laid + 1;
    NewTrkPts.resize(3 * static_cast<std::size_t>(laid + 1) + 1);
    std::copy(hit.begin(), hit.end(), NewTrkPts.begin() + 3 * laid);
    UpdateCameras();
}

void Form1::EndTrackCreation() {
    NewTrkPtCount = 0;
    NewTrkPts.assign(1, 0.0);
    formCreateTrack::CustomTrkMode = false;
    picWinSetMousePtr("Select");
}
