#include "formCamChaseParams.h"

#include "core/CoreTypes.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/ObjectSelection.h"
#include "core/StringProcedures.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"

#include "ombrel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr const char* kNoChase = "NO_CHASE";
constexpr const char* kNoTrack = "NO_TRACK";
constexpr int kNameLength = 255;

bool isCamera() { return Globals::CurrSelEntityType == SelCamera; }
bool isGroup() { return Globals::CurrSelEntityType == SelGroup; }

// The camera's or the group's setter for the selection; any other kind: nothing.
template <class Setter, class Value>
void setForSelection(Setter camera, Setter group, Value value) {
    if (isCamera()) camera(Globals::CurrSelEntityHandle, value);
    if (isGroup()) group(Globals::CurrSelEntityHandle, value);
}

std::string nameToChase(int32_t entity) {
    std::string buffer(kNameLength + 1, '\0');
    OMBREL_entity_get_name_to_chase(entity, buffer.data(), kNameLength);
    return Globals::StripAtNull(buffer);
}

// Selects the entry of that text; a text the list lacks is added first, so the
// list shows what the engine holds and Apply writes it back unchanged.
void selectEntry(QComboBox* list, const std::string& text) {
    const QString entry = QString::fromStdString(text);
    int index = list->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        list->addItem(entry);
        index = list->count() - 1;
    }
    list->setCurrentIndex(index);
}

double tagOf(const platform::NumericField* field) {
    double value = 0;
    platform::ReadNumber(field->spinner()->Tag, value);
    return value;
}

std::array<double, 3> tagsOf(const std::array<platform::NumericField*, 3>& fields) {
    return {tagOf(fields[0]), tagOf(fields[1]), tagOf(fields[2])};
}

// The list's text as a name for the engine: its "none" entry is no name.
std::string chosenName(const QComboBox* list, const char* none) {
    const std::string text = list->currentText().toStdString();
    return text == none ? std::string() : text;
}

QGroupBox* frame(const char* name, const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel* label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

}  // namespace

