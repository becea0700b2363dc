// The align dialog: lines the selection (a group, camera, light, or the groups,
// cameras and lights of a multiple selection) up with a target entity, axis by
// axis, as a live preview; Cancel puts everything back, OK records one ActionAlign.
#pragma once

#include "core/CoreTypes.h"
#include "undo/AlignAction.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

class formAlign : public QDialog {
    Q_OBJECT
public:
    enum Option { Minimum = 0, Center = 1, PivotPoint = 2, Maximum = 3 };

    explicit formAlign(QWidget* owner = nullptr);

    std::array<QCheckBox*, 3> chkCoordinate{};
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QGroupBox* Frame3;
    QGroupBox* Frame4;
    std::array<QRadioButton*, 4> opnCurrObj{};
    std::array<QRadioButton*, 4> opnTargetObj{};
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    void SetTargetEntity(int32_t kind, int32_t handle);

    // The handlers, each run inside the error trap by its connection.
    void Form_Load();
    void chkCoordinate_Click(int Index);
    void opnCurrObj_Click(int Index);
    void opnTargetObj_Click(int Index);
    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;

public:
    // Esc and the close box cancel the preview.
    void reject() override;

private:
    void Apply();
    // loc comes in as the entity's start location and leaves as its new one.
    void AlignOneAxis(Point3d& loc);
    // The source's world box now, and its centre with the entity back at start.
    void ReadBox(int32_t group, const Point3d& now, const Point3d& start);
    void trap(const std::function<void()>& body);
    int selected(const std::array<QRadioButton*, 4>& options) const;

    bool loaded_ = false;
    bool closing_ = false;
    Point3d IniLoc = {0, 0, 0};
    LocationList IniGrpLocs{0}, IniCamLocs{0}, IniLightLocs{0};
    int32_t TargetEntityType = 0;
    int32_t TargetEntityHandle = 0;
    Point3d CurrMin = {0, 0, 0}, CurrMax = {0, 0, 0};
    Point3d CurrCenter = {0, 0, 0};
    Point3d TargetMin = {0, 0, 0}, TargetMax = {0, 0, 0};
    Point3d TargetCenter = {0, 0, 0};
    Point3d TargetPivot = {0, 0, 0};
    Point3d CurrPivotOffset = {0, 0, 0};
    // What the first preview found, for the record (and Cancel) to give back exactly.
    undo::Placements startPlacements_;
    bool placementsRead_ = false;
};
