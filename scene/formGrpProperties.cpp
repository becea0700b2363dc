#include "formGrpProperties.h"

#include "core/BlendingFilters.h"
#include "core/BoundingBox.h"
#include "core/CoreTypes.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/SelectionChange.h"
#include "core/StringProcedures.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"

#include "ombrel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kDimensionNames[3] = {"Depth", "Width", "Height"};

QPushButton* button(QWidget* owner, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), owner);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

bool readNumber(const QLineEdit* field, double& value) { return platform::HoldsNumber(field, value); }

}  // namespace

formGrpProperties::formGrpProperties(QWidget* owner) : QDialog(owner), group_(Globals::CurrSelEntityHandle) {
    setObjectName(QStringLiteral("formGrpProperties"));
    setWindowTitle(QStringLiteral("Group Properties."));
    setModal(true);
    auto* grid = new QGridLayout;

    txtGrpName = new QLineEdit(this);
    txtGrpName->setObjectName(QStringLiteral("txtGrpName"));
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 0, 0);
    grid->addWidget(txtGrpName, 0, 1, 1, 3);
    chkGrpDyn = new QCheckBox(QStringLiteral("Dynamic"), this);
    chkGrpDyn->setObjectName(QStringLiteral("chkGrpDyn"));
    grid->addWidget(chkGrpDyn, 1, 1);

    for (int i = 0; i < 3; ++i) {
        // The dimensions are typed only: no spinner steps them.
        auto* field = new platform::NumericField(this);
        field->setRange(platform::kLengths);
        field->spinner()->setVisible(false);
        field->text()->setObjectName(QStringLiteral("txtGrpDim(%1)").arg(i));
        fldGrpDim_[static_cast<std::size_t>(i)] = field;
        txtGrpDim[static_cast<std::size_t>(i)] = field->text();
        grid->addWidget(new QLabel(QString::fromLatin1(kDimensionNames[i]), this), 2, i + 1);
        grid->addWidget(field, 3, i + 1);
    }

    cmbPolFilter = new QComboBox(this);
    cmbPolFilter->setObjectName(QStringLiteral("cmbPolFilter"));
    grid->addWidget(new QLabel(QStringLiteral("Filter Glass"), this), 4, 0);
    grid->addWidget(cmbPolFilter, 4, 1, 1, 3);

    // Nothing is copied while typing; the value is limited to 0..100 when applied.
    fldPolLightDimu_ = new platform::NumericField(platform::NumericField::Options{false, 1, false, true}, this);
    txtPolLightDimu = fldPolLightDimu_->text();
    updwnPolLightDimu = fldPolLightDimu_->spinner();
    txtPolLightDimu->setObjectName(QStringLiteral("txtPolLightDimu"));
    updwnPolLightDimu->setObjectName(QStringLiteral("updwnPolLightDimu"));
    updwnPolLightDimu->Min = 0;
    updwnPolLightDimu->Max = 100;
    grid->addWidget(new QLabel(QStringLiteral("Light Diminution %"), this), 5, 0);
    grid->addWidget(fldPolLightDimu_, 5, 1);

    cmdEditChase = button(this, "cmdEditChase", "Edit Chase");
    cmdOk = button(this, "cmdOk", "&Ok");
    cmdApply = button(this, "cmdApply", "&Apply");
    cmdCancel = button(this, "cmdCancel", "&Cancel");
    grid->addWidget(cmdEditChase, 5, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {cmdOk, cmdApply, cmdCancel}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    auto trapped = [this](void (formGrpProperties::*handler)()) {
        return [this, handler] { platform::runTrapped(this, [this, handler] { (this->*handler)(); }); };
    };
    connect(txtGrpName, &QLineEdit::textChanged, this, [this] { touched(nameChanged_); });
    connect(chkGrpDyn, &QCheckBox::clicked, this, [this] { touched(dynamicChanged_); });
    for (int i = 0; i < 3; ++i)
        connect(txtGrpDim[static_cast<std::size_t>(i)], &QLineEdit::textChanged, this,
                [this, i] { touched(dimChanged_[static_cast<std::size_t>(i)]); });
    connect(cmbPolFilter, &QComboBox::currentIndexChanged, this, [this](int index) {
        // A text that is not in the table keeps the code as it was.
        if (index >= 0 && index < static_cast<int>(core::BlendingFilters.size()))
            PolFilterCode = core::BlendingFilters[static_cast<std::size_t>(index)].code;
        if (!loading_) cmdApply->setEnabled(true);
    });
    // Choosing an entry, even the one shown, asks for it on every polygon.
    connect(cmbPolFilter, &QComboBox::activated, this, [this] { touched(filterChanged_); });
    connect(txtPolLightDimu, &QLineEdit::textChanged, this, [this] { touched(dimuChanged_); });
    fldPolLightDimu_->apply = trapped(&formGrpProperties::txtPolLightDimu_LostFocus);
    fldPolLightDimu_->onSpinnerChange = trapped(&formGrpProperties::updwnPolLightDimu_Change);
    connect(cmdApply, &QPushButton::clicked, this, trapped(&formGrpProperties::cmdApply_Click));
    connect(cmdOk, &QPushButton::clicked, this, trapped(&formGrpProperties::cmdOk_Click));
    connect(cmdCancel, &QPushButton::clicked, this, trapped(&formGrpProperties::cmdCancel_Click));
    connect(cmdEditChase, &QPushButton::clicked, this, trapped(&formGrpProperties::cmdEditChase_Click));
}

