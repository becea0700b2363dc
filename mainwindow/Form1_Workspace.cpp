// The workspace panel: page switching and which controls are live on each page,
// the object-mode, edit sub-mode and track-mode combos with the frames they swap,
// the group name and colour controls, the light colour and the chase buttons.
// The services the geometry, camera, light and texture tools own stay least
// versions here until those tools fill them in.
#include "Form1.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/WeldedPointsProcedures.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "entities/LightProcedures.h"
#include "platform/colour.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "scene/GroupColour.h"
#include "textures/PicturePreview.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/EntityDeletion.h"
#include "ombrel.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QGroupBox>
#include <QTabWidget>

#include <memory>
#include <optional>

namespace {

std::string lowerText(const QComboBox* combo) { return combo->currentText().toLower().toStdString(); }

// Only a selected group has points to weld; group 0 would walk the whole world.
void buildWeldedPointsOfSelectedGroup() {
    if (Globals::CurrSelEntityType == SelGroup) Globals::BuildWeldedPoints(Globals::CurrSelEntityHandle);
}

}  // namespace

void Form1::connectWorkspace() {
    auto shownPage = std::make_shared<int>(tabWorkspace->currentIndex());
    connect(tabWorkspace, &QTabWidget::currentChanged, this, [this, shownPage](int page) {
        const int previous = *shownPage;
        *shownPage = page;
        platform::runTrapped(this, [this, previous] { tabWorkspace_Click(previous); });
    });
    // A combo's change runs its handler whether the user or the program made it;
    // a combo the program empties raises nothing.
    auto onChange = [this](QComboBox* combo, void (Form1::*handler)()) {
        connect(combo, &QComboBox::currentTextChanged, this, [this, handler](const QString& text) {
            if (!text.isEmpty()) platform::runTrapped(this, [this, handler] { (this->*handler)(); });
        });
    };
    onChange(cmbObj, &Form1::cmbObj_Change);
    onChange(cmbObjEditGeom, &Form1::cmbObjEditGeom_Change);
    onChange(cmbTrackPoint, &Form1::cmbTrackPoint_Change);
    auto onClick = [this](QPushButton* button, void (Form1::*handler)()) {
        connect(button, &QPushButton::clicked, this, platform::trapped(this, [this, handler] { (this->*handler)(); }));
    };
    onClick(cmdGrpClr, &Form1::cmdGrpClr_Click);
    onClick(cmdLightColor, &Form1::cmdLightColor_Click);
    onClick(cmdCamEditChase, &Form1::cmdCamEditChase_Click);
    onClick(cmdEditGeomChase, &Form1::cmdEditGeomChase_Click);
    connect(cmdEditPtDelete, &QPushButton::clicked, this, [this] {
        if (cmdEditPtDelete_Click) cmdEditPtDelete_Click();
    });
    connectGroupTree();
}

void Form1::ResetControls() {
    cmbObj->setCurrentText("New Object");
    tabWorkspace->setCurrentIndex(0);
}

void Form1::EnableWorkSpaceGroupsTab(bool Enable) { trwGroupView->setEnabled(Enable); }

void Form1::EnableWorkSpaceEditGroupTab(bool Enable) {
    for (QWidget* control : std::initializer_list<QWidget*>{frmObj, frmEditGeom, frmEditTexture, frmNewObj})
        control->setEnabled(Enable);
}

void Form1::EnableWorkSpaceCamTrkBkTab(bool Enable) {
    for (QWidget* control : std::initializer_list<QWidget*>{trwCamTrackBK, frmCam, frmBackground, frmTrack})
        control->setEnabled(Enable);
}

void Form1::EnableWorkSpaceLightTab(bool Enable) {
    trwLight->setEnabled(Enable);
    frmLight->setEnabled(Enable);
}

void Form1::DisableAllWorkSpaceTabs() {
    EnableWorkSpaceCamTrkBkTab(false);
    EnableWorkSpaceEditGroupTab(false);
    EnableWorkSpaceGroupsTab(false);
    EnableWorkSpaceLightTab(false);
}

void Form1::tabWorkspace_Click(int) {
    using namespace Globals;
    DisableAllWorkSpaceTabs();
    switch (tabWorkspace->currentIndex()) {
    case 0:
        EnableWorkSpaceGroupsTab(true);
        if (const std::string key = KeyedTree::NodeKey("Group", CurrSelEntityHandle);
            CurrSelEntityType == SelGroup && trwGroupView->Exists(key)) {
            QTreeWidgetItem* node = trwGroupView->Item(key);
            trwGroupView->EnsureVisible(node);
            trwGroupView->SetSelectedItem(node);
        }
        break;
    case 1:
        EnableWorkSpaceEditGroupTab(true);
        cmbObj->clear();
        cmbObj->addItem("New Object");
        if (CurrSelEntityType == SelGroup) cmbObj->addItems({"Edit Geometry", "Edit Texture"});
        cmbObj->setCurrentText("New Object");
        break;
    case 2: EnableWorkSpaceCamTrkBkTab(true); break;
    case 5: EnableWorkSpaceLightTab(true); break;
    default: break;  // the texture and gallery pages are never switched off
    }
    UpdateCameras();
}

void Form1::HideAllObjFrames() {
    for (QGroupBox* f : {frmEditGeom, frmEditTexture, frmNewObj}) f->setVisible(false);
}

