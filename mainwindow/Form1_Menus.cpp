// The menu bar's commands, the menu state and the display toggles.
#include "Form1.h"
#include "frmLightMapParameterInput.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "entities/CameraGrp.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/program.h"
#include "platform/shell.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

namespace {

void connectItem(Form1* form, QAction* action, std::function<void()> handler) {
    QObject::connect(action, &QAction::triggered, form, platform::trapped(form, std::move(handler)));
}

// Handlers that ignore every error and go on.
void connectIgnoring(Form1* form, QAction* action, std::function<void()> handler) {
    QObject::connect(action, &QAction::triggered, form, [handler = std::move(handler)] {
        try {
            handler();
        } catch (...) {
        }
    });
}

void openHelpFile() {
    platform::shell().openDocument(platform::programFolder() + "TALVORA Help.chm");
}

}  // namespace

void Form1::connectMenus() {
    connectItem(this, mnuNew, [this] { mnuNew_Click(); });
    connectItem(this, mnuOpenFile, [this] { mnuOpenFile_Click(); });
    connectItem(this, mnuAddWorld, [this] { mnuAddWorld_Click(); });
    connectItem(this, mnuCloseFile, [this] { mnuCloseFile_Click(); });
    connectItem(this, mnuSave, [this] { mnuSave_Click(); });
    connectItem(this, mnuSaveAs, [this] { mnuSaveAs_Click(); });
    connectItem(this, mnuExit, [this] { mnuExit_Click(); });
    connectItem(this, mnuUndo, [this] { mnuUndo_Click(); });
    connectItem(this, mnuSelectAll, [this] { mnuSelectAll_Click(); });
    connectItem(this, mnuSelectInvert, [this] { mnuSelectInvert_Click(); });
    connectItem(this, mnuRedo, [this] { mnuRedo_Click(); });
    // Edit: Preference has no window yet and does nothing until then. Hold, Fetch,
    // Viewer Mode and the Help windows are connected with the world menus.

    connectIgnoring(this, mnuToolbar, [this] { mnuToolbar_Click(); });
    connectIgnoring(this, mnuStatusBar, [this] { mnuStatusBar_Click(); });
    connectIgnoring(this, mnuWorkspace, [this] { mnuWorkspace_Click(); });
    connectIgnoring(this, mnuExpertMode, [this] { mnuExpertMode_Click(); });
    connectItem(this, mnuHideSelected, [this] { mnuHideSelected_Click(); });
    connectItem(this, mnuHideUnSelected, [this] { mnuHideUnSelected_Click(); });
    connectItem(this, mnuUnhideAll, [this] { mnuUnhideAll_Click(); });
    connectItem(this, mnuRedrawAllViews, [this] { mnuRedrawAllViews_Click(); });
    connectItem(this, mnuResetViews, [this] { mnuResetViews_Click(); });

    connectItem(this, mnuPlane, [this] { PresetCreatePanel("Plane"); });
    connectItem(this, mnuBox, [this] { PresetCreatePanel("Box"); });
    connectItem(this, mnuSphere, [this] { PresetCreatePanel("Sphere"); });
    connectItem(this, mnuCylinder, [this] { PresetCreatePanel("Cylinder"); });
    connectItem(this, mnuCone, [this] { PresetCreatePanel("Cone"); });
    connectItem(this, mnuTorus, [this] { PresetCreatePanel("Torus"); });
    connectItem(this, mnuCamera, [this] {
        CreateNewCamera();
        tabWorkspace->setCurrentIndex(2);
    });
    connectItem(this, mnuOmnidirectional, [this] {
        tabWorkspace->setCurrentIndex(5);
        CreateNewLight(0);
    });
    connectItem(this, mnuDirectional, [this] {
        tabWorkspace->setCurrentIndex(5);
        CreateNewLight(1);
    });
    connectItem(this, mnuCircular, [this] { mnuCircular_Click(); });
    connectItem(this, mnuCustom, [this] { mnuCustom_Click(); });
    connectItem(this, mnuLightMaps, [this] { CreateLightMaps(); });

    connectIgnoring(this, mnuReference, [this] { mnuReference_Click(); });
    connectIgnoring(this, mnuTutorial, [this] { mnuTutorial_Click(); });
    connectItem(this, mnuCamTrkBkMenuSaveCurrent, [this] { mnuCamTrkBkMenuSaveCurrent_Click(); });
    connectWorldMenus();
    connectSceneTreeMenus();
}

