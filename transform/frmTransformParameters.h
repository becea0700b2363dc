// The numeric transform dialog: moves, rotates or scales the selection by typed
// values while it is open, and records everything it did as one undo record when
// it closes. Open it with OpenTransformDialog.
#pragma once

#include "core/CoreTypes.h"
#include "undo/Placements.h"
#include "undo/RotationStep.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

class QGroupBox;
class QLineEdit;

namespace platform {
class NumericField;
class UpDown;
}  // namespace platform

class frmTransformParameters : public QDialog {
    Q_OBJECT
public:
    enum Transform : int32_t { MoveTransform = 0, RotateTransform = 1, ScaleTransform = 2 };

    explicit frmTransformParameters(QWidget* owner = nullptr);
    ~frmTransformParameters() override;

    int32_t TransformType = MoveTransform;

    QGroupBox* frmMove1;
    QGroupBox* frmMove2;
    QGroupBox* frmRotate1;
    QGroupBox* frmRotate2;
    QGroupBox* frmScale1;
    QGroupBox* frmScale2;
    // Rows 0 x, 1 y, 2 z.
    std::array<QLineEdit*, 3> txtAbsolute{}, txtOffset{}, txtWRotate{}, txtORotate{}, txtWScale{}, txtOScale{};
    std::array<platform::UpDown*, 3> updwn{}, updwnOffset{}, updwnWRotate{}, updwnORotate{}, updwnWScale{},
        updwnOScale{};

    // The handlers, each run inside the error trap by its connection.
    void Form_Load();
    void Form_KeyPress(int KeyAscii);
    void Form_Unload();
    void txtAbsolute_KeyPress(int Index, int KeyAscii);
    void txtAbsolute_LostFocus(int Index);
    void txtOffset_KeyPress(int Index, int KeyAscii);
    void txtOffset_LostFocus(int Index);
    void txtWRotate_KeyPress(int Index, int KeyAscii);
    void txtWRotate_LostFocus(int Index);
    void txtWScale_KeyPress(int Index, int KeyAscii);
    void txtWScale_LostFocus(int Index);

    // Moves the selection so that its reference point lands on TargetLoc, on the
    // edited axis only (-1: all three). False when the move would take the world
    // out of reach (nothing moved).
    bool ValidateMove(int axis = -1);

    // Read by tests and the closing step.
    bool IsFormLoaded() const { return FormLoaded; }
    const Point3d& AccumulatedScale() const { return ScaleChng; }
    int32_t RotationStepCount() const { return NumRotationSteps; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public:
    void done(int result) override;

private:
    // What the move fields show: the selection's centre, a group's centre of mass.
    Point3d ReferencePoint() const;
    void frmMove_SetParams();
    void frmRotate_SetParams();
    void frmScale_SetParams();
    void ApplyAbsolute(int Index);
    // The row's Absolute field and its spinner's Tag show the value.
    void showAbsolute(std::size_t i, double value);
    void ApplyOffset(int Index);
    // Moves the selection by d (cameras and lights to TargetLoc, d from where
    // they stand); false, and nothing moved, when that leaves the world's reach.
    bool MoveBy(const Point3d& d);
    // What the dialog's edits change, read once before the first of them.
    void ReadOpenPlacements();
    void ApplyRotation();
    // Turns the selection about its centre on each axis that has an angle.
    void TurnSelection(const std::array<bool, 3>& has, const Point3d& angle);
    void ApplyScale();
    void PushClosingRecord();
    void trap(const std::function<void()>& body);

    bool FormLoaded = false;
    bool loadedOnce_ = false;
    bool unloaded_ = false;
    Point3d TargetLoc = {0, 0, 0};
    Point3d IniLoc = {0, 0, 0};
    Point3d FnlLoc = {0, 0, 0};
    std::vector<RotationStep> RotationSteps;
    int32_t NumRotationSteps = 0;
    Point3d IniDim = {0, 0, 0};
    Point3d FnlDim = {0, 0, 0};
    Point3d ScaleChng = {1, 1, 1};
    Point3d TrkScaleChng = {1, 1, 1};
    // Taken at open: a group's own location (the fields show its centre of mass),
    // and the centre a multiple selection or a track turns and scales about.
    Point3d iniGrpLoc_ = {0, 0, 0};
    Point3d openCentre_ = {0, 0, 0};
    // What the edits found, for the record to give back exactly.
    undo::Placements openPlacements_;
    bool placementsRead_ = false;
    Point3d objScaleChng_ = {1, 1, 1};
    Point3d movedBy_ = {0, 0, 0};  // an entity move's offsets, summed as applied

    std::array<platform::NumericField*, 3> fldAbsolute{}, fldOffset{}, fldWRotate{}, fldORotate{}, fldWScale{},
        fldOScale{};
};

namespace transform {

// The toolbar's test: may this tool open the dialog for this selection and button?
bool TransformDialogQualifies(int32_t toolMode, int32_t kind, int button);
// Sets the type and caption and shows the dialog modally over owner.
void OpenTransformDialog(QWidget* owner, int32_t transformType);

}  // namespace transform