formCamChaseParams::formCamChaseParams(std::function<void()> makeGroupDynamic, QWidget* owner)
    : QDialog(owner), makeGroupDynamic_(std::move(makeGroupDynamic)) {
    setObjectName(QStringLiteral("formCamChaseParams"));
    setWindowTitle(QStringLiteral("Edit Chase for: "));
    setModal(true);

    frmCamChase = frame("frmCamChase", QString(), this);
    auto* outer = new QVBoxLayout(frmCamChase);
    auto* typeRow = new QHBoxLayout;
    cmbChaseType = new QComboBox(frmCamChase);
    cmbChaseType->setObjectName(QStringLiteral("cmbChaseType"));
    typeRow->addWidget(label(QStringLiteral("Type"), frmCamChase));
    typeRow->addWidget(cmbChaseType, 1);
    outer->addLayout(typeRow);

    // The object frame.
    frmLocPrcFlex = frame("frmLocPrcFlex", QString(), frmCamChase);
    auto* objectGrid = new QGridLayout(frmLocPrcFlex);
    cmbCamChaseCamOrObj = new QComboBox(frmLocPrcFlex);
    cmbCamChaseCamOrObj->setObjectName(QStringLiteral("cmbCamChaseCamOrObj"));
    lblDistance = label(QStringLiteral("Distance:"), frmLocPrcFlex);
    lblDistance->setObjectName(QStringLiteral("lblDistance"));
    lblSoftness = label(QStringLiteral("Softness:"), frmLocPrcFlex);
    lblSoftness->setObjectName(QStringLiteral("lblSoftness"));
    fldDistance = addField(frmLocPrcFlex, "Distance", 1, "0", platform::kLengths);
    fldSoftness = addField(frmLocPrcFlex, "Softness", 0.01, "0.1");
    objectGrid->addWidget(label(QStringLiteral("Chase"), frmLocPrcFlex), 0, 0);
    objectGrid->addWidget(cmbCamChaseCamOrObj, 0, 1, 1, 3);
    objectGrid->addWidget(lblDistance, 1, 0);
    objectGrid->addWidget(fldDistance, 1, 1);
    objectGrid->addWidget(lblSoftness, 2, 0);
    objectGrid->addWidget(fldSoftness, 2, 1);
    const char* offsetLabels[] = {"Offset X", "Offset Y", "Offset Z"};
    for (std::size_t i = 0; i < 3; ++i) {
        fldOffset[i] = addField(frmLocPrcFlex, "Offset", 1, "0", platform::kLengths);
        fldOffset[i]->text()->setObjectName(QStringLiteral("txtOffset(%1)").arg(i));
        fldOffset[i]->spinner()->setObjectName(QStringLiteral("updwnOffset(%1)").arg(i));
        objectGrid->addWidget(label(QString::fromLatin1(offsetLabels[i]), frmLocPrcFlex), static_cast<int>(i) + 1, 2);
        objectGrid->addWidget(fldOffset[i], static_cast<int>(i) + 1, 3);
    }

    // The track frame.
    frmTrack = frame("frmTrack", QString(), frmCamChase);
    auto* trackGrid = new QGridLayout(frmTrack);
    cmbTrackToChase = new QComboBox(frmTrack);
    cmbTrackToChase->setObjectName(QStringLiteral("cmbTrackToChase"));
    fldTrkSpeed = addField(frmTrack, "TrkSpeed", 1, "200");
    fldTrkSoftness = addField(frmTrack, "TrkSoftness", 0.01, "0.1");
    chkTrkFall = new QCheckBox(QStringLiteral("Fall"), frmTrack);
    chkTrkFall->setObjectName(QStringLiteral("chkTrkFall"));
    chkTrkFall->setVisible(false);
    trackGrid->addWidget(label(QStringLiteral("Chase"), frmTrack), 0, 0);
    trackGrid->addWidget(cmbTrackToChase, 0, 1, 1, 3);
    trackGrid->addWidget(label(QStringLiteral("Speed:"), frmTrack), 1, 0);
    trackGrid->addWidget(fldTrkSpeed, 1, 1);
    trackGrid->addWidget(label(QStringLiteral("Softness:"), frmTrack), 2, 0);
    trackGrid->addWidget(fldTrkSoftness, 2, 1);
    trackGrid->addWidget(chkTrkFall, 3, 0, 1, 2);
    for (std::size_t i = 0; i < 3; ++i) {
        fldTrackOffset[i] = addField(frmTrack, "TrackOffset", 1, "0", platform::kLengths);
        fldTrackOffset[i]->text()->setObjectName(QStringLiteral("txtTrackOffset(%1)").arg(i));
        fldTrackOffset[i]->spinner()->setObjectName(QStringLiteral("updwnTrackOffset(%1)").arg(i));
        trackGrid->addWidget(label(QString::fromLatin1(offsetLabels[i]), frmTrack), static_cast<int>(i) + 1, 2);
        trackGrid->addWidget(fldTrackOffset[i], static_cast<int>(i) + 1, 3);
    }

    // The physics frame.
    frmPhysics = frame("frmPhysics", QString(), frmCamChase);
    auto* physicsGrid = new QGridLayout(frmPhysics);
    auto* directionFrame = frame("frmForceDir", QStringLiteral("Force Direction:"), frmPhysics);
    auto* directionGrid = new QGridLayout(directionFrame);
    const char* axes[] = {"X", "Y", "Z"};
    for (std::size_t i = 0; i < 3; ++i) {
        fldForceDir[i] = addField(directionFrame, "ForceDir", 0.1, "0");
        fldForceDir[i]->text()->setObjectName(QStringLiteral("txtForceDir(%1)").arg(i));
        fldForceDir[i]->spinner()->setObjectName(QStringLiteral("updwnForceDir(%1)").arg(i));
        directionGrid->addWidget(label(QString::fromLatin1(axes[i]), directionFrame), static_cast<int>(i), 0);
        directionGrid->addWidget(fldForceDir[i], static_cast<int>(i), 1);
    }
    fldForceMag = addField(frmPhysics, "ForceMag", 1, "0");
    fldSpeed = addField(frmPhysics, "Speed", 1, "200");
    fldMaxSpeed = addField(frmPhysics, "MaxSpeed", 1, "200");
    fldElasticity = addField(frmPhysics, "Elasticity", 0.01, "0.5");
    fldFriction = addField(frmPhysics, "Friction", 0.01, "0");
    physicsGrid->addWidget(directionFrame, 0, 0, 5, 1);
    const std::pair<const char*, platform::NumericField*> rows[] = {{"Force Magnitude:", fldForceMag},
                                                                    {"Speed:", fldSpeed},
                                                                    {"Max Speed:", fldMaxSpeed},
                                                                    {"Elasticity:", fldElasticity},
                                                                    {"Friction:", fldFriction}};
    int row = 0;
    for (const auto& [text, field] : rows) {
        physicsGrid->addWidget(label(QString::fromLatin1(text), frmPhysics), row, 1);
        physicsGrid->addWidget(field, row++, 2);
    }

    // The three frames share one place; at most one shows.
    auto* frames = new QGridLayout;
    for (QGroupBox* f : {frmLocPrcFlex, frmTrack, frmPhysics}) {
        frames->addWidget(f, 0, 0);
        f->setVisible(false);
    }
    outer->addLayout(frames);
    outer->addStretch(1);

    auto* buttonsFrame = frame("frmButtons", QString(), this);
    auto* buttons = new QHBoxLayout(buttonsFrame);
    cmdOk = new QPushButton(QStringLiteral("&Ok"), buttonsFrame);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdApply = new QPushButton(QStringLiteral("&Apply"), buttonsFrame);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), buttonsFrame);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addStretch(1);
    for (QPushButton* b : {cmdOk, cmdApply, cmdCancel}) {
        // No default button: Enter in a field does nothing special.
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frmCamChase, 1);
    layout->addWidget(buttonsFrame);

    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdApply, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdApply_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmbChaseType, &QComboBox::activated, this, [this] { cmbChaseType_Click(); });
    connect(cmbCamChaseCamOrObj, &QComboBox::activated, this, [this] { cmbCamChaseCamOrObj_Click(); });
    connect(cmbTrackToChase, &QComboBox::activated, this, [this] { cmbTrackToChase_Click(); });
    connect(chkTrkFall, &QCheckBox::clicked, this, [this] { chkTrkFall_Click(); });

    platform::runTrapped(this, [this] { Form_Load(); });
}

