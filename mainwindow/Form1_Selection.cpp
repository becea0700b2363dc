// The window's half of the selection: Select All and Select Invert, deleting the
// selected points, tree highlighting and the property panels that follow the
// selected entity.
#include "Form1.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/Camera.h"
#include "core/MultipleSelection.h"
#include "core/SelectionBookkeeping.h"
#include "core/ObjectSelection.h"
#include "core/SelectAllInvert.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "undo/EntityDeletion.h"
#include "undo/SelectionGestures.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidgetItemIterator>

namespace {

// The tree and node key of an entity kind; kinds without a node give no tree.
std::pair<KeyedTree*, std::string> nodeOf(Form1& form, int32_t handle, int32_t kind) {
    switch (kind) {
    case SelGroup: return {form.trwGroupView, KeyedTree::NodeKey("Group", handle)};
    case SelCamera: return {form.trwCamTrackBK, KeyedTree::NodeKey("Camera", handle)};
    case SelTrack: return {form.trwCamTrackBK, KeyedTree::NodeKey("Track", handle)};
    case SelLight: return {form.trwLight, KeyedTree::NodeKey("Light", handle)};
    case SelBackground: return {form.trwCamTrackBK, KeyedTree::NodeKey("Background", handle)};
    default: return {nullptr, {}};
    }
}

bool hasNode(int32_t kind) { return kind != SelNone && kind != SelMultiple; }

}  // namespace

void Form1::connectSelectionHooks() {
    auto& h = core::windowHooks();
    h.selectionChangedUi = [this] { treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected(); };
    h.leaveSelectionPanel = [this](int32_t prev, int32_t curr) { LeaveSelectionPanel(prev, curr); };
    h.enterSelectionPanel = [this](int32_t kind, int32_t handle) { return EnterSelectionPanel(kind, handle); };
    h.activeView = [this] { return PicBoxFocused; };
    h.viewWindow = [this](int index) { return picWindow[static_cast<std::size_t>(index)]->hWnd(); };
    h.viewTransientLayer = [this](int index) { return &picWindow[static_cast<std::size_t>(index)]->transient(); };
    h.transientLayerChanged = [this](int index) { picWindow[static_cast<std::size_t>(index)]->update(); };
    h.isGrpHidden = [this](int32_t group) { return IsGrpHidden(group); };
    h.isCamHidden = [this](int32_t camera) { return IsCamHidden(camera); };
    h.isLightHidden = [this](int32_t light) { return IsLightHidden(light); };
    h.topLevelGroups = [this] { return TopLevelGroups(); };
    // The light panel: shown with its bar, or filled again for the light it shows.
    h.showLightPanel = [this](bool visible) {
        frmLight->setVisible(visible);
        LightScrollBarVisibility(visible);
    };
    h.refillEntityPanel = [this] { RefillEntityPanel(); };
    // The point frame's Delete: the polygons owning the selected points go.
    cmdEditPtDelete_Click = [this] { platform::runTrapped(this, [] { Globals::DeleteSelPtsPols(); }); };
}

// ---- Edit menu

void Form1::mnuSelectAll_Click() {
    platform::runTrapped(this, [] {
        using namespace Globals;
        if (Globals::IsPointEditing()) {
            SelectAllGrpPts();
            ComputeSelPtsAvgCenter();
            UpdateSelPtsPolArray();
        } else if (Globals::IsPolygonEditing()) {
            SelectAllGrpPols();
            ComputeSelPolsAvgCenter();
            UpdateSelPolsRelatedPtsArray();
            // The polygon frame shows the new selection, as after a click.
            Globals::UpdateEditGeomTabBasedOnPolsSelected();
        } else {
            SetPrevSelEntityToCurrSelEntity();
            SelectAllEntities();
            SetSelKindFromMultiSel();
            ThingsToDoOnSelectedEntityChange();
        }
        Globals::UpdateCameras();
        RecordSelectionChange();
    });
}

void Form1::mnuSelectInvert_Click() {
    platform::runTrapped(this, [] {
        using namespace Globals;
        SetPrevSelEntityToCurrSelEntity();
        if (Globals::IsPointEditing()) {
            InvertGrpPts();
            ComputeSelPtsAvgCenter();
            UpdateSelPtsPolArray();
        } else if (Globals::IsPolygonEditing()) {
            InvertGrpPols();
            ComputeSelPolsAvgCenter();
            UpdateSelPolsRelatedPtsArray();
            // The polygon frame shows the new selection, as after a click.
            Globals::UpdateEditGeomTabBasedOnPolsSelected();
        } else {
            InvertEntities();
            SetSelKindFromMultiSel();
            ThingsToDoOnSelectedEntityChange();
        }
        Globals::UpdateCameras();
        RecordSelectionChange();
    });
}


// ---- trees

void Form1::treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected() {
    using namespace Globals;
    if (hasNode(PrevSelEntityType)) treeViewDeHighlightNode(PrevSelEntityHandle, PrevSelEntityType);
    // Undo and redo restore a selection without a previous one; no node of an
    // earlier selection may stay bold.
    for (KeyedTree* tree : {trwGroupView, trwCamTrackBK, trwLight}) tree->ClearBold();
    if (hasNode(CurrSelEntityType)) treeViewHighlightNode(CurrSelEntityHandle, CurrSelEntityType);
}

void Form1::treeViewHighlightNode(int32_t EntityHandle, int32_t EntityType) {
    if (EntityHandle == Globals::RootGrp) return;
    auto [tree, key] = nodeOf(*this, EntityHandle, EntityType);
    if (!tree) return;
    QTreeWidgetItem* node = tree->Item(key);
    tree->SetSelectedItem(node);
    tree->SetBold(node, true);
    tree->EnsureVisible(node);
}

