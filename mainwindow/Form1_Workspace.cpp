// The workspace panel's services that the scene tree, geometry, camera, light
// and texture tools own. Each does the least its callers rely on; the tools
// that own them fill in the rest.
#include "Form1.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/WeldedPointsProcedures.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>

namespace {

std::string lowerText(const QComboBox* combo) { return combo->currentText().toLower().toStdString(); }

void addGroupNodes(KeyedTree& tree, int32_t father, const std::string& fatherKey) {
    for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g)) {
        if (OMBREL_group_get_father_group(g) != father) continue;
        const std::string key = KeyedTree::NodeKey("Group", g);
        tree.Add(fatherKey, key, Globals::GetEntityName(g), "Group");
        addGroupNodes(tree, g, key);
    }
}

// Only a selected group has points to weld; group 0 would walk the whole world.
void buildWeldedPointsOfSelectedGroup() {
    if (Globals::CurrSelEntityType == SelGroup) Globals::BuildWeldedPoints(Globals::CurrSelEntityHandle);
}

}  // namespace

void Form1::ResetControls() {
    cmbObj->setCurrentText("New Object");
    tabWorkspace->setCurrentIndex(0);
}

void Form1::tabWorkspace_Click(int) {
    // The pages' own controls are shown by their layouts; the views follow.
    UpdateCameras();
}

void Form1::HideAllObjFrames() {
    for (QGroupBox* f : {frmEditGeom, frmEditTexture, frmNewObj}) f->setVisible(false);
}

void Form1::cmbObj_Change() {
    HideAllObjFrames();
    const std::string choice = lowerText(cmbObj);
    if (choice == "new object") frmNewObj->setVisible(true);
    if (choice == "edit geometry") {
        frmEditGeom->setVisible(true);
        // Polygon editing moves the welded points of the selected polygons.
        if (lowerText(cmbObjEditGeom) == "polygon") buildWeldedPointsOfSelectedGroup();
    }
    if (choice == "edit texture") {
        frmEditTexture->setVisible(true);
        buildWeldedPointsOfSelectedGroup();
    }
}

void Form1::cmbObjEditGeom_Change() {
    const std::string choice = lowerText(cmbObjEditGeom);
    frmEditGeomPoint->setVisible(choice == "point");
    frmEditGeomPolygon->setVisible(choice == "polygon");
    if (choice == "polygon") buildWeldedPointsOfSelectedGroup();
}

void Form1::cmbTrackPoint_Populate() {
    cmbTrackPoint->clear();
    cmbTrackPoint->addItems({"Track", "Point"});
    cmbTrackPoint->setCurrentText("Track");
}

void Form1::cmbPolFilter_Populate() {
    cmbPolFilter->clear();
    cmbPolFilter->addItems({"Disable Blending", "Dark Filter", "Opaque Filter", "Normal", "Control",
                            "Bright Transparent", "Bright Translucent", "Light Source", "Inverse"});
    cmbPolFilter->setCurrentText("Disable Blending");
}

void Form1::trwGroupView_Populate() {
    trwGroupView_Reset();
    addGroupNodes(*trwGroupView, Globals::RootGrp, "");
}

void Form1::trwGroupView_Reset() { trwGroupView->Clear(); }

void Form1::trwCamTrackBK_Populate() {
    trwCamTrackBK_Reset();
    for (int32_t c = OMBREL_camera_get_first_camera(); c != 0; c = OMBREL_camera_get_next_camera(c)) {
        if (OMBREL_camera_get_save_flag(c) != 1) continue;
        trwCamTrackBK->Add("CAMERA", KeyedTree::NodeKey("Camera", c), Globals::GetEntityName(c), "Camera");
        Globals::SceneCameras->Add(c);
    }
    for (int32_t b = OMBREL_background_get_first_background(); b != 0; b = OMBREL_background_get_next(b))
        trwCamTrackBK->Add("BACKGROUND", KeyedTree::NodeKey("Background", b), Globals::GetEntityName(b),
                           "Background");
    for (int32_t t = OMBREL_track_get_first_track(); t != 0; t = OMBREL_track_get_next(t))
        trwCamTrackBK->Add("TRACK", KeyedTree::NodeKey("Track", t), Globals::GetEntityName(t), "Track");
}

void Form1::trwCamTrackBK_Reset() {
    trwCamTrackBK->Clear();
    trwCamTrackBK->Add("", "CAMERA", "CAMERA", "Folder");
    trwCamTrackBK->Add("", "BACKGROUND", "BACKGROUND", "Folder");
    trwCamTrackBK->Add("", "TRACK", "TRACK", "Folder");
}

void Form1::trwCamTrackBK_Collapse(QTreeWidgetItem* Node) {
    // The node-click handling of the camera tree comes with the camera tools.
    trwCamTrackBK->SetImage(Node, "Folder");
}

void Form1::trwLight_Populate() {
    trwLight->Clear();
    trwLight->Add("", "LIGHT", "LIGHT", "Folder");
    Globals::SceneLights->RemoveAll();
    for (int32_t l = OMBREL_light_get_first_light(); l != 0; l = OMBREL_light_get_next_light(l)) {
        trwLight->Add("LIGHT", KeyedTree::NodeKey("Light", l), Globals::GetEntityName(l), "Light");
        Globals::SceneLights->Add(l);
    }
}

void Form1::trwLight_Collapse(QTreeWidgetItem* Node) {
    // The node-click handling of the light tree comes with the light tools.
    trwLight->SetImage(Node, "Folder");
}

void Form1::trwTextures_Populate() {
    trwTextures->Clear();
    trwTextures->Add("", "MAP", "MAP", "Folder");
    trwTextures->Add("", "ANIMATION", "ANIMATION", "Folder");
    for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b != 0; b = OMBREL_bitmap_get_next(b))
        trwTextures->Add("MAP", KeyedTree::NodeKey("MAP", b), Globals::GetEntityName(b), "Bitmap");
    for (int32_t a = OMBREL_animation_get_first_animation(); a != 0; a = OMBREL_animation_get_next(a))
        trwTextures->Add("ANIMATION", KeyedTree::NodeKey("ANIMATION", a), Globals::GetEntityName(a), "Animation");
}

bool Form1::IsGrpHidden(int32_t Grp) const {
    return KeyedTree::IsHiddenImage(KeyedTree::Image(trwGroupView->Item(KeyedTree::NodeKey("Group", Grp))));
}

bool Form1::IsCamHidden(int32_t Cam) const {
    return KeyedTree::IsHiddenImage(KeyedTree::Image(trwCamTrackBK->Item(KeyedTree::NodeKey("Camera", Cam))));
}

bool Form1::IsLightHidden(int32_t Light) const {
    return KeyedTree::IsHiddenImage(KeyedTree::Image(trwLight->Item(KeyedTree::NodeKey("Light", Light))));
}

void Form1::SetCamWorkspaceFrame_Params() {
    // The camera panel's fields come with the camera tools.
}

// The camera and light panels are laid out by their pages' layouts; their own
// scroll bars come with the camera and light tools.
void Form1::CamWorkspaceFrame_Resize(QGroupBox*) {}
void Form1::CamScrollBar_Resize() {}
void Form1::frmLight_Resize() {}
void Form1::LightScrollBar_Resize() {}

void Form1::picWinSetMousePtr(const std::string& key) {
    for (PicWindow* view : picWindow) {
        view->SetMouseIcon(key);
        view->SetMousePointer(99);
    }
}
