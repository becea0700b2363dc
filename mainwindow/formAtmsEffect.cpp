#include "formAtmsEffect.h"

#include "platform/NumericField.h"
#include "platform/colour.h"
#include "platform/error_trap.h"
#include "platform/key_state.h"
#include "platform/prompts.h"
#include "platform/virtual_keys.h"
#include "textures/PicturePreview.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/ViewRedraw.h"

#include "ombrel.h"

#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr const char* kShiftTip = "Keep Shift pressed to double the rate of change.";
constexpr int kTitleBarAllowance = 120;  // pixels of a title bar's icon and buttons

std::array<int32_t, 3> engineFogColour() {
    std::array<int32_t, 3> rgb{};
    OMBREL_engine_get_atmospheric_effect(&rgb[0], &rgb[1], &rgb[2]);
    return rgb;
}

}  // namespace

formAtmsEffect::formAtmsEffect(ColourDialog chooseColour, QWidget* owner)
    : QDialog(owner), chooseColour_(std::move(chooseColour)) {
    setObjectName(QStringLiteral("formAtmsEffect"));
    setWindowTitle(QStringLiteral("Set Fog Parameters."));
    setModal(true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(Frame1);
    Label1 = new QLabel(QStringLiteral("Color"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmdColor = new QPushButton(Frame1);
    cmdColor->setObjectName(QStringLiteral("cmdColor"));
    cmdColor->setAutoDefault(false);
    cmdColor->setMinimumWidth(48);
    Label3 = new QLabel(QStringLiteral("Intensity"), Frame1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setToolTip(QString::fromLatin1(kShiftTip));
    updwnIntensity = new platform::UpDown(Frame1);
    updwnIntensity->setObjectName(QStringLiteral("updwnIntensity"));
    updwnIntensity->setToolTip(QString::fromLatin1(kShiftTip));
    updwnIntensity->Min = -10;
    updwnIntensity->Max = 10;
    updwnIntensity->Increment = 1;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(cmdColor, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(updwnIntensity, 1, 1, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    // Wide enough for the whole title beside the frame's icon and buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarAllowance);

    connect(cmdColor, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdColor_Click(); }));
    connect(updwnIntensity, &platform::UpDown::Change, this,
            platform::trapped(this, [this] { updwnIntensity_Change(); }));
    connect(updwnIntensity, &platform::UpDown::Released, this, [this] { updwnIntensity_MouseUp(); });

    platform::runTrapped(this, [this] { Form_Load(); });
}

formAtmsEffect::~formAtmsEffect() = default;

void formAtmsEffect::Form_Load() {
    const std::array<int32_t, 3> rgb = engineFogColour();
    textures::SetBackColour(*cmdColor, platform::rgb(rgb[0], rgb[1], rgb[2]));
    FogUndoRecord = ActionUndoRedo::New(ActChngFog);
    FogUndoRecord->ChngFog->SetOldFogValues(rgb, OMBREL_engine_get_atmospheric_effect_intensity());
}

void formAtmsEffect::cmdColor_Click() {
    const std::array<int32_t, 3> fog = engineFogColour();
    const std::optional<int32_t> chosen = chooseColour_ ? chooseColour_(platform::rgb(fog[0], fog[1], fog[2])) : std::nullopt;
    if (!chosen) return;  // cancelled: nothing changes, nothing is said
    textures::SetBackColour(*cmdColor, *chosen);
    OMBREL_engine_set_atmospheric_effect(platform::redOf(*chosen), platform::greenOf(*chosen),
                                         platform::blueOf(*chosen));
    UpdateCameras();
}

void formAtmsEffect::updwnIntensity_Change() {
    const int step = updwnIntensity->Value();
    if (step == 0) return;  // the rest after a release
    const double rate = platform::isKeyHeld(platform::vk::Shift) ? ShiftRate : Rate;
    double intensity = OMBREL_engine_get_atmospheric_effect_intensity() + step * rate;
    if (intensity < 0) intensity = 0;
    OMBREL_engine_set_atmospheric_effect_intensity(intensity);
    UpdateCameras();
}

void formAtmsEffect::updwnIntensity_MouseUp() { updwnIntensity->setValue(0); }

void formAtmsEffect::Form_Unload() {
    if (!FogUndoRecord) return;  // the opening failed before the record was begun
    FogUndoRecord->ChngFog->SetNewFogValues(engineFogColour(), OMBREL_engine_get_atmospheric_effect_intensity());
    // A visit that changed nothing is not a step: it would only push an older
    // record (perhaps a deletion) out of the short history.
    if (!FogUndoRecord->ChngFog->Changed()) return;
    undo::Push(std::move(FogUndoRecord));
}

void formAtmsEffect::done(int result) {
    if (!unloaded_) {
        unloaded_ = true;
        updwnIntensity->release();
        platform::runTrapped(this, [this] { Form_Unload(); });
    }
    QDialog::done(result);
}

void formAtmsEffect::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace mainwindow {

void ShowAtmosphereWindow(QWidget* owner, bool worldLoaded, formAtmsEffect::ColourDialog chooseColour) {
    if (!worldLoaded) return;
    formAtmsEffect dialog(std::move(chooseColour), owner);
    platform::showModal(dialog);
}

}  // namespace mainwindow
