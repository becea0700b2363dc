// Opening, starting, merging, saving and closing a world, the world's root
// group and size, and the standard views.
#include "BusyPointer.h"
#include "Form1.h"

#include "core/BoundingBox.h"
#include "core/Camera.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "core/StringProcedures.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "platform/files.h"
#include "platform/prompts.h"
#include "RecentFiles.h"
#include "formCreateTrack.h"
#include "textures/frmTextureMapping.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/DragInProgress.h"
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
#include <filesystem>

namespace {

constexpr const char* kUntitled = "Untitled.wld";
constexpr const char* kRootGroupName = "the_world";
constexpr int32_t kSaveWorld = 0x1203;
constexpr int32_t kLoadEditor = 4;
// Extents this small are rounding, not a world: the views need a real distance.
constexpr double kNoExtent = 1e-9;

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

std::string lowerExtension(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    return QString::fromStdString(ext).toLower().toStdString();
}

// Only these are world files the editor writes; .ombrel and .x are only read.
bool isWritableWorld(const std::string& path) {
    const std::string ext = lowerExtension(path);
    return ext == ".wld" || ext == ".vandel";
}

std::string asWorldFileName(const std::string& path) {
    if (isWritableWorld(path)) return path;
    return std::filesystem::path(path).replace_extension(".wld").string();
}

// Whether two spellings name the same file: compared as canonical paths.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec, ec2;
    const auto ca = std::filesystem::weakly_canonical(a, ec);
    const auto cb = std::filesystem::weakly_canonical(b, ec2);
    return ec || ec2 ? a == b : ca == cb;
}

void informationBox(const std::string& text) {
    platform::msgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Information);
}

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

// The trees of cameras, groups, lights and textures, as a load and a merge fill them.
void Form1::populateWorldTrees() {
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
}

// What a loaded and a new world both start with: engine settings, the trees and
// the four view cameras. A loaded world keeps the fog of its file.
void Form1::fillWorldControls() {
    if (ToolbarButtonValue("3D Card Toggle") == 1) OMBREL_engine_use_3D_accelerator_card(1);
    populateWorldTrees();
    createViewCameras();
}

void Form1::enableWorldCommands() {
    mnu_Update();
    tabWorkspace->setEnabled(true);
    mnuAddWorld->setEnabled(true);
}

bool Form1::ConfirmDiscardWorld() {
    if (!WorldLoaded) return true;
    switch (platform::msgBox("Save changes?", platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question)) {
    case platform::MsgResult::Yes:
        return mnuSave_Click();
    case platform::MsgResult::No:
        return true;
    default:
        return false;
    }
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
        informationBox("Error Loading World");
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
    if (isVisible()) focusActiveView();
}

void Form1::NewWorld() {
    using namespace Globals;
    if (!ConfirmDiscardWorld()) return;
    releaseCardToggle();
    UnloadWorld();
    ResetControls();
    const int32_t result = OMBREL_engine_load_world(nullptr, nullptr, nullptr, kLoadEditor);
    RootGrp = OMBREL_group_create(kRootGroupName);
    if (result == -1) {
        informationBox("Error Starting New World");
        return;
    }
    CurrWorldFile = kUntitled;
    setCaption(std::string("TALVORA - ") + kUntitled);
    OMBREL_engine_set_atmospheric_effect_intensity(0);
    fillWorldControls();
    WorldSize = 1000.0;
    WorldLoaded = true;
    UpdateStatusBar();
    mnuResetViews_Click();
    ShowTemplates();
    enableWorldCommands();
    if (isVisible()) focusActiveView();
}

