// The light panel of the workspace's light page: every property of the selected
// light, written to the engine at once and followed by one apply step (the light
// activated again and the views redrawn). Not recorded for undo. The panel's
// content scrolls inside the frame, back at its top after every new layout.
#include "Form1.h"
#include "ModelGalleryInput.h"
#include "PanelFields.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "entities/LightGrp.h"
#include "entities/LightProcedures.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "platform/colour.h"
#include "platform/error_trap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Light type flags.
constexpr int32_t kDirectional = 1, kLinear = 2, kSquare = 4, kAmbient = 8, kDiffuse = 16, kSpecular = 32;
constexpr int32_t kDefaultType = kAmbient | kDiffuse | kSpecular | kLinear;
// The type list's items and the flag each stands for, in list order.
constexpr struct {
    const char* caption;
    int32_t flag;
} kTypeItems[] = {{"Ambient", kAmbient}, {"Diffuse", kDiffuse}, {"Specular", kSpecular}, {"Directional", kDirectional}};
constexpr int kDirectionalItem = 3;

template <class Control>
Control* named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

// An unapplied numeric change shows in bold until it is applied.
void setChangedMark(platform::NumericField* field, bool on) {
    QFont font = field->text()->font();
    font.setBold(on);
    field->text()->setFont(font);
}

// The field shows the value, kept as its committed value, with no change pending.
void showValue(platform::NumericField* field, double value) {
    panels::ShowValue(field, value);
    setChangedMark(field, false);
}

Point3d committedVector(const std::array<platform::NumericField*, 3>& fields, bool& ok) {
    Point3d v = {0, 0, 0};
    ok = panels::Committed(fields, v) && ok;
    for (platform::NumericField* field : fields) setChangedMark(field, false);
    return v;
}

}  // namespace

void Form1::buildLightPanel() {
    QVBoxLayout* content =
        panels::ScrollingContent(frmLight, frmLightDummy, "frmLightDummy", frmLightContainer, "frmLightContainer");
    frmLightDummy->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    content->addWidget(
        panels::VectorFrame("Location:", "txtLightLoc", "updwnLightLoc", fldLightLoc, frmLightContainer));
    content->addWidget(
        panels::VectorFrame("Direction:", "txtLightDir", "updwnLightDir", fldLightDir, frmLightContainer));

    auto* parameters = new QGroupBox("Parameters:", frmLightContainer);
    auto* grid = new QGridLayout(parameters);
    fldAmbient = panels::AddNumericField(grid, 0, "Ambient", "txtAmbient", "updwnAmbient", parameters);
    fldDiffuse = panels::AddNumericField(grid, 1, "Diffuse", "txtDiffuse", "updwnDiffuse", parameters);
    fldSpecular = panels::AddNumericField(grid, 2, "Specular", "txtSpecular", "updwnSpecular", parameters);
    fldShine = panels::AddNumericField(grid, 3, "Shine", "txtShine", "updwnShine", parameters);
    fldDistanceReach = panels::AddNumericField(grid, 4, "Distance Reach", "txtDistanceReach", "updwnDistanceReach", parameters);
    cmdLightColor = named(new QPushButton(parameters), "cmdLightColor");
    cmdLightColor->setToolTip("Colour");
    grid->addWidget(new QLabel("Color:", parameters), 5, 0);
    grid->addWidget(cmdLightColor, 5, 1);
    chkAutoUpdate = named(new QCheckBox("Auto Update", parameters), "chkAutoUpdate");
    chkLightOn = named(new QCheckBox("On", parameters), "chkLightOn");
    chkLightRaytracing = named(new QCheckBox("Ray tracing", parameters), "chkLightRaytracing");
    grid->addWidget(chkAutoUpdate, 6, 0, 1, 2);
    grid->addWidget(chkLightOn, 7, 0);
    grid->addWidget(chkLightRaytracing, 7, 1);
    content->addWidget(parameters);

    auto* type = new QGroupBox("Type", frmLightContainer);
    auto* typeLayout = new QGridLayout(type);
    opnLightTypeDefault = named(new QRadioButton("Default", type), "opnLightTypeDefault");
    opnLightTypeCustom = named(new QRadioButton("Custom", type), "opnLightTypeCustom");
    lstLightType = named(new QListWidget(type), "lstLightType");
    lstLightType->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const auto& item : kTypeItems) lstLightType->addItem(item.caption);
    lstLightType->setFixedHeight(lstLightType->sizeHintForRow(0) * 4 + 2 * lstLightType->frameWidth());
    auto* decay = new QGroupBox("Decay", type);
    auto* decayLayout = new QVBoxLayout(decay);
    opnDecalLinearly = named(new QRadioButton("Linearly", decay), "opnDecalLinearly");
    opnDecayAsSquare = named(new QRadioButton("As Square", decay), "opnDecayAsSquare");
    decayLayout->addWidget(opnDecalLinearly);
    decayLayout->addWidget(opnDecayAsSquare);
    typeLayout->addWidget(opnLightTypeDefault, 0, 0);
    typeLayout->addWidget(opnLightTypeCustom, 0, 1);
    typeLayout->addWidget(lstLightType, 1, 0);
    typeLayout->addWidget(decay, 1, 1);
    content->addWidget(type);

    auto* targetRow = new QHBoxLayout;
    cmbLightTraget = named(new QComboBox(frmLightContainer), "cmbLightTraget");
    targetRow->addWidget(new QLabel("Target:", frmLightContainer));
    targetRow->addWidget(cmbLightTraget, 1);
    content->addLayout(targetRow);
    content->addStretch(1);

    // As the window starts: the default type (whose list is then locked), decay
    // linear, the light on.
    opnLightTypeDefault->setChecked(true);
    lstLightType->setEnabled(false);
    opnDecalLinearly->setChecked(true);
    chkLightOn->setChecked(true);

    // Any new size of the window shows the content from its top again.
    auto* resized = new ModelGalleryInput(frmLightDummy);
    resized->Resize = [this] { LightScrollBar_Resize(); };
}

