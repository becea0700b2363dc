// Opening, starting, saving and closing a world, and the standard views. The
// recent files, templates, hold and fetch, Add World and the replace rules of
// the world files build on these.
#include "BusyPointer.h"
#include "Form1.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/MultipleSelection.h"
#include "core/StringProcedures.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "platform/files.h"
#include "platform/prompts.h"
#include "views/PicWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kUntitled = "Untitled.wld";
constexpr const char* kRootGroupName = "the_world";
constexpr int32_t kSaveWorld = 0x1203;
constexpr int32_t kLoadEditor = 4;

// Puts a flag back on every way out of a scope.
class RestoreOnExit {
public:
    explicit RestoreOnExit(bool& flag) : flag_(flag), value_(flag) {}
    ~RestoreOnExit() { flag_ = value_; }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

private:
    bool& flag_;
    bool value_;
};

}  // namespace

void Form1::setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void Form1::createViewCameras() {
    // View 1 gets "camera3": the views were numbered clockwise after the names.
    static const int viewOf[4] = {0, 2, 3, 1};
    for (int i = 0; i < 4; ++i) {
        const std::string name = "camera" + std::to_string(i);
        Globals::ViewCams[static_cast<std::size_t>(viewOf[i])]->lngSceneCamera = OMBREL_camera_create(name.c_str());
    }
}

void Form1::releaseCardToggle() {
    if (ToolbarButtonValue("3D Card Toggle") == 1) SetToolbarButtonValue("3D Card Toggle", 0);
}

// What a loaded and a new world both start with: engine settings, the trees and
// the four view cameras.
void Form1::fillWorldControls() {
    OMBREL_engine_set_atmospheric_effect_intensity(0);
    if (ToolbarButtonValue("3D Card Toggle") == 1) OMBREL_engine_use_3D_accelerator_card(1);
    trwCamTrackBK_Populate();
    for (int i = 0; i < std::min(3, trwCamTrackBK->topLevelItemCount()); ++i)
        if (trwCamTrackBK->topLevelItem(i)->isExpanded()) trwCamTrackBK_Collapse(trwCamTrackBK->topLevelItem(i));
    trwGroupView_Populate();
    cmbObj->setCurrentText("New Object");
    cmbObjEditGeom->setCurrentText("Point");
    trwLight_Populate();
    if (trwLight->topLevelItemCount() > 0 && trwLight->topLevelItem(0)->isExpanded())
        trwLight_Collapse(trwLight->topLevelItem(0));
    trwTextures_Populate();
    createViewCameras();
}

void Form1::enableWorldCommands() {
    mnu_Update();
    tabWorkspace->setEnabled(true);
    mnuAddWorld->setEnabled(true);
}

