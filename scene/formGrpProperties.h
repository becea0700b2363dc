// The group properties dialog: the selected group's name, static or dynamic
// state, dimensions, and the blending filter and light diminution of all its
// polygons, applied straight to the engine (not recorded for undo). Apply and
// OK write only what the user changed, so the polygons' own values survive.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace platform {
class NumericField;
class UpDown;
}  // namespace platform

class formGrpProperties : public QDialog {
    Q_OBJECT
public:
    // For the group in CurrSelEntityHandle when it opens.
    explicit formGrpProperties(QWidget* owner = nullptr);
    ~formGrpProperties() override;

    QLineEdit* txtGrpName;
    QCheckBox* chkGrpDyn;
    // 0 depth, 1 width, 2 height: the engine's dimensions in its order.
    std::array<QLineEdit*, 3> txtGrpDim{};
    QComboBox* cmbPolFilter;
    QLineEdit* txtPolLightDimu;
    platform::UpDown* updwnPolLightDimu;
    QPushButton* cmdEditChase;
    QPushButton* cmdOk;
    QPushButton* cmdApply;
    QPushButton* cmdCancel;

    // The code of the filter shown in cmbPolFilter.
    int32_t PolFilterCode = 0;
    int32_t Group() const { return group_; }

    // The handlers.
    void Form_Load();
    void cmbPolFilter_Fill();
    void cmbPolFilter_SetAccordingToSelPol();
    void txtPolLightDimu_LostFocus();
    void updwnPolLightDimu_Change();
    bool AllEntriesValid();
    void cmdApply_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdEditChase_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Marks a field as changed by the user and enables Apply.
    void touched(bool& flag);
    void showDimensions();
    // Validates, then writes the changed fields; false when an entry was refused.
    bool applyChanges();
    bool refuse(const char* text, QWidget* field);

    int32_t group_ = 0;
    int32_t firstPolygon_ = 0;
    bool loading_ = false;
    bool loaded_ = false;
    bool nameChanged_ = false;
    bool dynamicChanged_ = false;
    bool filterChanged_ = false;
    bool dimuChanged_ = false;
    std::array<bool, 3> dimChanged_{};
    platform::NumericField* fldPolLightDimu_;
    std::array<platform::NumericField*, 3> fldGrpDim_{};
};

namespace scene {

// Shows the dialog modally over owner for the selected group.
void ShowGrpProperties(QWidget* owner);

}  // namespace scene