void Form1::connectLightPanel() {
    auto wire = [this](platform::NumericField* field, std::function<void()> apply,
                       const platform::NumberRange& range = platform::kLengths) {
        field->setRange(range);
        field->active = [this] { return !SettingLightParams; };
        field->apply = [this, apply = std::move(apply)] { platform::runTrapped(this, apply); };
        field->onChange = [this, field] {
            field->CopyTextToTag();
            if (!SettingLightParams && field->spinner()->Tag == field->text()->text()) setChangedMark(field, true);
        };
    };
    for (int i = 0; i < 3; ++i) {
        wire(fldLightLoc[static_cast<std::size_t>(i)], [this, i] { txtLightLoc_LostFocus(i); });
        wire(fldLightDir[static_cast<std::size_t>(i)], [this, i] { txtLightDir_LostFocus(i); });
    }
    wire(fldAmbient, [this] { txtAmbient_LostFocus(); }, platform::kFloatValues);
    wire(fldDiffuse, [this] { txtDiffuse_LostFocus(); }, platform::kFloatValues);
    wire(fldSpecular, [this] { txtSpecular_LostFocus(); }, platform::kFloatValues);
    wire(fldShine, [this] { txtShine_LostFocus(); }, platform::kFloatValues);
    wire(fldDistanceReach, [this] { txtDistanceReach_LostFocus(); });

    // Code that changes a control raises its handler as the user's change does;
    // the handlers themselves pass over the panel's own filling.
    auto trap = [this](void (Form1::*handler)()) {
        return platform::trapped(this, [this, handler] { (this->*handler)(); });
    };
    connect(lstLightType, &QListWidget::itemSelectionChanged, this, trap(&Form1::lstLightType_Click));
    auto onChecked = [&](QRadioButton* option, void (Form1::*handler)()) {
        connect(option, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked) platform::runTrapped(this, [this, handler] { (this->*handler)(); });
        });
    };
    onChecked(opnLightTypeDefault, &Form1::opnLightTypeDefault_Click);
    onChecked(opnLightTypeCustom, &Form1::opnLightTypeCustom_Click);
    onChecked(opnDecalLinearly, &Form1::opnDecalLinearly_Click);
    onChecked(opnDecayAsSquare, &Form1::opnDecayAsSquare_Click);
    connect(cmbLightTraget, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) platform::runTrapped(this, [this] { cmbLightTraget_Click(); });
    });
    connect(chkLightOn, &QCheckBox::stateChanged, this, trap(&Form1::chkLightOn_Click));
    connect(chkLightRaytracing, &QCheckBox::stateChanged, this, trap(&Form1::chkLightRaytracing_Click));
    connect(chkAutoUpdate, &QCheckBox::stateChanged, this, trap(&Form1::chkAutoUpdate_Click));
}

bool Form1::lightPanelLive() const { return !SettingLightParams && Globals::CurrSelEntityType == SelLight; }

// ---- filling the panel

