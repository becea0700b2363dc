// The chase dialog: how the selected camera or group chases another camera or
// group, follows a track or moves under a force. It reads the settings from the
// engine on opening and on every pick of a type, and writes those of the shown
// type on Apply or OK only; nothing is recorded for undo and the views are not
// redrawn (the editor never simulates a chase).
#pragma once

#include "platform/NumberEntry.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class NumericField;
}  // namespace platform

class formCamChaseParams : public QDialog {
public:
    // makeGroupDynamic: ticks the main window's "Dynamic" box and runs its click,
    // as Apply does for a group given a chase.
    explicit formCamChaseParams(std::function<void()> makeGroupDynamic, QWidget* owner = nullptr);

    // ---- public setters: each writes the current selection's setting (a camera's
    // or a group's); any other selection writes nothing.
    void SetChaseOffset(const std::array<double, 3>& Offset);
    void SetChaseDistance(double Distance);
    void SetSoftness(double softness);
    void SetChaseType(int32_t ChaseType);
    // "" is no object to chase.
    void SetNameToChase_ObjOrGrp(const std::string& NameToChase);
    // "" is no track.
    void SetTrackToChase(const std::string& TrackToChase);
    void SetTrackOffset(const std::array<double, 3>& TrackOffset);
    void SetSpeed(double speed);
    // The force is the direction made unit length times the magnitude; a zero
    // direction gives no force whatever the magnitude.
    void SetPhysicForce(std::array<double, 3> ForceDir, double ForceMag);
    void SetPhysicFriction(double friction);
    void SetPhysicElasticity(double elasticity);
    void SetPhysicMaxSpeed(double MaxSpeed);

    // ---- handlers
    void Form_Load();
    void cmdOk_Click();
    void cmdApply_Click();
    void cmdCancel_Click();
    // A pick by the user; Change shows the picked type read afresh from the engine.
    void cmbChaseType_Click();
    void cmbChaseType_Change();
    void cmbCamChaseCamOrObj_Click();
    void cmbTrackToChase_Click();
    void chkTrkFall_Click();

    // ---- controls
    QGroupBox* frmCamChase;
    QComboBox* cmbChaseType;
    QGroupBox *frmLocPrcFlex, *frmTrack, *frmPhysics;
    QComboBox* cmbCamChaseCamOrObj;
    QLabel *lblDistance, *lblSoftness;
    platform::NumericField *fldDistance, *fldSoftness;
    std::array<platform::NumericField*, 3> fldOffset{};
    QComboBox* cmbTrackToChase;
    platform::NumericField *fldTrkSpeed, *fldTrkSoftness;
    std::array<platform::NumericField*, 3> fldTrackOffset{};
    QCheckBox* chkTrkFall;
    std::array<platform::NumericField*, 3> fldForceDir{};
    platform::NumericField *fldForceMag, *fldSpeed, *fldMaxSpeed, *fldElasticity, *fldFriction;
    QPushButton *cmdOk, *cmdApply, *cmdCancel;

    // The list texts in list order, and their engine codes.
    static constexpr std::array<const char*, 7> TypeTexts = {
        "NO_CHASE", "CHASE_LOCATION", "CHASE_PRECISE", "CHASE_FLEXIBLE", "CHASE_TRACK", "TRACK_AIRPLANE",
        "CHASE_PHYSICS"};
    static constexpr std::array<int32_t, 7> TypeCodes = {0, 2, 3, 4, 135, 136, 9};

private:
    // Lengths (distance, offsets) or, by default, any value the engine keeps.
    platform::NumericField* addField(QWidget* frame, const char* name, double step, const char* initial,
                                     const platform::NumberRange& range = platform::kFloatValues);
    void frmChaseInitialSetup();
    void SetfrmChase();
    int32_t GetSelectedEntitiesChaseType() const;
    void cmbChaseType_HighlightChaseType(int32_t ChaseType);
    void frmPhysics_setParams();
    void frmLocPrcFlex_SetChaseTrackParams();
    void frmLocPrcFlex_Set_Distance();
    void frmLocPrcFlex_Set_Softness();
    void frmLocPrcFlex_Set_Offset();
    void EnableDistance(bool EnblDsblFlag);
    void EnableSoftness(bool EnblDsblFlag);
    void HideAllFrames();
    void cmbChaseCamOrObj_Populate();
    // Writes the settings of the object frame for code 2, 3 or 4.
    void applyChase(int32_t code);
    // Writes the settings of the track frame for code 135 or 136.
    void applyTrack(int32_t code);
    void applyPhysics();
    // A field's text then its spinner's Tag.
    static void setField(platform::NumericField* field, double value);

    std::function<void()> makeGroupDynamic_;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

namespace mainwindow {

// The chase dialog over owner for the current selection.
void ShowCamChaseParams(QWidget* owner, std::function<void()> makeGroupDynamic);

}  // namespace mainwindow
