// Fills in what the lower layers ask of the main window: the core's window and
// view services, the undo history's menu items and the transform tools' views.
#include "Form1.h"

#include "core/Globals.h"
#include "core/ObjectSelection.h"
#include "core/ViewHooks.h"
#include "core/WindowHooks.h"
#include "textures/TextureNodes.h"
#include "textures/frmTextureMapping.h"
#include "transform/TransformGizmo.h"
#include "transform/TransformHooks.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/UndoRedoCommands.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

void Form1::connectEditorHooks() {
    auto& window = core::windowHooks();
    window.updateCameras = [] { ::UpdateCameras(); };
    window.updateStatusBar = [this] { UpdateStatusBar(); };
    window.setMousePtrToHourGlass = [this](bool restore) { SetMousePtrToHourGlass(restore); };
    window.workspacePage = [this] { return tabWorkspace->currentIndex(); };
    window.objModeCount = [this] { return cmbObj->count(); };
    window.objModeText = [this] { return cmbObj->currentText().toStdString(); };
    window.setObjModeText = [this](const std::string& text) {
        cmbObj->setCurrentIndex(cmbObj->findText(QString::fromStdString(text)));
    };
    window.editGeomText = [this] { return cmbObjEditGeom->currentText().toStdString(); };

    auto& view = core::viewHooks();
    view.updateCamerasSingle = [](int index) { ::UpdateCamerasSingle(index); };
    view.focusedViewWidth = [this] { return picWindow[static_cast<std::size_t>(PicBoxFocused)]->width(); };

    auto& tools = transform::transformHooks();
    tools.viewWindow = [this](int index) { return picWindow[static_cast<std::size_t>(index)]->hWnd(); };
    tools.viewTransientLayer = [this](int index) { return &picWindow[static_cast<std::size_t>(index)]->transient(); };
    tools.transientLayerChanged = [this](int index) { picWindow[static_cast<std::size_t>(index)]->update(); };
    tools.trackPointText = [this] { return cmbTrackPoint->currentText().toStdString(); };
    tools.isGrpHidden = [this](int32_t group) { return IsGrpHidden(group); };
    tools.isCamHidden = [this](int32_t camera) { return IsCamHidden(camera); };
    tools.isLightHidden = [this](int32_t light) { return IsLightHidden(light); };
    tools.worldLoaded = [this] { return WorldLoaded; };
    tools.alignButtonDown = [this] { return ToolbarButtonValue("Align") == 1; };
    tools.setAlignButtonDown = [this](bool down) { SetToolbarButtonValue("Align", down ? 1 : 0); };
    tools.picWinSetMousePtr = [this](const std::string& key) { picWinSetMousePtr(key); };
    tools.pickEntityAt = [](int32_t x, int32_t y) { Globals::PickEntityAt(x, y); };

    // The texture-coordinate editor; while it is not loaded it answers as a closed one.
    frmTextureMapping::ConnectHooks(window);

    connectSelectionHooks();
    connectSceneTreeHooks();
    connectDeletionHooks();
    connectPolygonPanelHooks();
    connectCameraViewHooks();
    connectGroupCommands();
    connectPolygonToolHooks();
    connectChaseAndFog();
    connectTrackHooks();
}

void Form1::disconnectEditorHooks() {
    core::windowHooks() = {};
    core::viewHooks() = {};
    transform::transformHooks() = {};
}

void Form1::createUndoHistory() {
    Globals::UndoRedoStack = std::make_shared<ActionUndoRedo_Stack>();
    Globals::UndoRedoStack->setMenuHooks({
        [this](bool visible) { mnuUndo->setVisible(visible); },
        [this](bool visible) { mnuRedo->setVisible(visible); },
    });
    mnuUndo->setVisible(false);
    mnuRedo->setVisible(false);
}

void Form1::createViewGizmos() {
    for (int i = 0; i < 4; ++i) ViewGizmos[static_cast<std::size_t>(i)] = std::make_unique<TransformGizmo>(i);
}

void Form1::mnuUndo_Click() { undo::UndoCommand(this); }

void Form1::mnuRedo_Click() { undo::RedoCommand(this); }

// ---- the scene trees: nodes added and removed by deletion and undo, names
// written back by the rename record, the point frame's check box.
void Form1::connectSceneTreeHooks() {
    auto& h = core::windowHooks();
    h.removeGroupNode = [this](int32_t group) { RemoveGroupNode(group); };
    h.addGroupNode = [this](int32_t group, int32_t father) { AddGroupNode(group, father); };
    h.removePolNode = [this](int32_t polygon) { RemovePolNode(polygon); };
    h.addPolNode = [this](int32_t polygon, int32_t group) { AddPolNode(polygon, group); };
    h.setEntityNodeText = [this](int32_t kind, int32_t handle, const std::string& text) {
        KeyedTree* tree = kind == SelCamera || kind == SelTrack || kind == SelBackground ? trwCamTrackBK
                          : kind == SelLight                                             ? trwLight
                                                                                         : trwGroupView;
        static const std::map<int32_t, std::string> words = {{SelGroup, "Group"},  {SelCamera, "Camera"},
                                                             {SelTrack, "Track"},  {SelLight, "Light"},
                                                             {SelBackground, "Background"}, {SelPolygon, "Pol"}};
        const auto word = words.find(kind);
        if (word == words.end()) return false;
        const std::string key = KeyedTree::NodeKey(word->second, handle);
        if (!tree->Exists(key)) return false;
        tree->Item(key)->setText(0, QString::fromStdString(text));
        if (kind == SelCamera) NameViewedCamera(handle, text);
        return true;
    };
    h.setEntityNameField = [this](int32_t kind, const std::string& text) {
        if (kind == SelGroup) txtSelectedGrpName->setText(QString::fromStdString(text));
        if (kind == SelPolygon) txtSelPolName->setText(QString::fromStdString(text));
        if (kind == SelBackground) ShowBkgName(text);
    };
    h.ignoreBackFacedForPtSel = [this] { return chkIgnoreBackFacedForPtSel->isChecked(); };
}

// ---- the polygon panel: its fill after every polygon selection, its "Ignore
// Backfaced" box, and the controls the polygon property records write back.
void Form1::connectPolygonPanelHooks() {
    auto& h = core::windowHooks();
    h.updateEditGeomTab = [this] { UpdateEditGeomTabBasedOnPolsSelected(); };
    h.ignoreBackFacedForPolSel = [this] { return chkIgnoreBackFacedForPolSel->isChecked(); };
    h.setPolRotatedBox = [this](bool checked) { SetPolRotatedBox(checked); };
    h.setPolLightDimuText = [this](double value) { SetPolLightDimuText(value); };
    h.showSelPolFilter = [this] { ShowSelPolFilter(); };
    h.setPolTransparentControls = [this](bool on, int32_t colour) { SetPolTransparentControls(on, colour); };
    h.textureListed = [this](int32_t bitmap) { return trwTextures->Exists(textures::MapKey(bitmap)); };
}