platform::NumericField* formCamChaseParams::addField(QWidget* frame, const char* name, double step,
                                                     const char* initial, const platform::NumberRange& range) {
    platform::NumericField::Options options;
    options.applyOnSpinner = false;
    options.step = step;
    options.applyOnLeave = false;
    options.range = range;
    auto* field = new platform::NumericField(options, frame);
    field->text()->setObjectName(QStringLiteral("txt%1").arg(QString::fromLatin1(name)));
    field->spinner()->setObjectName(QStringLiteral("updwn%1").arg(QString::fromLatin1(name)));
    field->text()->setMinimumWidth(64);
    field->text()->setText(QString::fromLatin1(initial));
    // Tags start empty; a numeric edit becomes the value Apply writes.
    field->spinner()->Tag.clear();
    field->onChange = [this, field] {
        if (!field->HoldsValue()) return;
        field->spinner()->Tag = field->text()->text();
        cmdApply->setEnabled(true);
    };
    return field;
}

void formCamChaseParams::setField(platform::NumericField* field, double value) {
    field->text()->setText(platform::NumberText(value));
    field->spinner()->Tag = platform::NumberText(value);
}

// ---- opening

void formCamChaseParams::Form_Load() {
    frmChaseInitialSetup();
    SetfrmChase();
    setWindowTitle(QStringLiteral("Edit Chase for: ") +
                   QString::fromStdString(Globals::GetEntityName(Globals::CurrSelEntityHandle)));
    cmdApply->setEnabled(false);
}

void formCamChaseParams::frmChaseInitialSetup() {
    cmbChaseType->clear();
    for (const char* text : TypeTexts) cmbChaseType->addItem(QString::fromLatin1(text));
}