void Form1::LoadWorld(const std::string& FileName) {
    using namespace Globals;
    if (FileName.empty()) return;
    BusyPointer busy(*this);
    releaseCardToggle();
    UnloadWorld();
    ResetControls();
    QCoreApplication::processEvents();
    const std::string bitmaps = GetFolderOfPath(FileName) + "bitmaps";
    if (OMBREL_engine_load_world(FileName.c_str(), "", bitmaps.c_str(), kLoadEditor) == -1) {
        mnuCloseFile_Click();
        platform::msgBox("Error Loading World", platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    RootGrp = GetWorldRootGrp();
    SetGroupOrientation(RootGrp);
    SetSaveFlagOnAll();
    WorldSize = GetWorldSize();
    CurrWorldFile = FileName;
    setCaption("TALVORA [" + FileName + "]");
    fillWorldControls();
    WorldLoaded = true;
    UpdateStatusBar();
    mnuResetViews_Click();
    enableWorldCommands();
}

void Form1::NewWorld() {
    using namespace Globals;
    releaseCardToggle();
    UnloadWorld();
    ResetControls();
    const int32_t result = OMBREL_engine_load_world(nullptr, nullptr, nullptr, kLoadEditor);
    RootGrp = OMBREL_group_create(kRootGroupName);
    if (result == -1) {
        platform::msgBox("Error Starting New World", platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    CurrWorldFile = kUntitled;
    setCaption(std::string("TALVORA - ") + kUntitled);
    fillWorldControls();
    WorldSize = 1000.0;
    WorldLoaded = true;
    UpdateStatusBar();
    mnuResetViews_Click();
    // The templates window is shown here once the world files bring it.
    enableWorldCommands();
}

void Form1::UnloadWorld() {
    using namespace Globals;
    if (!WorldLoaded) return;
    // The texture-mapping window, when open, is closed here once the texture tools bring it.
    WorldLoaded = false;
    frmTrack->setVisible(false);
    NumSelTrkPts = 0;
    // The undo history is emptied here once the undo tools exist.
    tmrAnimPreview->stop();
    tabWorkspace->setEnabled(false);
    CurrSelEntityType = PrevSelEntityType = SelNone;
    CurrSelEntityHandle = PrevSelEntityHandle = 0;
    setCaption("TALVORA");
    trwGroupView_Reset();
    trwCamTrackBK_Reset();
    statusPanels_[0]->clear();
    statusPanels_[1]->clear();
    NumSelPts = NumSelPtsPols = NumSelPols = 0;
    if (CurrMultiSel) CurrMultiSel->Reset();
    imgTexture->clear();
    mnuAddWorld->setEnabled(false);
    if (SceneCameras) SceneCameras->RemoveAll();
    if (SceneLights) SceneLights->RemoveAll();
}

void Form1::LoadWorldWithOpenDialog() {
    LoadWorld(GetOpenedFile());
    // The opened file joins the recent files here once the world files keep them.
}

std::string Form1::GetOpenedFile() {
    platform::FileRequest request;
    request.title = "Open";
    request.filter = "All Supported files (*.wld *.vandel *.ombrel *.x);;*.wld (*.wld);;*.vandel (*.vandel);;"
                     "*.ombrel (*.ombrel)";
    return platform::prompts().openFileName(request);
}

std::string Form1::GetSaveAsFile() {
    platform::FileRequest request;
    request.title = "Save As";
    request.fileName = Globals::CurrWorldFile;
    request.filter = "*.wld;*.vandel (*.wld *.vandel)";
    return platform::prompts().saveFileName(request);
}

bool Form1::mnuSave_Click() {
    using namespace Globals;
    if (!WorldLoaded) return false;
    if (CurrWorldFile == kUntitled) return mnuSaveAs_Click();
    return OMBREL_engine_save(CurrWorldFile.c_str(), RootGrp, kSaveWorld) == 0;
}

bool Form1::mnuSaveAs_Click() {
    using namespace Globals;
    if (!WorldLoaded) return false;
    std::string path;
    for (;;) {
        path = GetSaveAsFile();
        if (path.empty()) return false;
        if (!platform::fileExists(path)) break;
        const auto answer = platform::msgBox("This file already exist. Do you wish to replace it?",
                                             platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question);
        if (answer == platform::MsgResult::Yes) break;
        if (answer != platform::MsgResult::No) return false;
    }
    if (OMBREL_engine_save(path.c_str(), RootGrp, kSaveWorld) != 0) return false;
    CurrWorldFile = path;
    setCaption("TALVORA - " + path);
    // The saved file joins the recent files here once the world files keep them.
    return true;
}

int32_t Form1::GetWorldRootGrp() {
    const int32_t existing = OMBREL_group_get_using_name(kRootGroupName);
    if (existing != 0) return existing;
    const int32_t root = OMBREL_group_create(kRootGroupName);
    for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g))
        if (g != root && OMBREL_group_get_father_group(g) == 0) OMBREL_group_set_father_group(g, root);
    return root;
}

double Form1::GetWorldSize() {
    const int32_t root = Globals::RootGrp;
    if (OMBREL_group_get_number_of_polygons(root) == 0) return 10000.0;
    double box[6] = {};
    OMBREL_group_get_bounding_box(root, box);
    double size = box[3] - box[0];
    for (int axis = 1; axis < 3; ++axis) size = std::max(size, box[axis + 3] - box[axis]);
    return std::abs(size);
}

void Form1::SetSaveFlagOnAll() {
    for (int32_t c = OMBREL_camera_get_first_camera(); c != 0; c = OMBREL_camera_get_next_camera(c))
        OMBREL_camera_set_save_flag(c, 1);
    for (int32_t t = OMBREL_track_get_first_track(); t != 0; t = OMBREL_track_get_next(t))
        OMBREL_track_set_save_flag(t, 1);
    for (int32_t b = OMBREL_background_get_first_background(); b != 0; b = OMBREL_background_get_next(b))
        OMBREL_background_set_save_flag(b, 1);
}

// ---- standard views

void Form1::ResetCameras() {
    using namespace Globals;
    constexpr double pi = 3.14;  // the standard views' own constant, not the exact value
    struct Standard {
        int view;
        const char* label;
        double dist, horiz, vert;
    };
    const Standard standard[] = {
        {0, "Top", WorldSize * 100, 0, pi / 2},
        {3, "Right", WorldSize * 100, -pi / 2, pi},
        {2, "Perspective", WorldSize * 4, pi - pi / 4, pi - pi / 6},
        {1, "Front", WorldSize * 100, pi, pi},
    };
    for (const Standard& s : standard) {
        ViewCams[static_cast<std::size_t>(s.view)]->Initialize(s.dist, s.horiz, s.vert);
        lblPicView[static_cast<std::size_t>(s.view)]->setText(s.label);
    }
    for (auto& camera : ViewCams) {
        const int32_t c = camera->lngSceneCamera;
        OMBREL_camera_set_distance_from_eye(c, WorldSize);
        OMBREL_camera_set_save_flag(c, 0);
        OMBREL_camera_set_zoom(c, 1.0);
        camera->SetLookAtOffset(0, 0);
        camera->RollAngle = 0;
        camera->PointAtLoc({0, 0, 0});
        camera->Update();
    }
    const int32_t perspective = ViewCams[2]->lngSceneCamera;
    OMBREL_camera_set_zoom(perspective, 24.0);
    OMBREL_camera_set_distance_from_eye(perspective, WorldSize / 100);
    ViewCams[2]->Update();
    SetWindowFocus();
}

void Form1::mnuResetViews_Click() {
    // The layout changes below redraw nothing.
    {
        RestoreOnExit keep(WorldLoaded);
        WorldLoaded = false;
        imgSplitterHV_ResetPos(0.48, 0.48);
        if (ViewMaximized) ToggleWindowMinMax();
    }
    if (WorldLoaded) {
        ResetCameras();
        UpdateCameras();
    }
}
