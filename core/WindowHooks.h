// What the shared procedures and the undo actions need of the main window's
// panels, trees and status: the main window fills these in when it builds its
// controls. An empty hook means the control does not exist (yet): getters answer
// as for a closed panel, the others do nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace platform {
class TransientLayer;
}

namespace core {

// A line of the selection window: an entity and the text of its tree node.
struct TreeEntity {
    int32_t handle = 0;
    std::string text;
};

struct WindowHooks {
    // Main window services
    std::function<void()> updateCameras;                 // UpdateCameras
    std::function<void()> updateStatusBar;               // UpdateStatusBar
    std::function<void(bool restore)> setMousePtrToHourGlass;  // False starts the wait state

    // The selection changed: the window's trees drop the previous selection's node
    // and highlight the current one.
    std::function<void()> selectionChangedUi;

    // Workspace panel: the page index of tabWorkspace, cmbObj and cmbObjEditGeom.
    std::function<int()> workspacePage;
    std::function<int()> objModeCount;
    std::function<std::string()> objModeText;
    std::function<void(const std::string&)> setObjModeText;
    std::function<std::string()> editGeomText;

    // Property panels
    std::function<void(bool visible)> showLightPanel;  // frmLight and its scroll bar
    // The selected camera's or light's panel filled again from the engine.
    std::function<void()> refillEntityPanel;
    std::function<void()> updateEditGeomTab;           // UpdateEditGeomTabBasedOnPolsSelected

    // The texture-coordinate editor (frmTextureMapping)
    std::function<bool()> textureMappingLoaded;
    std::function<void()> textureMappingResetSelections;
    std::function<void()> textureMappingSetupWithNewZoom;
    // (points, owner polygons, count), lists used from index 1
    std::function<void(const int32_t*, const int32_t*, int32_t)> textureMappingSetSelPts;
    std::function<void(const int32_t*, const int32_t*, int32_t)> textureMappingSetSelPtsPartOfSelPols;

    // Group tree nodes ("Group" and "Pol" keys)
    std::function<void(int32_t group)> removeGroupNode;
    std::function<void(int32_t group, int32_t father)> addGroupNode;  // with its sub-tree
    std::function<void(int32_t polygon)> removePolNode;
    std::function<void(int32_t polygon, int32_t group)> addPolNode;

    // ---- selection
    // The panels of the selection-changed path: leave the previous kind's panel,
    // then enter the current one (name field, object combo, property frame).
    // Entering answers false when the path ends there (a camera panel already up).
    std::function<void(int32_t prevKind, int32_t currKind)> leaveSelectionPanel;
    std::function<bool(int32_t kind, int32_t handle)> enterSelectionPanel;
    std::function<void()> enableGrpMenuItems;  // the Group menu's state
    // The active view (PicBoxFocused), a view's window (its registered surface) and
    // the layer drawn over a view without a render.
    std::function<int()> activeView;
    std::function<int32_t(int view)> viewWindow;
    std::function<platform::TransientLayer*(int view)> viewTransientLayer;
    std::function<void(int view)> transientLayerChanged;
    // Hidden state kept by the trees, and the group tree's top-level group handles
    // in display order.
    std::function<bool(int32_t group)> isGrpHidden;
    std::function<bool(int32_t camera)> isCamHidden;
    std::function<bool(int32_t light)> isLightHidden;
    std::function<std::vector<int32_t>()> topLevelGroups;
    // "Ignore Backfaced" of the point and polygon frames.
    std::function<bool()> ignoreBackFacedForPtSel;
    std::function<bool()> ignoreBackFacedForPolSel;

    // ---- names: the rename record reaches the trees and panels here
    // Writes the text of the entity's tree node (kinds 1 group, 2 camera, 3 track,
    // 4 light, 5 background, 7 polygon); false when the tree holds no such node.
    std::function<bool(int32_t kind, int32_t handle, const std::string& text)> setEntityNodeText;
    // Writes the name field of the group panel (kind 1) or the polygon panel (kind 7).
    std::function<void(int32_t kind, const std::string& text)> setEntityNameField;

