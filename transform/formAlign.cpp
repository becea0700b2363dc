#include "formAlign.h"

#include "SelectionPlacements.h"

#include "core/EntityLocations.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionBookkeeping.h"
#include "core/SelectionCentres.h"
#include "core/WindowProcedures.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "platform/error_trap.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const kOptionCaptions[] = {"Minimum", "Center", "Pivot Point", "Maximum"};

using core::groupLocation;

using core::cameraLocation;

using core::lightLocation;

QGroupBox* optionFrame(QWidget* owner, const char* name, const char* caption, const char* optionName,
                       std::array<QRadioButton*, 4>& options) {
    auto* frame = new QGroupBox(QString::fromLatin1(caption), owner);
    frame->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(frame);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(kOptionCaptions[i]), frame);
        b->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(optionName)).arg(i));
        options[static_cast<std::size_t>(i)] = b;
        layout->addWidget(b);
    }
    options[0]->setChecked(true);
    return frame;
}

}  // namespace

formAlign::formAlign(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("formAlign"));
    setWindowTitle(QStringLiteral("Align"));
    setModal(true);
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* top = new QVBoxLayout(Frame1);
    auto* checks = new QHBoxLayout;
    const char* axes[] = {"X Position", "Y Position", "Z Position"};
    for (int i = 0; i < 3; ++i) {
        auto* c = new QCheckBox(QString::fromLatin1(axes[i]), Frame1);
        c->setObjectName(QStringLiteral("chkCoordinate(%1)").arg(i));
        chkCoordinate[static_cast<std::size_t>(i)] = c;
        checks->addWidget(c);
        connect(c, &QCheckBox::clicked, this, [this, i] { trap([&] { chkCoordinate_Click(i); }); });
    }
    top->addLayout(checks);
    auto* options = new QHBoxLayout;
    Frame2 = optionFrame(Frame1, "Frame2", "Current Object:", "opnCurrObj", opnCurrObj);
    Frame3 = optionFrame(Frame1, "Frame3", "Target Object:", "opnTargetObj", opnTargetObj);
    options->addWidget(Frame2);
    options->addWidget(Frame3);
    top->addLayout(options);
    for (int i = 0; i < 4; ++i) {
        connect(opnCurrObj[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { trap([&] { opnCurrObj_Click(i); }); });
        connect(opnTargetObj[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { trap([&] { opnTargetObj_Click(i); }); });
    }
    Frame4 = new QGroupBox(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    auto* buttons = new QHBoxLayout(Frame4);
    cmdOk = new QPushButton(QStringLiteral("&Ok"), Frame4);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), Frame4);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdOk->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    connect(cmdOk, &QPushButton::clicked, this, [this] { trap([this] { cmdOk_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { trap([this] { cmdCancel_Click(); }); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame4);
}

void formAlign::trap(const std::function<void()>& body) { platform::runTrapped(this, body); }

void formAlign::SetTargetEntity(int32_t kind, int32_t handle) {
    TargetEntityType = kind;
    TargetEntityHandle = handle;
}

void formAlign::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (loaded_) return;
    loaded_ = true;
    trap([this] { Form_Load(); });
}

void formAlign::reject() {
    if (closing_) {
        QDialog::reject();
        return;
    }
    trap([this] { cmdCancel_Click(); });
}

void formAlign::Form_Load() {
    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    switch (CurrSelEntityType) {
    case SelGroup: IniLoc = groupLocation(h); break;
    case SelCamera: IniLoc = cameraLocation(h); break;
    case SelLight: IniLoc = lightLocation(h); break;
    case SelMultiple: {
        const MultipleSelection& sel = undo::CurrMultiSel();
        IniGrpLocs.assign(static_cast<std::size_t>(3 * sel.NumOfGrps()) + 1, 0.0);
        IniCamLocs.assign(static_cast<std::size_t>(3 * sel.NumOfCams()) + 1, 0.0);
        IniLightLocs.assign(static_cast<std::size_t>(3 * sel.NumOfLights()) + 1, 0.0);
        for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) undo::SetLocationAt(IniGrpLocs, i, groupLocation(sel.GetGrp(i)));
        // The camera or light itself: its marker may sit elsewhere.
        for (int32_t i = 1; i <= sel.NumOfCams(); ++i) undo::SetLocationAt(IniCamLocs, i, cameraLocation(sel.GetCam(i)));
        for (int32_t i = 1; i <= sel.NumOfLights(); ++i)
            undo::SetLocationAt(IniLightLocs, i, lightLocation(sel.GetLight(i)));
        break;
    }
    default: break;
    }
    Box6d box = {0, 0, 0, 0, 0, 0};
    MultipleSelection none;
    GetSelectionBoundingBox(TargetEntityType, TargetEntityHandle, box, none);
    TargetMin = {box[0], box[1], box[2]};
    TargetMax = {box[3], box[4], box[5]};
    GetEntityLocation(TargetEntityHandle, TargetEntityType, TargetCenter);
    if (TargetEntityType == SelGroup) OMBREL_group_get_rotate_reference_point(TargetEntityHandle, TargetPivot.data());
    else TargetPivot = TargetCenter;
}

void formAlign::chkCoordinate_Click(int) { Apply(); }
void formAlign::opnCurrObj_Click(int) { Apply(); }
void formAlign::opnTargetObj_Click(int) { Apply(); }

int formAlign::selected(const std::array<QRadioButton*, 4>& options) const {
    for (int i = 0; i < 4; ++i)
        if (options[static_cast<std::size_t>(i)]->isChecked()) return i;
    return Minimum;
}

void formAlign::AlignOneAxis(Point3d& loc) {
    const int source = selected(opnCurrObj), target = selected(opnTargetObj);
    for (std::size_t a = 0; a < 3; ++a) {
        if (!chkCoordinate[a]->isChecked()) continue;
        double t = TargetMin[a];
        switch (target) {
        case Center: t = TargetCenter[a]; break;
        case PivotPoint: t = TargetPivot[a]; break;
        case Maximum: t = TargetMax[a]; break;
        default: break;
        }
        // The location need not be the middle of the world box (a turned group,
        // a marker off its camera): the entity shifts by how far the box's centre
        // is from where the option wants it.
        const double half = (CurrMax[a] - CurrMin[a]) / 2;
        switch (source) {
        case Minimum: loc[a] += t + half - CurrCenter[a]; break;
        case Center: loc[a] += t - CurrCenter[a]; break;
        case PivotPoint: loc[a] = t - CurrPivotOffset[a]; break;
        case Maximum: loc[a] += t - half - CurrCenter[a]; break;
        default: break;
        }
    }
}

// A marker-less camera or light counts as a point.
void formAlign::ReadBox(int32_t group, const Point3d& now, const Point3d& start) {
    double box[6] = {now[0], now[1], now[2], now[0], now[1], now[2]};
    if (group) OMBREL_group_get_bounding_box(group, box);
    CurrMin = {box[0], box[1], box[2]};
    CurrMax = {box[3], box[4], box[5]};
    // An earlier preview may have moved the entity; the box moved with it.
    for (std::size_t k = 0; k < 3; ++k) CurrCenter[k] = (CurrMin[k] + CurrMax[k]) / 2 + (start[k] - now[k]);
}

void formAlign::Apply() {
    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    if (!placementsRead_) {
        placementsRead_ = true;
        startPlacements_ = transform::ReadSelectionPlacements(transform::EditMode::Object);
    }
    auto alignGroup = [this](int32_t g, const Point3d& start) {
        const Point3d now = groupLocation(g);
        ReadBox(g, now, start);
        Point3d pivot = {0, 0, 0};
        OMBREL_group_get_rotate_reference_point(g, pivot.data());
        for (std::size_t k = 0; k < 3; ++k) CurrPivotOffset[k] = pivot[k] - now[k];
        Point3d loc = start;
        AlignOneAxis(loc);
        OMBREL_group_set_location(g, loc.data());
    };
    auto alignCamera = [this](int32_t c, const Point3d& start) {
        ReadBox(undo::SceneCameras().GetCamGrp(c), cameraLocation(c), start);
        CurrPivotOffset = {0, 0, 0};
        Point3d loc = start;
        AlignOneAxis(loc);
        undo::SceneCameras().SetLocation(c, loc);
    };
    auto alignLight = [this](int32_t l, const Point3d& start) {
        ReadBox(undo::SceneLights().GetLightGrp(l), lightLocation(l), start);
        CurrPivotOffset = {0, 0, 0};
        Point3d loc = start;
        AlignOneAxis(loc);
        undo::SceneLights().SetLocation(l, loc);
    };
    switch (CurrSelEntityType) {
    case SelGroup:
        alignGroup(h, IniLoc);
        undo::SelGrpBndBox().Initialize(h);
        break;
    case SelCamera: alignCamera(h, IniLoc); break;
    case SelLight: alignLight(h, IniLoc); break;
    case SelMultiple: {
        const MultipleSelection& sel = undo::CurrMultiSel();
        for (int32_t i = 1; i <= sel.NumOfGrps(); ++i) alignGroup(sel.GetGrp(i), undo::LocationAt(IniGrpLocs, i));
        undo::CurrMultiSel().InitializeBndBoxes();
        for (int32_t i = 1; i <= sel.NumOfCams(); ++i) alignCamera(sel.GetCam(i), undo::LocationAt(IniCamLocs, i));
        for (int32_t i = 1; i <= sel.NumOfLights(); ++i) alignLight(sel.GetLight(i), undo::LocationAt(IniLightLocs, i));
        ComputeSelObjsAvgCenter();
        break;
    }
    default: break;
    }
    UpdateCameras();
}

void formAlign::cmdCancel_Click() {
    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    switch (CurrSelEntityType) {
    case SelGroup:
        OMBREL_group_set_location(h, IniLoc.data());
        undo::SelGrpBndBox().Initialize(h);
        break;
    case SelCamera: undo::SceneCameras().SetLocation(h, IniLoc); break;
    case SelLight: undo::SceneLights().SetLocation(h, IniLoc); break;
    case SelMultiple: {
        const MultipleSelection& sel = undo::CurrMultiSel();
        for (int32_t i = 1; i <= sel.NumOfGrps(); ++i)
            OMBREL_group_set_location(sel.GetGrp(i), undo::LocationAt(IniGrpLocs, i).data());
        undo::CurrMultiSel().InitializeBndBoxes();
        for (int32_t i = 1; i <= sel.NumOfCams(); ++i) undo::SceneCameras().SetLocation(sel.GetCam(i), undo::LocationAt(IniCamLocs, i));
        for (int32_t i = 1; i <= sel.NumOfLights(); ++i)
            undo::SceneLights().SetLocation(sel.GetLight(i), undo::LocationAt(IniLightLocs, i));
        ComputeSelObjsAvgCenter();
        break;
    }
    default: break;
    }
    // Putting the locations back rounds the points they carry.
    startPlacements_.Restore();
    if (CurrSelEntityType == SelGroup) undo::SelGrpBndBox().Initialize(h);
    if (CurrSelEntityType == SelMultiple) undo::CurrMultiSel().InitializeBndBoxes();
    closing_ = true;
    QDialog::reject();
    UpdateCameras();
}

void formAlign::cmdOk_Click() {
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActAlign;
    record->SetActionObjects();
    record->Align->SetAlignedEntity(Globals::CurrSelEntityType, Globals::CurrSelEntityHandle, IniLoc,
                                    undo::CurrMultiSel(), IniGrpLocs, IniCamLocs, IniLightLocs);
    if (placementsRead_)
        record->Align->SetPlacements(std::move(startPlacements_),
                                     transform::ReadSelectionPlacements(transform::EditMode::Object));
    undo::Shared(Globals::UndoRedoStack, "The undo history").Push(std::move(record));
    closing_ = true;
    accept();
}