void Form1::HideAllEditGeomFrames() {
    for (QGroupBox* f : {frmEditGeomPolygon, frmEditGeomPoint, frmEditTexture}) f->setVisible(false);
}

void Form1::cmbObj_Change() {
    const std::string choice = lowerText(cmbObj);
    if (choice == "edit geometry") {
        HideAllObjFrames();
        frmEditGeom->setVisible(true);
        // Polygon editing moves the welded points of the selected polygons.
        if (cmbObjEditGeom->currentText() == "Polygon") buildWeldedPointsOfSelectedGroup();
    } else if (choice == "edit texture") {
        HideAllObjFrames();
        frmEditTexture->setVisible(true);
        buildWeldedPointsOfSelectedGroup();
    } else if (choice == "new object") {
        HideAllObjFrames();
        frmNewObj->setVisible(true);
    }
    UpdateCameras();
}

void Form1::cmbObjEditGeom_Change() {
    const std::string choice = lowerText(cmbObjEditGeom);
    if (choice == "point") {
        HideAllEditGeomFrames();
        frmEditGeomPoint->setVisible(true);
    } else if (choice == "polygon") {
        HideAllEditGeomFrames();
        frmEditGeomPolygon->setVisible(true);
        buildWeldedPointsOfSelectedGroup();
    }
    UpdateCameras();
}

void Form1::cmbTrackPoint_Change() {
    // The views draw the selected track points only in "Point" mode.
    frmTrackPoint->setVisible(cmbTrackPoint->currentText() == "Point");
    UpdateCameras();
}

void Form1::SetGrpWorkspaceFrame_Params() {
    using namespace Globals;
    if (CurrSelEntityType != SelGroup) return;
    txtSelectedGrpName->setEnabled(true);
    txtSelectedGrpName->setText(QString::fromStdString(GetEntityName(CurrSelEntityHandle)));
    // A group without polygons leaves the button as it was.
    const int32_t p = OMBREL_group_get_first_polygon(CurrSelEntityHandle);
    if (p == 0) return;
    int32_t r = 0, g = 0, b = 0;
    OMBREL_polygon_get_color(p, &r, &g, &b);
    setBackColor(cmdGrpClr, platform::rgb(r, g, b));
}

void Form1::setBackColor(QPushButton* button, int32_t colour) { textures::SetBackColour(*button, colour); }

int32_t Form1::BackColor(const QPushButton* button) { return textures::BackColour(*button); }

void Form1::cmdGrpClr_Click() {
    using namespace Globals;
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActApplyTextureToGrp;
    record->SetActionObjects();
    record->ApplyTexture->SetNewFillType(2);
    // A cancelled dialog changes and records nothing.
    const std::optional<int32_t> chosen = ShowColorDialog(currentFillColour());
    if (!chosen) return;
    if (CurrSelEntityType != SelGroup) return;
    const bool polygonMode = NumSelPols != 0 && cmbObjEditGeom->currentText() == "Polygon";
    scene::ColourSelectedGroup(*record->ApplyTexture, *chosen, polygonMode);
    setBackColor(cmdGrpClr, *chosen);
    UpdateCameras();
    if (!UndoRedoStack) throw platform::EditorError("The undo history has not been created");
    UndoRedoStack->Push(std::move(record));
}

int32_t Form1::currentFillColour() const {
    using namespace Globals;
    int32_t polygon = 0;
    if (CurrSelEntityType == SelGroup && IsLiveEntity(SelGroup, CurrSelEntityHandle))
        polygon = NumSelPols != 0 && cmbObjEditGeom->currentText() == "Polygon"
                      ? SelPols[1]
                      : OMBREL_group_get_first_polygon(CurrSelEntityHandle);
    if (polygon == 0) return BackColor(cmdGrpClr);
    int32_t r = 0, g = 0, b = 0;
    OMBREL_polygon_get_color(polygon, &r, &g, &b);
    return platform::rgb(r, g, b);
}

int32_t Form1::currentLightColour() const {
    const int32_t light = Globals::CurrentLiveEntity(SelLight);
    if (light == 0) return BackColor(cmdLightColor);
    uint8_t rgb[3] = {0, 0, 0};
    OMBREL_light_get_color(light, rgb);
    return platform::rgb(rgb[0], rgb[1], rgb[2]);
}

void Form1::cmdLightColor_Click() {
    using namespace Globals;
    const std::optional<int32_t> chosen = ShowColorDialog(currentLightColour());
    if (!chosen) return;
    // The light's colour is not recorded for undo.
    setBackColor(cmdLightColor, *chosen);
    if (CurrSelEntityType != SelLight) return;
    const std::array<uint8_t, 3> rgb = scene::ColourBytes(*chosen);
    OMBREL_light_set_color(CurrSelEntityHandle, rgb.data());
    ActivateSelLight();
}

// The chase dialog works on the current selection, a camera or a group.
void Form1::cmdCamEditChase_Click() {
    if (ShowCamChaseParams) ShowCamChaseParams();
}

void Form1::cmdEditGeomChase_Click() {
    if (ShowCamChaseParams) ShowCamChaseParams();
}

void Form1::cmbTrackPoint_Populate() {
    cmbTrackPoint->clear();
    cmbTrackPoint->addItems({"Track", "Point"});
    cmbTrackPoint->setCurrentText("Track");
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

void Form1::picWinSetMousePtr(const std::string& key) {
    for (PicWindow* view : picWindow) {
        view->SetMouseIcon(key);
        view->SetMousePointer(99);
    }
}