void formCamChaseParams::SetfrmChase() {
    HideAllFrames();
    if (!isCamera() && !isGroup()) {
        cmbChaseType->setCurrentIndex(0);
        platform::msgBox(
            "Program control is not supposed to come here. - Selected entity is nighter a group nor a camera.",
            platform::MsgButtons::OK, platform::MsgIcon::Critical);
        return;
    }
    cmbChaseType_HighlightChaseType(GetSelectedEntitiesChaseType());
}

int32_t formCamChaseParams::GetSelectedEntitiesChaseType() const {
    const int32_t entity = Globals::CurrSelEntityHandle;
    if (isCamera()) return OMBREL_camera_get_chase_type(entity);
    if (isGroup()) return OMBREL_group_get_chase_type(entity);
    return 0;
}

void formCamChaseParams::cmbChaseType_HighlightChaseType(int32_t ChaseType) {
    switch (ChaseType) {
    case OMBREL_CHASE_NONE: cmbChaseType->setCurrentIndex(0); break;
    case OMBREL_CHASE_LOCATION:
        cmbChaseType->setCurrentIndex(1);
        EnableDistance(false);
        EnableSoftness(false);
        frmLocPrcFlex->setVisible(true);
        cmbChaseCamOrObj_Populate();
        frmLocPrcFlex_Set_Offset();
        break;
    case OMBREL_CHASE_PRECISE:
        cmbChaseType->setCurrentIndex(2);
        EnableDistance(true);
        EnableSoftness(false);
        cmbChaseCamOrObj_Populate();
        frmLocPrcFlex_Set_Offset();
        frmLocPrcFlex_Set_Distance();
        frmLocPrcFlex->setVisible(true);
        break;
    case OMBREL_CHASE_FLEXIBLE:
        cmbChaseType->setCurrentIndex(3);
        EnableDistance(true);
        EnableSoftness(true);
        cmbChaseCamOrObj_Populate();
        frmLocPrcFlex_Set_Offset();
        frmLocPrcFlex_Set_Distance();
        frmLocPrcFlex_Set_Softness();
        frmLocPrcFlex->setVisible(true);
        break;
    case OMBREL_CHASE_PHYSICS:
        cmbChaseType->setCurrentIndex(6);
        frmPhysics_setParams();
        frmPhysics->setVisible(true);
        break;
    case OMBREL_CHASE_TRACK:
        cmbChaseType->setCurrentIndex(4);
        frmLocPrcFlex_SetChaseTrackParams();
        frmTrack->setVisible(true);
        chkTrkFall->setVisible(isGroup());
        break;
    case OMBREL_CHASE_TRACK_AIRPLANE:
        cmbChaseType->setCurrentIndex(5);
        frmLocPrcFlex_SetChaseTrackParams();
        frmTrack->setVisible(true);
        chkTrkFall->setVisible(false);
        break;
    default: cmbChaseType->setCurrentIndex(-1); break;
    }
}

void formCamChaseParams::HideAllFrames() {
    for (QGroupBox* f : {frmLocPrcFlex, frmTrack, frmPhysics}) f->setVisible(false);
}

void formCamChaseParams::EnableDistance(bool EnblDsblFlag) {
    lblDistance->setEnabled(EnblDsblFlag);
    fldDistance->setEnabled(EnblDsblFlag);
}

void formCamChaseParams::EnableSoftness(bool EnblDsblFlag) {
    lblSoftness->setEnabled(EnblDsblFlag);
    fldSoftness->setEnabled(EnblDsblFlag);
}

// ---- filling the frames