    // ---- deletion, hiding and ungrouping: the camera and light trees' nodes,
    // hidden images, the group tree's selected node and the object combo
    std::function<void(int32_t camera)> removeCameraNode;
    std::function<void(int32_t camera)> addCameraNode;  // last under "CAMERA", image "Cam"
    // The views that look through a camera being deleted become the free views
    // they were; when it comes back, they look through it again.
    std::function<void(int32_t camera)> releaseViewsOfCamera;
    std::function<void(int32_t camera)> restoreViewsOfCamera;
    std::function<void(int32_t light)> removeLightNode;
    std::function<void(int32_t light)> addLightNode;  // last under "LIGHT", image "Light"
    // The shown or hidden image of the node of a group (1), camera (2) or light (4);
    // a missing node raises.
    std::function<void(int32_t kind, int32_t handle, bool hidden)> setHiddenImage;
    // The group's node becomes the group tree's selected node; 0 selects none.
    std::function<void(int32_t group)> selectGroupNode;
    std::function<void()> resetObjModeCombo;  // ResetObjModeCombo

    // ---- the polygon panel, as the polygon property records bring it in line
    // chkPolRotated, written under its "Dissable Click" tag.
    std::function<void(bool checked)> setPolRotatedBox;
    // txtPolLightDimu shows the value as a decimal number.
    std::function<void(double value)> setPolLightDimuText;
    // cmbPolFilter_SetAccordingToSelPol under the list's "Dissable Change" tag.
    std::function<void()> showSelPolFilter;
    // The transparent colour: on checks chkEditPolTrans and enables the colour
    // button showing colour (0x00BBGGRR); off unchecks the box and disables the
    // button in the button-face colour. The box's own click handling stays out.
    std::function<void(bool on, int32_t colour)> setPolTransparentControls;
    // Whether the textures tree lists the bitmap under "MAP": the user sees it there.
    std::function<bool(int32_t bitmap)> textureListed;

    // ---- group commands: what the selection window and the group properties
    // dialog reach of the main window
    // The tree nodes of kind 1 (the group tree's top-level nodes), 2 (the
    // cameras under "CAMERA") or 4 (the lights under "LIGHT"), in tree order.
    std::function<std::vector<TreeEntity>(int32_t kind)> treeEntities;
    // The chase dialog over the owner, for the current selection.
    std::function<void(QWidget* owner)> showChaseDialog;

    // ---- extrusion and cutting: the active view's pointer picture, and whether
    // a polygon has its "Pol" node (cut polygons that come back get theirs again)
    std::function<void(int view, const std::string& picture)> setViewMouseIcon;
    std::function<bool(int32_t polygon)> hasPolNode;

    // ---- tracks: their nodes in the camera, track and background tree and the
    // frames of the camera work space below it
    // The node goes; the folder "TRACK" becomes the tree's selected node.
    std::function<void(int32_t track)> removeTrackNode;
    // Last under "TRACK", image "Track", and the tree's selected node.
    std::function<void(int32_t track)> addTrackNode;
    std::function<void()> resetCamWorkSpaceFrame;  // ResetCamWorkSpaceFrame: no frame shown
    std::function<void()> showTrackFrame;          // SetCamWorkspaceFrame with frmTrack

    // ---- a merge taken back and brought again: the nodes of its tracks (kind 3)
    // and backgrounds (kind 5), added last in their folders, the tree's selected
    // node left alone; and the textures tree rebuilt from the engine
    std::function<void(int32_t kind, int32_t handle)> removeCamTreeNode;
    std::function<void(int32_t kind, int32_t handle)> addCamTreeNode;
    std::function<void()> refreshTexturesTree;
};

inline WindowHooks& windowHooks() {
    static WindowHooks hooks;
    return hooks;
}

// Calls the hook when it is set.
template <class Hook, class... Args>
void callHook(const Hook& hook, Args&&... args) {
    if (hook) hook(std::forward<Args>(args)...);
}

}  // namespace core