void Form1::UnloadWorld() {
    using namespace Globals;
    if (!WorldLoaded) return;
    // A drag still under way ends here; its record goes with the history below.
    for (int i = 0; i < 4; ++i) endHandleDrag(i);
    undo::TransformDragFlag() = false;
    frmTextureMapping::UnloadEditor();
    WorldLoaded = false;
    frmTrack->setVisible(false);
    NumSelTrkPts = 0;
    // Points laid on the world that goes are of no use in the next one.
    if (formCreateTrack::CustomTrkMode) EndTrackCreation();
    if (UndoRedoStack) UndoRedoStack->Reset();
    // No view keeps looking through a camera of the world that goes.
    for (int i = 0; i < 4; ++i)
        if (ViewCams[static_cast<std::size_t>(i)] && ViewCams[static_cast<std::size_t>(i)]->ViewedSceneCamera != 0)
            releaseView(i);
    viewsOfDeletedCameras_.clear();
    tmrAnimPreview->stop();
    tabWorkspace->setEnabled(false);
    // The selection's fields go blank and off, as when nothing is selected.
    LeaveSelectionPanel(CurrSelEntityType, SelNone);
    EnterSelectionPanel(SelNone, 0);
    CurrSelEntityType = PrevSelEntityType = SelNone;
    CurrSelEntityHandle = PrevSelEntityHandle = 0;
    setCaption("TALVORA");
    trwGroupView_Reset();
    groupNodePlaces_.clear();
    polNodesAway_.clear();
    trwCamTrackBK_Reset();
    trwLight->Clear();
    statusPanels_[0]->clear();
    statusPanels_[1]->clear();
    NumSelPts = NumSelPtsPols = NumSelPols = 0;
    if (CurrMultiSel) CurrMultiSel->Reset();
    imgTexture->clear();
    mnuAddWorld->setEnabled(false);
    if (SceneCameras) SceneCameras->RemoveAll();
    if (SceneLights) SceneLights->RemoveAll();
    ResetPolygonTools();
}

void Form1::LoadWorldWithOpenDialog() {
    using Globals::CurrWorldFile;
    const std::string path = GetOpenedFile();
    if (!path.empty() && !ConfirmDiscardWorld()) return;
    LoadWorld(path);
    // A new world is no file yet: it never joins the recent files.
    if (WorldLoaded && MRUList && CurrWorldFile != kUntitled && platform::fileExists(CurrWorldFile))
        MRUList->AddMRUItem(CurrWorldFile);
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
    request.fileName = asWorldFileName(Globals::CurrWorldFile);
    request.filter = "*.wld;*.vandel (*.wld *.vandel)";
    return platform::prompts().saveFileName(request);
}

void Form1::AddWorld(const std::string& FileName, const std::array<double, 3>& Location) {
    using namespace Globals;
    // A refused or failed merge leaves no stale group from an earlier one.
    AddedWorldRootGrp = 0;
    AddedWorldEntities = {};
    if (FileName.empty()) return;
    BusyPointer busy(*this);
    // A new world has no file yet; any spelling of the open one is refused.
    if (CurrWorldFile != kUntitled && sameFile(FileName, CurrWorldFile)) {
        informationBox("This file is the one that is opened");
        return;
    }
    const WorldEntities before = WorldEntities::Listed();
    // The folder names are case-sensitive here: the same "bitmaps" folder a load uses.
    const std::string bitmaps = GetFolderOfPath(FileName) + "bitmaps";
    AddedWorldRootGrp = OMBREL_engine_add_world(FileName.c_str(), "", bitmaps.c_str(), Location.data());
    if (AddedWorldRootGrp == 0) return;
    OMBREL_group_set_location(AddedWorldRootGrp, Location.data());
    SetGroupOrientation(AddedWorldRootGrp);
    OMBREL_group_set_father_group(AddedWorldRootGrp, RootGrp);
    // The markers stay: those of cameras and lights waiting in a deletion record
    // come back with Undo; the trees register only the newcomers.
    UpdateStatusBar();
    populateWorldTrees();
    AddedWorldEntities = WorldEntities::AddedSince(before);
    WorldSize = GetWorldSize();
    mnu_Update();
}

void Form1::AddWorldWithUndo() {
    using namespace Globals;
    const std::string path = GetOpenedFile();
    if (path.empty()) return;
    AddWorld(path, {0, 0, 0});
    if (AddedWorldRootGrp == 0) {
        informationBox("Failed adding world!");
        return;
    }
    SelectAddedWorld();
    UpdateCameras();
}