void formCamChaseParams::cmbChaseCamOrObj_Populate() {
    using namespace Globals;
    const int32_t self = CurrSelEntityHandle;
    cmbCamChaseCamOrObj->clear();
    cmbCamChaseCamOrObj->addItem(QString::fromLatin1(kNoChase));
    for (int32_t cam = OMBREL_camera_get_first_camera(); cam; cam = OMBREL_camera_get_next_camera(cam))
        if (OMBREL_camera_get_save_flag(cam) == 1 && cam != self)
            cmbCamChaseCamOrObj->addItem(QString::fromStdString(GetEntityName(cam)));
    // Only groups of the world: the root, the markers (fatherless) and groups
    // waiting in a deletion record (detached) are never chased.
    for (int32_t grp = OMBREL_group_get_first_group(); grp; grp = OMBREL_group_get_next(grp)) {
        if (grp == self || grp == RootGrp || OMBREL_group_is_static(grp) != 0) continue;
        if (GetTopMostFatherGrp(grp) != RootGrp) continue;
        cmbCamChaseCamOrObj->addItem(QString::fromStdString(GetEntityName(grp)));
    }
    const std::string chased = nameToChase(self);
    selectEntry(cmbCamChaseCamOrObj, chased.empty() ? std::string(kNoChase) : chased);
    cmbCamChaseCamOrObj->setToolTip(cmbCamChaseCamOrObj->currentText());
}

void formCamChaseParams::frmLocPrcFlex_Set_Offset() {
    std::array<double, 3> offset{};
    setForSelection(OMBREL_camera_get_chase_offset, OMBREL_group_get_chase_offset, offset.data());
    for (std::size_t i = 0; i < 3; ++i) setField(fldOffset[i], offset[i]);
}

void formCamChaseParams::frmLocPrcFlex_Set_Distance() {
    const int32_t entity = Globals::CurrSelEntityHandle;
    if (isCamera()) setField(fldDistance, OMBREL_camera_get_chase_distance(entity));
    if (isGroup()) setField(fldDistance, OMBREL_group_get_chase_distance(entity));
}

void formCamChaseParams::frmLocPrcFlex_Set_Softness() {
    const int32_t entity = Globals::CurrSelEntityHandle;
    if (isCamera()) setField(fldSoftness, OMBREL_camera_get_chase_softness(entity));
    if (isGroup()) setField(fldSoftness, OMBREL_group_get_chase_softness(entity));
}

void formCamChaseParams::frmLocPrcFlex_SetChaseTrackParams() {
    const int32_t entity = Globals::CurrSelEntityHandle;
    cmbTrackToChase->clear();
    cmbTrackToChase->addItem(QString::fromLatin1(kNoTrack));
    for (int32_t trk = OMBREL_track_get_first_track(); trk; trk = OMBREL_track_get_next(trk))
        cmbTrackToChase->addItem(QString::fromStdString(Globals::GetEntityName(trk)));
    const int32_t track = isCamera() ? OMBREL_camera_get_track_handle(entity) : OMBREL_group_get_track_handle(entity);
    selectEntry(cmbTrackToChase, track == 0 ? std::string(kNoTrack) : Globals::GetEntityName(track));

    std::array<double, 3> offset{};
    double speed = 0, softness = 0;
    if (isCamera()) {
        OMBREL_camera_get_track_offset(entity, offset.data());
        speed = OMBREL_camera_get_absolute_speed(entity);
        softness = OMBREL_camera_get_chase_softness(entity);
    } else {
        OMBREL_group_get_track_offset(entity, offset.data());
        speed = OMBREL_group_get_absolute_speed(entity);
        softness = OMBREL_group_get_chase_softness(entity);
    }
    for (std::size_t i = 0; i < 3; ++i) setField(fldTrackOffset[i], offset[i]);
    setField(fldTrkSoftness, softness);
    setField(fldTrkSpeed, speed);
    if (isGroup()) {
        int32_t falling = 0, value = 0;
        double height = 0;
        OMBREL_group_get_falling_from_track_params(entity, &falling, &height, &value);
        chkTrkFall->setChecked(falling == 1);
    }
}