// ---- menu state: only whether a world is open counts

void Form1::mnu_Update() {
    mnuFile_Update();
    mnuEdit_Update();
    mnuView_Update();
    mnuGrp_Update();
    mnuCreate_Update();
}

void Form1::mnuFile_Update() {
    for (QAction* a : {mnuCloseFile, mnuSave, mnuSaveAs}) a->setEnabled(WorldLoaded);
}

void Form1::mnuEdit_Update() {
    for (QAction* a : {mnuUndo, mnuRedo, mnuSelectAll, mnuSelectInvert, mnuHold, mnuFetch}) a->setEnabled(WorldLoaded);
}

void Form1::mnuView_Update() {
    for (QAction* a : {mnuHideSelected, mnuHideUnSelected, mnuUnhideAll, mnuRedrawAllViews, mnuViewerMode})
        a->setEnabled(WorldLoaded);
}

void Form1::mnuGrp_Update() {
    // A world change leaves nothing selected: the selection turns the menu on again.
    mnuGrp->menuAction()->setEnabled(false);
}

void Form1::mnuCreate_Update() { mnuCreate->menuAction()->setEnabled(WorldLoaded); }

// ---- File: the world file commands are with the worlds.

// ---- View

// Shows a hidden control or hides a shown one, checks its item to match, and
// lays the window out again.
void Form1::toggleShown(QWidget* control, QAction* item) {
    const bool show = control->isHidden();
    control->setVisible(show);
    item->setChecked(show);
    Form_Resize();
}

void Form1::mnuToolbar_Click() { toggleShown(Toolbar1, mnuToolbar); }

void Form1::mnuStatusBar_Click() { toggleShown(StatusBar1, mnuStatusBar); }

void Form1::mnuWorkspace_Click() { toggleShown(tabWorkspace, mnuWorkspace); }

void Form1::mnuExpertMode_Click() {
    mnuWorkspace_Click();
    mnuToolbar_Click();
}

void Form1::mnuRedrawAllViews_Click() {
    if (WorldLoaded) UpdateCameras();
}

// ---- Help

void Form1::mnuReference_Click() { openHelpFile(); }

void Form1::mnuTutorial_Click() { openHelpFile(); }

// ---- Create

void Form1::CreateLightMaps() {
    if (!WorldLoaded) return;
    mainwindow::ShowLightMapParameterInput(this);
    // The dialog leaves the views alone; the maps it made show from here on.
    UpdateCameras();
}

// ---- camera tree pop-up

void Form1::mnuCamTrkBkMenuSaveCurrent_Click() {
    using namespace Globals;
    QTreeWidgetItem* node = trwCamTrackBK->SelectedItem();
    const std::string key = node ? KeyedTree::Key(node) : std::string();
    // Only a camera node names a camera to store the view into.
    if (key.rfind("Camera", 0) != 0 || key.size() == 6) return;
    const int32_t camera = std::stoi(key.substr(6));
    const int32_t view = ViewCams[static_cast<std::size_t>(PicBoxFocused)]->lngSceneCamera;
    Point3d location, direction;
    OMBREL_camera_get_location(view, &location[0], &location[1], &location[2]);
    OMBREL_camera_set_location(camera, location[0], location[1], location[2]);
    OMBREL_camera_get_direction(view, &direction[0], &direction[1], &direction[2]);
    OMBREL_camera_set_direction(camera, direction[0], direction[1], direction[2]);
    OMBREL_camera_set_zoom(camera, OMBREL_camera_get_zoom(view));
    OMBREL_camera_set_distance_from_eye(camera, OMBREL_camera_get_distance_from_eye(view));
    SceneCameras->SetLocation(camera, location);
    SceneCameras->SetDirection(camera, direction);
    CurrSelEntityType = SelCamera;
    CurrSelEntityHandle = camera;
    RefillEntityPanel();
    UpdateCameras();
}

