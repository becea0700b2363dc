// The trees as deletion, hiding and ungrouping reach them from the lower
// libraries: camera and light nodes, hidden images, the group tree's selected
// node and the object combo.
#include "Form1.h"

#include "core/EntityProcedures.h"
#include "core/WindowHooks.h"

namespace {

struct NodeOf {
    KeyedTree* tree;
    std::string key;
    const char* shownImage;
};

}  // namespace

void Form1::connectDeletionHooks() {
    auto& h = core::windowHooks();
    h.removeCameraNode = [this](int32_t camera) {
        const std::string key = KeyedTree::NodeKey("Camera", camera);
        if (trwCamTrackBK->Exists(key)) trwCamTrackBK->Remove(key);
    };
    h.addCameraNode = [this](int32_t camera) {
        trwCamTrackBK->Add("CAMERA", KeyedTree::NodeKey("Camera", camera), Globals::GetEntityName(camera), "Cam");
    };
    h.releaseViewsOfCamera = [this](int32_t camera) { ReleaseViewsOfCamera(camera); };
    h.restoreViewsOfCamera = [this](int32_t camera) { LookThroughCameraAgain(camera); };
    h.removeLightNode = [this](int32_t light) {
        const std::string key = KeyedTree::NodeKey("Light", light);
        if (trwLight->Exists(key)) trwLight->Remove(key);
    };
    h.addLightNode = [this](int32_t light) {
        trwLight->Add("LIGHT", KeyedTree::NodeKey("Light", light), Globals::GetEntityName(light), "Light");
    };
    h.removeCamTreeNode = [this](int32_t kind, int32_t handle) {
        const std::string key = KeyedTree::NodeKey(kind == SelTrack ? "Track" : "Background", handle);
        if (trwCamTrackBK->Exists(key)) trwCamTrackBK->Remove(key);
    };
    h.addCamTreeNode = [this](int32_t kind, int32_t handle) {
        const bool track = kind == SelTrack;
        trwCamTrackBK->Add(track ? "TRACK" : "BACKGROUND", KeyedTree::NodeKey(track ? "Track" : "Background", handle),
                           Globals::GetEntityName(handle), track ? "Track" : "Background");
    };
    h.refreshTexturesTree = [this] { trwTextures_Populate(); };
    h.setHiddenImage = [this](int32_t kind, int32_t handle, bool hidden) {
        const NodeOf node = kind == SelCamera  ? NodeOf{trwCamTrackBK, KeyedTree::NodeKey("Camera", handle), "Cam"}
                            : kind == SelLight ? NodeOf{trwLight, KeyedTree::NodeKey("Light", handle), "Light"}
                                               : NodeOf{trwGroupView, KeyedTree::NodeKey("Group", handle), "Group"};
        node.tree->SetImage(node.tree->Item(node.key), std::string(node.shownImage) + (hidden ? " Invisible" : ""));
    };
    h.selectGroupNode = [this](int32_t group) {
        trwGroupView->SetSelectedItem(group != 0 ? trwGroupView->Item(KeyedTree::NodeKey("Group", group)) : nullptr);
    };
    h.resetObjModeCombo = [this] { ResetObjModeCombo(); };
}