void formCamChaseParams::frmPhysics_setParams() {
    const int32_t entity = Globals::CurrSelEntityHandle;
    std::array<double, 3> force{};
    double speed = 0, maxSpeed = 0, elasticity = 0, friction = 0;
    if (isCamera()) {
        OMBREL_camera_get_force(entity, force.data());
        speed = OMBREL_camera_get_absolute_speed(entity);
        maxSpeed = OMBREL_camera_get_max_speed(entity);
        elasticity = OMBREL_camera_get_elasticity(entity);
        friction = OMBREL_camera_get_friction(entity);
    } else {
        OMBREL_group_get_physics_force(entity, force.data());
        speed = OMBREL_group_get_absolute_speed(entity);
        maxSpeed = OMBREL_group_get_physics_maxspeed(entity);
        elasticity = OMBREL_group_get_physics_elasticity(entity);
        friction = OMBREL_group_get_physics_friction(entity);
    }
    const double magnitude = OMBREL_math_get_vector_length(force.data());
    if (magnitude != 0)
        for (double& c : force) c /= magnitude;
    setField(fldForceMag, magnitude);
    for (std::size_t i = 0; i < 3; ++i) setField(fldForceDir[i], force[i]);
    setField(fldSpeed, speed);
    setField(fldMaxSpeed, maxSpeed);
    setField(fldElasticity, elasticity);
    setField(fldFriction, friction);
}

// ---- picks

void formCamChaseParams::cmbChaseType_Click() {
    cmdApply->setEnabled(true);
    platform::runTrapped(this, [this] { cmbChaseType_Change(); });
}

void formCamChaseParams::cmbChaseType_Change() {
    HideAllFrames();
    const int index = cmbChaseType->currentIndex();
    if (index < 0 || index >= static_cast<int>(TypeCodes.size())) return;
    cmbChaseType_HighlightChaseType(TypeCodes[static_cast<std::size_t>(index)]);
}

void formCamChaseParams::cmbCamChaseCamOrObj_Click() {
    cmbCamChaseCamOrObj->setToolTip(cmbCamChaseCamOrObj->currentText());
    cmdApply->setEnabled(true);
}

void formCamChaseParams::cmbTrackToChase_Click() { cmdApply->setEnabled(true); }

void formCamChaseParams::chkTrkFall_Click() { cmdApply->setEnabled(true); }

// ---- writing

void formCamChaseParams::cmdApply_Click() {
    // Apply ends an edit in a field as leaving it does: what is no value gives way.
    for (platform::NumericField* field : findChildren<platform::NumericField*>()) field->Settle();
    cmdApply->setEnabled(false);
    const int index = cmbChaseType->currentIndex();
    if (index < 0 || index >= static_cast<int>(TypeCodes.size())) return;  // no type: nothing written
    const int32_t code = TypeCodes[static_cast<std::size_t>(index)];
    switch (code) {
    case OMBREL_CHASE_NONE: SetChaseType(0); break;
    case OMBREL_CHASE_LOCATION:
    case OMBREL_CHASE_PRECISE:
    case OMBREL_CHASE_FLEXIBLE: applyChase(code); break;
    case OMBREL_CHASE_TRACK:
    case OMBREL_CHASE_TRACK_AIRPLANE: applyTrack(code); break;
    case OMBREL_CHASE_PHYSICS: applyPhysics(); break;
    default: break;
    }
    if (isGroup() && code != 0 && makeGroupDynamic_) makeGroupDynamic_();
}

void formCamChaseParams::applyChase(int32_t code) {
    SetChaseType(code);
    SetNameToChase_ObjOrGrp(chosenName(cmbCamChaseCamOrObj, kNoChase));
    SetChaseOffset(tagsOf(fldOffset));
    if (code == OMBREL_CHASE_LOCATION) return;
    SetChaseDistance(tagOf(fldDistance));
    if (code == OMBREL_CHASE_PRECISE) return;
    SetSoftness(tagOf(fldSoftness));
}

void formCamChaseParams::applyTrack(int32_t code) {
    SetChaseType(code);
    SetTrackToChase(chosenName(cmbTrackToChase, kNoTrack));
    SetTrackOffset(tagsOf(fldTrackOffset));
    SetSpeed(tagOf(fldTrkSpeed));
    SetSoftness(tagOf(fldTrkSoftness));
    if (code != OMBREL_CHASE_TRACK || !isGroup()) return;
    const int32_t group = Globals::CurrSelEntityHandle;
    if (chkTrkFall->isChecked())
        OMBREL_group_set_falling_from_track(group, Globals::GetGroupDepth(group) / 2, 1);
    else
        OMBREL_group_unset_falling_from_track(group);
}

