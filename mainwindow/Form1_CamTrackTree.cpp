// The camera, track and background tree of the workspace's third page: three
// folders, emptied when a world closes and rebuilt from the engine when one is
// loaded, created or merged. Building it registers a marker for every listed
// camera that has none yet and marks every listed track and background for saving.
// A left click selects a node's entity, a label edit renames it, the right button
// opens the tree's menu; a node leads to its entity by the handle in its key only.
#include "Form1.h"
#include "ModelGalleryInput.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/HeldOutOfWorld.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "core/SyncViewWithCamera.h"
#include "entities/CameraGrp.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "scene/Renames.h"
#include "undo/SelectionGestures.h"
#include "views/ViewRedraw.h"

#include <QGroupBox>
#include <QMenu>

#include <utility>

void Form1::trwCamTrackBK_Reset() {
    trwCamTrackBK->Clear();
    for (const char* folder : {"CAMERA", "BACKGROUND", "TRACK"}) trwCamTrackBK->Add("", folder, folder, "Folder");
}

void Form1::trwCamTrackBK_Populate() {
    using namespace Globals;
    trwCamTrackBK->Clear();
    // Cameras waiting in a deletion record have save flag 0: no node, no marker.
    trwCamTrackBK->Add("", "CAMERA", "CAMERA", "Folder");
    for (int32_t c = OMBREL_camera_get_first_camera(); c != 0; c = OMBREL_camera_get_next_camera(c)) {
        if (OMBREL_camera_get_save_flag(c) != 1) continue;
        // A camera with a marker keeps it (a merge rebuilds the tree), and its node
        // says whether it is hidden.
        const int32_t marker = SceneCameras ? SceneCameras->GetCamGrp(c) : 0;
        if (marker == 0 && SceneCameras) SceneCameras->Add(c);
        const bool hidden = marker != 0 && OMBREL_group_is_disable(marker) == 1;
        trwCamTrackBK->Add("CAMERA", KeyedTree::NodeKey("Camera", c), GetEntityName(c),
                           hidden ? "Cam Invisible" : "Cam");
    }
    // The engine lists only tracks that are saved, so one whose deletion can still
    // be undone is neither listed nor saved again.
    trwCamTrackBK->Add("", "TRACK", "TRACK", "Folder");
    for (int32_t t = OMBREL_track_get_first_track(); t != 0; t = OMBREL_track_get_next(t)) {
        OMBREL_track_set_save_flag(t, 1);
        trwCamTrackBK->Add("TRACK", KeyedTree::NodeKey("Track", t), GetEntityName(t), "Track");
    }
    trwCamTrackBK->Add("", "BACKGROUND", "BACKGROUND", "Folder");
    for (int32_t b = OMBREL_background_get_first_background(); b != 0; b = OMBREL_background_get_next(b)) {
        // One an undone merge keeps out of the world stays out until Redo.
        if (IsHeldOutOfWorld(b)) continue;
        OMBREL_background_set_save_flag(b, 1);
        trwCamTrackBK->Add("BACKGROUND", KeyedTree::NodeKey("Background", b), GetEntityName(b), "Background");
    }
}

// ---- the user's input: clicks, label edits, folders opening and closing, the menu

namespace {

constexpr const char* kCamFolder = "CAMERA";
constexpr const char* kTrackFolder = "TRACK";
constexpr const char* kBkgFolder = "BACKGROUND";

bool isFolderKey(const std::string& key) { return key == kCamFolder || key == kTrackFolder || key == kBkgFolder; }

// An entity node's kind and handle, told by its folder and read from its own key;
// kind 0 for folders and anything else.
std::pair<int32_t, int32_t> entityOf(const QTreeWidgetItem* node) {
    if (!node || !node->parent()) return {SelNone, 0};
    const std::string folder = KeyedTree::Key(node->parent()), key = KeyedTree::Key(node);
    if (folder == kCamFolder) return {SelCamera, KeyedTree::HandleOf(key, "Camera")};
    if (folder == kTrackFolder) return {SelTrack, KeyedTree::HandleOf(key, "Track")};
    if (folder == kBkgFolder) return {SelBackground, KeyedTree::HandleOf(key, "Background")};
    return {SelNone, 0};
}

// Makes the entity the current selection, the current one the previous; false
// when it is the selection already.
bool selectFromTree(int32_t kind, int32_t handle) {
    using namespace Globals;
    if (CurrSelEntityType == kind && CurrSelEntityHandle == handle) return false;
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = kind;
    CurrSelEntityHandle = handle;
    return true;
}

}  // namespace