void Form1::SelectAddedWorld() {
    using namespace Globals;
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelGroup;
    CurrSelEntityHandle = AddedWorldRootGrp;
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActCreate;
    record->SetActionObjects();
    record->Create->SetCreatedEntity(SelGroup, AddedWorldRootGrp);
    record->Create->SetMergedEntities(AddedWorldEntities);
    UndoRedoStack->Push(std::move(record));
    SelGrpBndBox->Initialize(AddedWorldRootGrp);
    // The trees, panels, menus and the point and polygon selections follow the new selection.
    ThingsToDoOnSelectedEntityChange();
}

bool Form1::saveWorldTo(const std::string& path) {
    bool saved = false;
    {
        // A world of many light maps takes seconds to write.
        BusyPointer busy(*this);
        saved = OMBREL_engine_save(path.c_str(), Globals::RootGrp, kSaveWorld) == 0;
    }
    if (saved) return true;
    // The engine's reason (the file and what the system said) tells the user what
    // to mend; the name of the engine's function before it does not.
    const char* error = OMBREL_ext_get_last_error();
    std::string why = error ? error : "";
    if (why.rfind("OMBREL_", 0) == 0 && why.find(": ") != std::string::npos) why.erase(0, why.find(": ") + 2);
    informationBox(why.empty() ? std::string("Error Saving World") : "Error Saving World\n" + why);
    return false;
}

bool Form1::mnuSave_Click() {
    using namespace Globals;
    if (!WorldLoaded) return false;
    // A new world, and one read from a file the editor does not write, need a name first.
    if (CurrWorldFile == kUntitled || !isWritableWorld(CurrWorldFile)) return mnuSaveAs_Click();
    return saveWorldTo(CurrWorldFile);
}

bool Form1::mnuSaveAs_Click() {
    using namespace Globals;
    if (!WorldLoaded) return false;
    std::string path;
    for (;;) {
        path = GetSaveAsFile();
        if (path.empty()) return false;
        if (!isWritableWorld(path)) path += ".wld";
        if (!platform::fileExists(path)) break;
        const auto answer = platform::msgBox("This file already exist. Do you wish to replace it?",
                                             platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question);
        if (answer == platform::MsgResult::Yes) break;
        if (answer != platform::MsgResult::No) return false;
    }
    if (!saveWorldTo(path)) return false;
    CurrWorldFile = path;
    setCaption("TALVORA - " + path);
    if (MRUList) MRUList->AddMRUItem(CurrWorldFile);
    return true;
}

void Form1::mnuNew_Click() { NewWorld(); }

void Form1::mnuOpenFile_Click() { LoadWorldWithOpenDialog(); }

void Form1::mnuAddWorld_Click() { AddWorldWithUndo(); }

void Form1::mnuCloseFile_Click() {
    if (!ConfirmDiscardWorld()) return;
    UnloadWorld();
    for (PicWindow* view : picWindow) view->ClearPicture();
    mnu_Update();
}

void Form1::mnuExit_Click() {
    // The question is asked here; the world is closed before the window, so the
    // closing step finds none and asks nothing more.
    if (!ConfirmDiscardWorld()) return;
    ExitProgram();
}

void Form1::ExitProgram() {
    UnloadWorld();
    close();
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
    constexpr double kNoPolygon = 10000.0;
    const int32_t root = Globals::RootGrp;
    if (OMBREL_group_get_number_of_polygons(root) == 0) return kNoPolygon;
    double box[6] = {};
    OMBREL_group_get_bounding_box(root, box);
    // On equal extents the earlier axis wins.
    double size = box[3] - box[0];
    for (int axis = 1; axis < 3; ++axis)
        if (box[axis + 3] - box[axis] > size) size = box[axis + 3] - box[axis];
    size = std::abs(size);
    return size <= kNoExtent ? kNoPolygon : size;
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
        SetViewCaption(s.view, s.label);
    }
    for (auto& camera : ViewCams) {
        const int32_t c = camera->lngSceneCamera;
        OMBREL_camera_set_distance_from_eye(c, WorldSize);
        OMBREL_camera_set_save_flag(c, 0);
        OMBREL_camera_set_zoom(c, 1.0);
        camera->SetLookAtOffset(0, 0);
        camera->RollAngle = 0;
        camera->PointAtLoc({0, 0, 0});
        // A fixed direction first, so the standard views never keep a camera's
        // history (a view revolved over the top would stay upside down).
        OMBREL_camera_set_direction(c, 1, 0, 0);
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