void formCamChaseParams::applyPhysics() {
    SetChaseType(OMBREL_CHASE_PHYSICS);
    SetPhysicForce(tagsOf(fldForceDir), tagOf(fldForceMag));
    SetSpeed(tagOf(fldSpeed));
    SetPhysicFriction(tagOf(fldFriction));
    SetPhysicElasticity(tagOf(fldElasticity));
    SetPhysicMaxSpeed(tagOf(fldMaxSpeed));
}

void formCamChaseParams::SetChaseOffset(const std::array<double, 3>& Offset) {
    setForSelection(OMBREL_camera_set_chase_offset, OMBREL_group_set_chase_offset, Offset.data());
}

void formCamChaseParams::SetChaseDistance(double Distance) {
    setForSelection(OMBREL_camera_set_chase_distance, OMBREL_group_set_chase_distance, Distance);
}

void formCamChaseParams::SetSoftness(double softness) {
    setForSelection(OMBREL_camera_set_chase_softness, OMBREL_group_set_chase_softness, softness);
}

void formCamChaseParams::SetChaseType(int32_t ChaseType) {
    setForSelection(OMBREL_camera_set_chase_type, OMBREL_group_set_chase_type, ChaseType);
}

void formCamChaseParams::SetNameToChase_ObjOrGrp(const std::string& NameToChase) {
    setForSelection(OMBREL_camera_set_name_to_chase, OMBREL_group_set_name_to_chase, NameToChase.c_str());
}

void formCamChaseParams::SetTrackToChase(const std::string& TrackToChase) {
    if (isCamera()) {
        const int32_t track = TrackToChase.empty() ? 0 : OMBREL_track_get_using_name(TrackToChase.c_str());
        OMBREL_camera_set_track(Globals::CurrSelEntityHandle, track);
    }
    if (isGroup()) OMBREL_group_set_track_name(Globals::CurrSelEntityHandle, TrackToChase.c_str());
}

void formCamChaseParams::SetTrackOffset(const std::array<double, 3>& TrackOffset) {
    setForSelection(OMBREL_camera_set_track_offset, OMBREL_group_set_track_offset, TrackOffset.data());
}

void formCamChaseParams::SetSpeed(double speed) {
    setForSelection(OMBREL_camera_set_absolute_speed, OMBREL_group_set_absolute_speed, speed);
}

void formCamChaseParams::SetPhysicForce(std::array<double, 3> ForceDir, double ForceMag) {
    const double length = OMBREL_math_get_vector_length(ForceDir.data());
    if (length != 0)
        for (double& c : ForceDir) c /= length;
    // A zero direction stays zero: no force whatever the magnitude.
    const std::array<double, 3> force = {ForceDir[0] * ForceMag, ForceDir[1] * ForceMag, ForceDir[2] * ForceMag};
    setForSelection(OMBREL_camera_set_force, OMBREL_group_set_physics_force, force.data());
}

void formCamChaseParams::SetPhysicFriction(double friction) {
    setForSelection(OMBREL_camera_set_friction, OMBREL_group_set_physics_friction, friction);
}

void formCamChaseParams::SetPhysicElasticity(double elasticity) {
    setForSelection(OMBREL_camera_set_elasticity, OMBREL_group_set_physics_elasticity, elasticity);
}

void formCamChaseParams::SetPhysicMaxSpeed(double MaxSpeed) {
    setForSelection(OMBREL_camera_set_max_speed, OMBREL_group_set_physics_maxspeed, MaxSpeed);
}

// ---- closing

void formCamChaseParams::cmdOk_Click() {
    // Written whether Apply is enabled or not; the dialog closes even when it failed.
    platform::runTrapped(this, [this] { cmdApply_Click(); });
    accept();
}

void formCamChaseParams::cmdCancel_Click() { reject(); }

void formCamChaseParams::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace mainwindow {

void ShowCamChaseParams(QWidget* owner, std::function<void()> makeGroupDynamic) {
    formCamChaseParams dialog(std::move(makeGroupDynamic), owner);
    platform::showModal(dialog);
}

}  // namespace mainwindow