formGrpProperties::~formGrpProperties() = default;

void formGrpProperties::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (loaded_) return;
    loaded_ = true;
    platform::runTrapped(this, [this] { Form_Load(); });
}

void formGrpProperties::touched(bool& flag) {
    if (loading_) return;
    flag = true;
    cmdApply->setEnabled(true);
}

// ---- loading

void formGrpProperties::Form_Load() {
    loading_ = true;
    txtGrpName->setText(QString::fromStdString(Globals::GetEntityName(group_)));
    chkGrpDyn->setChecked(OMBREL_group_is_static(group_) != 1);
    // The polygon values shown are the first polygon's; a group without polygons shows 0.
    firstPolygon_ = group_ != 0 ? OMBREL_group_get_first_polygon(group_) : 0;
    const double dimu = firstPolygon_ != 0 ? OMBREL_polygon_get_light_diminution(firstPolygon_) : 0;
    txtPolLightDimu->setText(platform::NumberText(dimu));
    updwnPolLightDimu->setValue(static_cast<int>(std::lround(std::clamp(dimu, -1e9, 1e9))));
    cmbPolFilter_Fill();
    cmbPolFilter_SetAccordingToSelPol();
    showDimensions();
    // The only way to edit a chase is the chase dialog; without one the button stays off.
    cmdEditChase->setEnabled(static_cast<bool>(core::windowHooks().showChaseDialog));
    loading_ = false;
    cmdApply->setEnabled(false);
}

void formGrpProperties::showDimensions() {
    double dims[3] = {0, 0, 0};
    OMBREL_group_get_dimensions(group_, dims);
    for (int i = 0; i < 3; ++i) txtGrpDim[static_cast<std::size_t>(i)]->setText(platform::NumberText(dims[i]));
}

void formGrpProperties::cmbPolFilter_Fill() {
    cmbPolFilter->clear();
    for (const core::BlendingFilter& f : core::BlendingFilters) cmbPolFilter->addItem(QString::fromLatin1(f.text));
    cmbPolFilter->setCurrentText(QStringLiteral("Disable Blending"));
}

void formGrpProperties::cmbPolFilter_SetAccordingToSelPol() {
    if (firstPolygon_ == 0) return;
    // A code not in the list leaves the entry shown as it is.
    if (const auto index = core::BlendingFilterIndex(OMBREL_polygon_get_translucent(firstPolygon_) & 0xFF))
        cmbPolFilter->setCurrentIndex(*index);
}

// ---- the light diminution field

void formGrpProperties::txtPolLightDimu_LostFocus() {
    double value = 0;
    if (!readNumber(txtPolLightDimu, value)) return;
    value = std::clamp(value, 0.0, 100.0);
    updwnPolLightDimu->setValue(static_cast<int>(std::lround(value)));
}

void formGrpProperties::updwnPolLightDimu_Change() {
    if (loading_) return;
    txtPolLightDimu->setText(QString::number(updwnPolLightDimu->Value()));
}

// ---- validation and applying

bool formGrpProperties::refuse(const char* text, QWidget* field) {
    platform::msgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Information);
    // A typed number that is none gives way to what the edit started from.
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        if (platform::TypedNumber* typed = platform::TypedNumberOf(edit)) typed->Settle();
    field->setFocus();
    return false;
}