void Form1::treeViewDeHighlightNode(int32_t EntityHandle, int32_t EntityType) {
    auto [tree, key] = nodeOf(*this, EntityHandle, EntityType);
    // An undone creation takes the entity's node away before its selection is
    // undone.
    if (!tree || !tree->Exists(key)) return;
    QTreeWidgetItem* node = tree->Item(key);
    tree->SetBold(node, false);
    node->setExpanded(false);
    // Nor does its row stay highlighted (a click on it then selects it again).
    if (tree->SelectedItem() == node) tree->SetSelectedItem(nullptr);
}

std::vector<int32_t> Form1::TopLevelGroups() const {
    std::vector<int32_t> groups;
    const std::string prefix = "Group";
    for (int i = 0; i < trwGroupView->topLevelItemCount(); ++i) {
        const std::string key = KeyedTree::Key(trwGroupView->topLevelItem(i));
        if (key.rfind(prefix, 0) == 0) groups.push_back(std::stoi(key.substr(prefix.size())));
    }
    return groups;
}

// ---- panels

void Form1::ResetObjModeCombo() {
    cmbObj->clear();
    cmbObj->addItem("New Object");
    HideAllObjFrames();
    cmbObj->setCurrentText("New Object");
}

void Form1::LeaveSelectionPanel(int32_t PrevKind, int32_t CurrKind) {
    switch (PrevKind) {
    case SelGroup: ResetObjModeCombo(); break;
    case SelCamera:
        if (CurrKind != SelCamera) {
            frmCam->setVisible(false);
            HideWorkSpCamScorllBar();
        }
        break;
    case SelTrack:
        if (CurrKind != SelTrack) frmTrack->setVisible(false);
        break;
    case SelLight:
        if (CurrKind != SelLight) frmLight->setVisible(false);
        break;
    case SelBackground:
        if (CurrKind != SelBackground) frmBackground->setVisible(false);
        break;
    default: break;
    }
}

void Form1::RefillEntityPanel() {
    using namespace Globals;
    if (CurrentLiveEntity(SelCamera)) SetCamWorkspaceFrame_Params();
    if (const int32_t light = CurrentLiveEntity(SelLight)) frmLight_SetParameters(light);
}

bool Form1::EnterSelectionPanel(int32_t Kind, int32_t Handle) {
    // Undo and Redo enter a kind without leaving the one before: the light panel
    // never stays up for anything but a light.
    if (Kind != SelLight) frmLight->setVisible(false);
    switch (Kind) {
    case SelNone:
        txtSelectedGrpName->setEnabled(false);
        txtSelectedGrpName->setText("");
        break;
    case SelGroup:
        SetGrpWorkspaceFrame_Params();
        // The selection path has emptied the polygon selection.
        UpdateEditGeomTabBasedOnPolsSelected();
        cmbObj->clear();
        cmbObj->addItems({"New Object", "Edit Geometry", "Edit Texture"});
        cmbObj->setCurrentText("New Object");
        chkGrpDyn->setChecked(OMBREL_group_is_static(Handle) != 1);
        break;
    case SelCamera:
        SetCamWorkspaceFrame_Params();
        if (!frmCam->isHidden()) return false;
        SetCamWorkspaceFrame(frmCam);
        ShowWorkSpCamScrollBar();
        break;
    case SelTrack: SetCamWorkspaceFrame(frmTrack); break;
    case SelBackground: showBackgroundPanel(); break;
    case SelLight:
        frmLight_SetParameters(Handle);
        frmLight->setVisible(true);
        LightScrollBarVisibility(true);
        break;
    case SelMultiple:
        txtSelectedGrpName->setEnabled(false);
        txtSelectedGrpName->setText("Multiple");
        break;
    default: break;
    }
    return true;
}

// ---- the select tool in the views

void Form1::picWindow_MouseMove_Select(int, int Button, float X, float Y) {
    // Inserting track points, the move looks for the edge under the pointer.
    if (IsTrackPointEditing() && InsertingTrackPts()) {
        FindTrackEdgeUnderCursor(Button, X, Y);
        return;
    }
    Globals::DrawSelRectForKeyState(Button, X, Y);
}

void Form1::picWindow_MouseUp_Select(int Index, int, float X, float Y) {
    using namespace Globals;
    // Picks and projections go through the view that was released in.
    if (const auto& cam = ViewCams[static_cast<std::size_t>(Index)])
        OMBREL_camera_set_current(cam->lngSceneCamera, picWindow[static_cast<std::size_t>(Index)]->hWnd());
    if (IsPointEditing()) {
        SelectGrpPts();
        Globals::UpdateCameras();
        return;
    }
    if (IsPolygonEditing()) {
        SelectGrpPols();
        Globals::UpdateCameras();
        if (IsTextureMappingLoaded()) {
            core::callHook(core::windowHooks().textureMappingResetSelections);
            core::callHook(core::windowHooks().textureMappingSetupWithNewZoom);
        }
        return;
    }
    if (IsTrackPointEditing()) {
        if (InsertingTrackPts()) {
            // The edge under the release, whichever view had the last move.
            FindTrackEdgeUnderCursor(1, X, Y);
            InsertTrackPt();
        } else {
            SelectTrackPts();
        }
        Globals::UpdateCameras();
        return;
    }
    PrevSelEntityType = CurrSelEntityType;
    PrevSelEntityHandle = CurrSelEntityHandle;
    SaveMultiSelAsPrev();
    SelectMultipleObjects();
    RecordSelectionChange();
    ThingsToDoOnSelectedEntityChange();
    Globals::UpdateCameras();
}