void Form1::frmLight_SetParameters(int32_t Light) {
    // Nothing the fill changes is written back to the engine.
    QScopedValueRollback<bool> filling(SettingLightParams, true);
    {
        QScopedValueRollback<bool> typing(SettingLightType, true);
        cmbLightTraget_Populate(Light);
        const int32_t type = OMBREL_light_get_type_of_light(Light);
        lstLightType_UnselectAll();
        for (int i = 0; i < lstLightType->count(); ++i)
            if (type & kTypeItems[i].flag) lstLightType->item(i)->setSelected(true);
        if (type & kLinear) opnDecalLinearly->setChecked(true);
        if (type & kSquare) opnDecayAsSquare->setChecked(true);
        // "Default" only for the default type; any other type is a custom one,
        // edited in the list.
        const bool isDefault = type == kDefaultType;
        (isDefault ? opnLightTypeDefault : opnLightTypeCustom)->setChecked(true);
        lstLightType->setEnabled(!isDefault);
    }
    Point3d loc = {0, 0, 0}, dir = {0, 0, 0};
    OMBREL_light_get_location(Light, loc.data());
    OMBREL_light_get_direction(Light, dir.data());
    for (std::size_t i = 0; i < 3; ++i) {
        showValue(fldLightLoc[i], loc[i]);
        showValue(fldLightDir[i], dir[i]);
    }
    uint8_t rgb[3] = {0, 0, 0};
    OMBREL_light_get_color(Light, rgb);
    setBackColor(cmdLightColor, platform::rgb(rgb[0], rgb[1], rgb[2]));
    int32_t autoUpdate = 0;
    chkAutoUpdate->setChecked(OMBREL_light_is_activated_before_render(Light, &autoUpdate) == 1);
    showValue(fldAmbient, OMBREL_light_get_ambient(Light));
    showValue(fldDiffuse, OMBREL_light_get_diffuse(Light));
    showValue(fldSpecular, OMBREL_light_get_specular(Light));
    showValue(fldShine, OMBREL_light_get_specular_shining(Light));
    showValue(fldDistanceReach, OMBREL_light_get_distance_reach(Light));
    chkLightOn->setChecked(OMBREL_light_is_disabled(Light) != 1);
    chkLightRaytracing->setChecked(OMBREL_light_is_ray_tracing(Light) == 1);
}

void Form1::cmbLightTraget_Populate(int32_t Light) {
    using namespace Globals;
    QScopedValueRollback<bool> filling(SettingLightParams, true);
    cmbLightTraget->clear();
    // Each entry carries its group, so groups of the same name stay apart.
    cmbLightTraget->addItem("Whole World", 0);
    for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g))
        if (OMBREL_group_get_father_group(g) != 0) cmbLightTraget->addItem(QString::fromStdString(GetEntityName(g)), g);
    const int32_t target = OMBREL_light_get_entity_to_light(Light);
    int index = 0;
    if (target != 0 && target != RootGrp && !GetEntityName(target).empty())
        index = std::max(0, cmbLightTraget->findData(target));
    cmbLightTraget->setCurrentIndex(index);
    cmbLightTraget->setToolTip(cmbLightTraget->currentText());
}

void Form1::lstLightType_UnselectAll() {
    for (int i = 0; i < lstLightType->count(); ++i) lstLightType->item(i)->setSelected(false);
}

// ---- the type

void Form1::lstLightType_Click() {
    using namespace Globals;
    if (SettingLightType || !lightPanelLive()) return;
    int32_t type = 0;
    for (int i = 0; i < lstLightType->count(); ++i)
        if (lstLightType->item(i)->isSelected()) type |= kTypeItems[i].flag;
    // The marker is rebuilt in the shape of the type on every change.
    if (lstLightType->item(kDirectionalItem)->isSelected())
        SceneLights->SwitchToDirectional(CurrSelEntityHandle);
    else
        SceneLights->SwitchToOmni(CurrSelEntityHandle);
    type |= opnDecalLinearly->isChecked() ? kLinear : kSquare;
    OMBREL_light_set_type_of_light(CurrSelEntityHandle, type);
    ActivateSelLight();
}

void Form1::opnLightTypeDefault_Click() {
    if (SettingLightParams) return;
    {
        QScopedValueRollback<bool> typing(SettingLightType, true);
        for (int i = 0; i < lstLightType->count(); ++i) lstLightType->item(i)->setSelected(i != kDirectionalItem);
        opnDecalLinearly->setChecked(true);
        lstLightType->setEnabled(false);
    }
    lstLightType_Click();
}

void Form1::opnLightTypeCustom_Click() { lstLightType->setEnabled(true); }

void Form1::opnDecalLinearly_Click() { lstLightType_Click(); }

void Form1::opnDecayAsSquare_Click() {
    if (SettingLightParams) return;
    lstLightType_Click();
    opnLightTypeCustom->setChecked(true);
}

// ---- target and switches