bool formGrpProperties::AllEntriesValid() {
    double value = 0;
    if (!readNumber(txtPolLightDimu, value)) return refuse("Invalid Parameter - Light Diminution.", txtPolLightDimu);
    double current[3] = {0, 0, 0};
    OMBREL_group_get_dimensions(group_, current);
    for (int i = 0; i < 3; ++i) {
        QLineEdit* field = txtGrpDim[static_cast<std::size_t>(i)];
        const std::string message = std::string("Invalid Parameter - ") + kDimensionNames[i];
        if (!readNumber(field, value)) return refuse(message.c_str(), field);
        // A size of 0 or less, a size the group does not have on that axis, or one
        // that is no scale factor of the size it has, is no scale the group can take.
        if (dimChanged_[static_cast<std::size_t>(i)] &&
            (value <= 0 || current[i] == 0 || !platform::kScaleFactors.contains(value / current[i])))
            return refuse(message.c_str(), field);
    }
    if (nameChanged_ && Globals::Trim(txtGrpName->text().toStdString()).empty())
        return refuse("Invalid Parameter - Name", txtGrpName);
    return true;
}

void formGrpProperties::cmdApply_Click() { applyChanges(); }

bool formGrpProperties::applyChanges() {
    using namespace Globals;
    if (group_ == 0) return true;
    // Typed values are limited as leaving the field would.
    txtPolLightDimu_LostFocus();
    if (!AllEntriesValid()) return false;
    cmdApply->setEnabled(false);
    const auto& h = core::windowHooks();

    if (nameChanged_) {
        const std::string name = Trim(txtGrpName->text().toStdString());
        OMBREL_group_set_name(group_, name.c_str());
        if (h.setEntityNodeText) h.setEntityNodeText(SelGroup, group_, name);
        if (CurrSelEntityType == SelGroup && CurrSelEntityHandle == group_)
            core::callHook(h.setEntityNameField, SelGroup, name);
    }
    if (dynamicChanged_) {
        if (chkGrpDyn->isChecked())
            OMBREL_group_set_dynamic(group_);
        else
            OMBREL_group_set_static(group_);
    }
    // A group without polygons has no polygon property to write.
    if (firstPolygon_ != 0) {
        double dimu = 0;
        if (dimuChanged_ && readNumber(txtPolLightDimu, dimu)) SetGroupLightDiminution(group_, dimu);
        if (filterChanged_) SetGroupTranslucency(group_, PolFilterCode);
    }
    double current[3] = {0, 0, 0};
    OMBREL_group_get_dimensions(group_, current);
    double factor[3] = {1, 1, 1};
    for (int i = 0; i < 3; ++i) {
        double wanted = 0;
        if (dimChanged_[static_cast<std::size_t>(i)] && readNumber(txtGrpDim[static_cast<std::size_t>(i)], wanted))
            factor[i] = wanted / current[i];
    }
    if (factor[0] != 1 || factor[1] != 1 || factor[2] != 1) {
        OMBREL_group_scale(group_, 0, factor[0], factor[1], factor[2]);
        if (SelGrpBndBox) SelGrpBndBox->Initialize(group_);
    }

    nameChanged_ = dynamicChanged_ = filterChanged_ = dimuChanged_ = false;
    dimChanged_ = {};
    loading_ = true;
    showDimensions();
    loading_ = false;
    UpdateCameras();
    ThingsToDoOnSelectedEntityChange();
    return true;
}

void formGrpProperties::cmdOk_Click() {
    if (applyChanges()) close();
}

void formGrpProperties::cmdCancel_Click() { close(); }

void formGrpProperties::cmdEditChase_Click() {
    const auto& show = core::windowHooks().showChaseDialog;
    if (!show) return;
    show(this);
    // The chase dialog may have made the group dynamic: show what the engine holds.
    const bool dynamic = OMBREL_group_is_static(group_) != 1;
    if (dynamic != chkGrpDyn->isChecked()) {
        chkGrpDyn->setChecked(dynamic);
        cmdApply->setEnabled(true);
    }
}

namespace scene {

void ShowGrpProperties(QWidget* owner) {
    formGrpProperties dialog(owner);
    platform::showModal(dialog);
}

}  // namespace scene
