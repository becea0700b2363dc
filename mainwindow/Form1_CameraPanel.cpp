// The camera work space below the camera, track and background tree (one of the
// camera, track and background frames at a time) and the camera panel: the
// selected camera's location, direction, field of view and distance from eye,
// written to the engine and the camera's marker at once and followed by the views
// that look through the camera. Not recorded for undo. The panel's content
// scrolls inside the frame, back at its top after every new layout.
#include "Form1.h"
#include "PanelFields.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "entities/CameraGrp.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

void Form1::buildCameraPanel() {
    QVBoxLayout* content = panels::ScrollingContent(frmCam, frmContainerDummy, "frmContainerDummy",
                                                    frmScrollContainerCam, "frmScrollContainerCam");
    cmdCamEditChase = new QPushButton("&Edit Chase", frmScrollContainerCam);
    cmdCamEditChase->setObjectName("cmdCamEditChase");
    content->addWidget(cmdCamEditChase);
    content->addWidget(panels::VectorFrame("Location:", "txtCamLoc", "updwnCamLoc", fldCamLoc, frmScrollContainerCam));
    content->addWidget(panels::VectorFrame("Direction:", "txtCamDir", "updwnCamDir", fldCamDir, frmScrollContainerCam));

    auto* lens = new QGroupBox("Lens:", frmScrollContainerCam);
    auto* grid = new QGridLayout(lens);
    fldFOV = panels::AddNumericField(grid, 0, "FOV:", "txtFOV", "updwnFOV", lens);
    grid->addWidget(new QLabel("deg.", lens), 0, 2);
    fldCamDistFrmEye =
        panels::AddNumericField(grid, 1, "Distance from eye", "txtCamDistFrmEye", "updwnCamDistFrmEye", lens);
    auto* distanceCaption = static_cast<QLabel*>(grid->itemAtPosition(1, 0)->widget());
    for (QWidget* w : std::initializer_list<QWidget*>{distanceCaption, fldCamDistFrmEye->text()})
        w->setToolTip("Minimum Veiwing Distance");
    content->addWidget(lens);
    content->addStretch(1);
}

void Form1::connectCameraPanel() {
    auto wire = [this](platform::NumericField* field, std::function<void()> apply,
                       const platform::NumberRange& range = platform::kLengths) {
        field->setRange(range);
        field->active = [this] { return !SettingCamParams; };
        // A failed step leaves silently, as the panel's fields do.
        field->apply = [apply = std::move(apply)] {
            try {
                apply();
            } catch (...) {
            }
        };
    };
    for (int i = 0; i < 3; ++i) {
        wire(fldCamLoc[static_cast<std::size_t>(i)], [this, i] { txtCamLoc_LostFocus(i); });
        wire(fldCamDir[static_cast<std::size_t>(i)], [this, i] { txtCamDir_LostFocus(i); });
    }
    wire(fldFOV, [this] { txtFOV_LostFocus(); }, platform::kFieldOfView);
    wire(fldCamDistFrmEye, [this] { txtCamDistFrmEye_LostFocus(); }, platform::kViewingDistances);
}

// ---- the work space

void Form1::ResetCamWorkSpaceFrame() {
    for (QGroupBox* f : {frmCam, frmBackground, frmTrack}) f->setVisible(false);
}

void Form1::SetCamWorkspaceFrame(QGroupBox* Frame) {
    // A frame already up keeps its layout.
    if (!Frame->isHidden()) return;
    ResetCamWorkSpaceFrame();
    CamWorkspaceFrame_Resize(Frame);
    Frame->setVisible(true);
}

void Form1::CamWorkspaceFrame_Resize(QGroupBox* Frame) {
    // The page's layout places the frame below the tree; the camera panel's
    // content starts again from its top.
    if (Frame && Frame->layout()) Frame->layout()->activate();
    if (Frame == frmCam) CamScrollBar_Resize();
}

void Form1::CamScrollBar_Resize() {
    if (frmContainerDummy) frmContainerDummy->verticalScrollBar()->setValue(0);
}