void Form1::cmbLightTraget_Change() {
    using namespace Globals;
    if (!lightPanelLive()) return;
    int32_t target = cmbLightTraget->currentData().toInt();
    if (target == 0) target = RootGrp;
    OMBREL_light_set_entity_to_light(CurrSelEntityHandle, target);
    RemoveLightFromTopGroups();
    ActivateSelLight();
    cmbLightTraget->setToolTip(cmbLightTraget->currentText());
}

void Form1::cmbLightTraget_Click() { cmbLightTraget_Change(); }

void Form1::RemoveLightFromTopGroups() {
    for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g))
        if (OMBREL_group_get_father_group(g) == Globals::RootGrp) OMBREL_group_remove_light(g);
}

void Form1::chkLightOn_Click() {
    if (!lightPanelLive()) return;
    OMBREL_light_disable(Globals::CurrSelEntityHandle, chkLightOn->isChecked() ? 0 : 1);
    Globals::ActivateSelLight();
}

void Form1::chkLightRaytracing_Click() {
    if (!lightPanelLive()) return;
    OMBREL_light_set_ray_tracing(Globals::CurrSelEntityHandle, chkLightRaytracing->isChecked() ? 1 : 0);
    Globals::ActivateSelLight();
}

void Form1::chkAutoUpdate_Click() {
    if (!lightPanelLive()) return;
    // The box's value as the engine keeps it: 0 clear, 1 ticked, 2 greyed.
    const Qt::CheckState state = chkAutoUpdate->checkState();
    const int32_t value = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
    OMBREL_light_activate_before_each_render(Globals::CurrSelEntityHandle, value, 0);
}

// ---- the numeric fields' apply steps

void Form1::txtLightLoc_LostFocus(int) {
    using namespace Globals;
    if (!lightPanelLive()) return;
    bool ok = true;
    const Point3d loc = committedVector(fldLightLoc, ok);
    if (!ok) return;
    SceneLights->SetLocation(CurrSelEntityHandle, loc);
    ActivateSelLight();
}

void Form1::txtLightDir_LostFocus(int) {
    using namespace Globals;
    if (!lightPanelLive()) return;
    const int32_t light = CurrSelEntityHandle;
    bool ok = true;
    const Point3d typed = committedVector(fldLightDir, ok);
    // A zero direction is none: the light keeps its own, which the fields show again.
    if (ok && std::hypot(typed[0], typed[1], typed[2]) > 0) OMBREL_light_set_direction(light, typed.data());
    Point3d dir = {0, 0, 0};
    OMBREL_light_get_direction(light, dir.data());
    for (std::size_t i = 0; i < 3; ++i) showValue(fldLightDir[i], dir[i]);
    SceneLights->SetDirection(light, dir);
    ActivateSelLight();
}

namespace {

// Applies one scalar field's committed value to the selected light.
void applyScalar(platform::NumericField* field, int32_t (*setter)(int32_t, double)) {
    setChangedMark(field, false);
    if (panels::ApplyCommitted(field, setter, Globals::CurrSelEntityHandle)) Globals::ActivateSelLight();
}

}  // namespace

void Form1::txtAmbient_LostFocus() {
    if (lightPanelLive()) applyScalar(fldAmbient, OMBREL_light_set_ambient);
}

void Form1::txtDiffuse_LostFocus() {
    if (lightPanelLive()) applyScalar(fldDiffuse, OMBREL_light_set_diffuse);
}

void Form1::txtSpecular_LostFocus() {
    if (lightPanelLive()) applyScalar(fldSpecular, OMBREL_light_set_specular);
}

void Form1::txtShine_LostFocus() {
    if (lightPanelLive()) applyScalar(fldShine, OMBREL_light_set_specular_shining);
}

void Form1::txtDistanceReach_LostFocus() {
    if (lightPanelLive()) applyScalar(fldDistanceReach, OMBREL_light_set_distance_reach);
}

// ---- layout and scroll bar: the scroll area is the window, its bar the bar

void Form1::frmLight_Resize() {
    // The page's layout fits the frame to the tab; its own layout follows now.
    if (frmLight && frmLight->layout()) frmLight->layout()->activate();
}

void Form1::LightScrollBar_Resize() {
    if (frmLightDummy) frmLightDummy->verticalScrollBar()->setValue(0);
}

void Form1::LightScrollBarVisibility(bool Visible) {
    // Shown, the bar is there only while the content is taller than the window.
    frmLightDummy->setVerticalScrollBarPolicy(Visible ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void Form1::SetLightScrollBar() {
    LightScrollBar_Resize();
    LightScrollBarVisibility(true);
}