void Form1::connectCamTrackTree() {
    ModelGalleryInput* mouse = connectTree(
        trwCamTrackBK, {&Form1::trwCamTrackBK_NodeClick, &Form1::trwCamTrackBK_AfterLabelEdit,
                        &Form1::trwCamTrackBK_Expand, &Form1::trwCamTrackBK_Collapse, nullptr});
    mouse->MouseDown = [this](int button, int shift, int x, int y) {
        platform::runTrapped(this, [&] { trwCamTrackBK_MouseDown(button, shift, x, y); });
    };
    mouse->MouseUp = [this](int button, int shift, int x, int y) {
        // The menu's own errors pass silently.
        try {
            trwCamTrackBK_MouseUp(button, shift, x, y);
        } catch (...) {
        }
    };
}

void Form1::trwCamTrackBK_Collapse(QTreeWidgetItem* Node) {
    // A folder closed with the left button last pressed clears the selection.
    trwCamTrackBK_NodeClick(Node);
    trwCamTrackBK->SetImage(Node, "Folder");
}

void Form1::trwCamTrackBK_Expand(QTreeWidgetItem* Node) { trwCamTrackBK->SetImage(Node, "FolderOpen"); }

void Form1::trwCamTrackBK_MouseDown(int Button, int, int x, int y) {
    CamTrkBkMouseButton = static_cast<int16_t>(Button);
    if (Button != 2) return;
    // The menu that follows acts on this node; the editor's selection stays.
    if (QTreeWidgetItem* node = trwCamTrackBK->itemAt(x, y)) trwCamTrackBK->SetSelectedItem(node);
}

void Form1::trwCamTrackBK_MouseUp(int Button, int, int x, int y) {
    if (!WorldLoaded || Button != 2) return;
    // The menu concerns the node under the pointer; over empty space there is none.
    QTreeWidgetItem* node = trwCamTrackBK->itemAt(x, y);
    if (!node) return;
    trwCamTrackBK->SetSelectedItem(node);
    SetCamTrkBkMenuItems();
    platform::popupMenu(*mnuCamTrkBkMenu, trwCamTrackBK->viewport()->mapToGlobal(QPoint(x, y)));
}

void Form1::trwCamTrackBK_NodeClick(QTreeWidgetItem* Node) {
    using namespace Globals;
    if (CamTrkBkMouseButton != 1 || !WorldLoaded || !Node) return;
    if (isFolderKey(KeyedTree::Key(Node))) {
        // A folder clears the selection, without a record.
        ResetCamWorkSpaceFrame();
        HideWorkSpCamScorllBar();
        SetPrevSelEntityToCurrSelEntity();
        CurrSelEntityType = SelNone;
        UpdateCameras();
        ThingsToDoOnSelectedEntityChange();
        return;
    }
    const auto [kind, handle] = entityOf(Node);
    if (handle == 0) return;
    switch (kind) {
    case SelCamera:
        if (!selectFromTree(SelCamera, handle)) return;
        // The active view looks through the camera.
        SetViewedCamera(PicBoxFocused, handle);
        SyncViewWithCamera(handle, PicBoxFocused);
        UpdateCameras();
        break;
    case SelBackground:
        SetCamWorkspaceFrame(frmBackground);
        HideWorkSpCamScorllBar();
        if (!selectFromTree(SelBackground, handle)) return;
        // The selection-changed path below fills the panel. The clicked
        // background is the one the views show.
        OMBREL_background_use(handle);
        UpdateCameras();
        break;
    case SelTrack:
        if (!SelectTrackFromTree(handle)) return;
        break;
    default: return;
    }
    RecordSelectionChange();
    ThingsToDoOnSelectedEntityChange();
}

bool Form1::SelectTrackFromTree(int32_t Track) {
    using namespace Globals;
    SetCamWorkspaceFrame(frmTrack);
    HideWorkSpCamScorllBar();
    if (!selectFromTree(SelTrack, Track)) return false;
    NumSelTrkPts = 0;
    UpdateTrackCenter();
    UpdateCameras();
    return true;
}

std::optional<std::string> Form1::trwCamTrackBK_AfterLabelEdit(QTreeWidgetItem* Node, const std::string& NewString) {
    const std::string key = KeyedTree::Key(Node);
    // Folder names never change.
    if (isFolderKey(key)) return key;
    const auto [kind, handle] = entityOf(Node);
    if (handle == 0) return std::nullopt;
    std::optional<std::string> kept = scene::RenameEntityFromLabel(kind, handle, NewString);
    // A view looking through a renamed camera names it in its tool tip.
    if (kept && kind == SelCamera) NameViewedCamera(handle, *kept);
    return kept;
}