void Form1::ShowWorkSpCamScrollBar() {
    CamScrollBar_Resize();
    // The bar shows only while the content is taller than the frame.
    frmContainerDummy->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void Form1::HideWorkSpCamScorllBar() { frmContainerDummy->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff); }

// ---- the fields

bool Form1::cameraPanelLive() const { return !SettingCamParams && Globals::CurrSelEntityType == SelCamera; }

void Form1::SetCamWorkspaceFrame_Params() {
    using namespace Globals;
    if (CurrSelEntityType != SelCamera) return;
    const int32_t camera = CurrSelEntityHandle;
    // Nothing the fill changes is written back to the engine.
    QScopedValueRollback<bool> filling(SettingCamParams, true);
    panels::ShowValue(fldFOV, OMBREL_camera_get_zoom(camera));
    panels::ShowValue(fldCamDistFrmEye, OMBREL_camera_get_distance_from_eye(camera));
    Point3d loc = {0, 0, 0}, dir = {0, 0, 0};
    OMBREL_camera_get_location1(camera, loc.data());
    OMBREL_camera_get_direction1(camera, dir.data());
    for (std::size_t i = 0; i < 3; ++i) {
        panels::ShowValue(fldCamLoc[i], loc[i]);
        panels::ShowValue(fldCamDir[i], dir[i]);
    }
}

void Form1::txtCamLoc_LostFocus(int) {
    using namespace Globals;
    if (!cameraPanelLive()) return;
    Point3d loc = {0, 0, 0};
    if (!panels::Committed(fldCamLoc, loc)) return;
    SceneCameras->SetLocation(CurrSelEntityHandle, loc);
    // The views through the camera follow it, the others show its marker moved.
    SyncViewIfSelIsViewedCam();
    UpdateCamIfSelIsViewedCam();
}

void Form1::txtCamDir_LostFocus(int) {
    using namespace Globals;
    if (!cameraPanelLive()) return;
    const int32_t camera = CurrSelEntityHandle;
    Point3d typed = {0, 0, 0};
    const bool numeric = panels::Committed(fldCamDir, typed);
    // A zero or endless direction is none: the camera keeps its own, which the
    // fields show again.
    const double length = std::hypot(typed[0], typed[1], typed[2]);
    if (numeric && std::isfinite(length) && length > 0) OMBREL_camera_set_direction1(camera, typed.data());
    Point3d dir = {0, 0, 0};
    OMBREL_camera_get_direction1(camera, dir.data());
    SceneCameras->SetDirection(camera, dir);
    {
        QScopedValueRollback<bool> filling(SettingCamParams, true);
        for (std::size_t i = 0; i < 3; ++i) panels::ShowValue(fldCamDir[i], dir[i]);
    }
    SyncViewIfSelIsViewedCam();
    UpdateCamIfSelIsViewedCam();
}

// The views through the camera take the lens at once; the field shows what the
// engine keeps.
void Form1::txtFOV_LostFocus() {
    if (!cameraPanelLive() || !panels::ApplyCommitted(fldFOV, OMBREL_camera_set_zoom, Globals::CurrSelEntityHandle))
        return;
    {
        QScopedValueRollback<bool> filling(SettingCamParams, true);
        panels::ShowValue(fldFOV, OMBREL_camera_get_zoom(Globals::CurrSelEntityHandle));
    }
    Globals::SyncViewIfSelIsViewedCam();
}

void Form1::txtCamDistFrmEye_LostFocus() {
    if (!cameraPanelLive() ||
        !panels::ApplyCommitted(fldCamDistFrmEye, OMBREL_camera_set_distance_from_eye, Globals::CurrSelEntityHandle))
        return;
    {
        QScopedValueRollback<bool> filling(SettingCamParams, true);
        panels::ShowValue(fldCamDistFrmEye, OMBREL_camera_get_distance_from_eye(Globals::CurrSelEntityHandle));
    }
    Globals::SyncViewIfSelIsViewedCam();
}