// ---- toggles

void Form1::ToggleWireframe() {
    using Globals::ShowBndBox;
    // With no world there is nothing to show either way: the overlay, its flags
    // and the button stay as they are (a click on the button is taken back).
    if (!WorldLoaded) {
        SetToolbarButtonValue("Wireframe", ShowWireframe ? 1 : 0);
        return;
    }
    ShowBndBox = !ShowBndBox;
    if (ShowBndBox) {
        SetToolbarButtonValue("Wireframe", 0);
        ShowWireframe = false;
    } else {
        SetToolbarButtonValue("Wireframe", 1);
        QCoreApplication::processEvents();
        ShowWireframe = true;
    }
    UpdateCameras();
}

void Form1::Toggle3DCard() {
    if (!WorldLoaded) return;
    QCoreApplication::processEvents();
    OMBREL_engine_use_3D_accelerator_card(ToolbarButtonValue("3D Card Toggle") == 1 ? 1 : 0);
    UpdateCameras();
}

// ---- the scene trees' pop-up menus

void Form1::connectSceneTreeMenus() {
    SetGroupMenuItems = [this] { prepareGroupMenu(); };
    connectItem(this, mnuGroupMenuRemoveFrmGrp, [this] { mnuGroupMenuRemoveFrmGrp_Click(); });
    connectItem(this, mnuGroupMenuUngroup, [this] { mnuGroupMenuUngroup_Click(); });
    connectItem(this, mnuGroupMenuRemoveLight, [this] { mnuGroupMenuRemoveLight_Click(); });
    connectItem(this, mnuGroupMenuRemoveLightMaps, [this] { mnuGroupMenuRemoveLightMaps_Click(); });
    connectItem(this, mnuGroupMenuDelete, [this] { mnuGroupMenuDelete_Click(); });
    connectItem(this, mnuGroupMenuHide, [this] { mnuGroupMenuHide_Click(); });
    connectItem(this, mnuGroupMenuUnhide, [this] { mnuGroupMenuUnhide_Click(); });
    connectItem(this, mnuGroupMenuProperties, [this] { mnuGroupMenuProperties_Click(); });
    connectItem(this, mnuLightMenuNew, [this] { mnuLightMenuNew_Click(); });
    connectItem(this, mnuLightMenuDelete, [this] { mnuLightMenuDelete_Click(); });
    connectItem(this, mnuLightMenuHide, [this] { mnuLightMenuHide_Click(); });
    connectItem(this, mnuLightMenuUnhide, [this] { mnuLightMenuUnhide_Click(); });
    connectItem(this, mnuLightMenuHideAll, [this] { mnuLightMenuHideAll_Click(); });
    connectItem(this, mnuLightMenuShowAll, [this] { mnuLightMenuShowAll_Click(); });
    connectItem(this, mnuCamTrkBkMenuNew, [this] { mnuCamTrkBkMenuNew_Click(); });
    connectItem(this, mnuCamTrkBkMenuDelete, [this] { mnuCamTrkBkMenuDelete_Click(); });
    connectItem(this, mnuCamTrkBkMenuHide, [this] { mnuCamTrkBkMenuHide_Click(); });
    connectItem(this, mnuCamTrkBkMenuUnhide, [this] { mnuCamTrkBkMenuUnhide_Click(); });
    connectItem(this, mnuCamTrkBkMenuHideAll, [this] { mnuCamTrkBkMenuHideAll_Click(); });
    connectItem(this, mnuCamTrkBkMenuShowAll, [this] { mnuCamTrkBkMenuShowAll_Click(); });
}
