// The numeric transform dialog's window: its frames and fields, opening, keys and
// the one undo record of its closing.
#include "frmTransformParameters.h"

#include "SelectionPlacements.h"

#include "EditModes.h"

#include "core/EntityLocations.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/Maths.h"
#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"
#include "core/WindowProcedures.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "platform/window_placement.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;

using Fields = std::array<platform::NumericField*, 3>;

Point3d movedFrom(Point3d start, const Point3d& offset) {
    Maths::AddVector(start, offset);
    return start;
}

QGroupBox* makeFrame(QWidget* owner, const char* name, const char* caption, Fields& fields,
                     std::array<QLineEdit*, 3>& texts, std::array<platform::UpDown*, 3>& spinners, const char* textName,
                     const char* spinName, platform::NumericField::Options options) {
    auto* frame = new QGroupBox(QString::fromLatin1(caption), owner);
    frame->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(frame);
    const char* labels[] = {"X:", "Y:", "Z:"};
    for (int i = 0; i < 3; ++i) {
        auto* field = new platform::NumericField(options, frame);
        const std::size_t k = static_cast<std::size_t>(i);
        fields[k] = field;
        texts[k] = field->text();
        spinners[k] = field->spinner();
        field->text()->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(textName)).arg(i));
        field->spinner()->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(spinName)).arg(i));
        field->text()->setText(QStringLiteral("0.0"));
        grid->addWidget(new QLabel(QString::fromLatin1(labels[i]), frame), i, 0);
        grid->addWidget(field, i, 1);
    }
    return frame;
}

bool allOnes(const Point3d& f) { return f[0] == 1 && f[1] == 1 && f[2] == 1; }

using core::groupLocation;

}  // namespace

frmTransformParameters::frmTransformParameters(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmTransformParameters"));
    setModal(true);
    using Opt = platform::NumericField::Options;
    // Only the Absolute spinners apply at once; no field of this dialog copies on
    // change but the rotate and scale ones.
    frmMove1 = makeFrame(this, "frmMove1", "Absolute", fldAbsolute, txtAbsolute, updwn, "txtAbsolute", "updwn",
                         Opt{true, 1, false, true, platform::kLengths});
    frmMove2 = makeFrame(this, "frmMove2", "Offset", fldOffset, txtOffset, updwnOffset, "txtOffset", "updwnOffset",
                         Opt{false, 1, false, true, platform::kLengths});
    frmRotate1 = makeFrame(this, "frmRotate1", "World Space", fldWRotate, txtWRotate, updwnWRotate, "txtWRotate",
                           "updwnWRotate", Opt{false, 1, true, true});
    frmRotate2 = makeFrame(this, "frmRotate2", "Object Space", fldORotate, txtORotate, updwnORotate, "txtORotate",
                           "updwnORotate", Opt{false, 1, true, true});
    frmScale1 = makeFrame(this, "frmScale1", "World Space", fldWScale, txtWScale, updwnWScale, "txtWScale",
                          "updwnWScale", Opt{false, 0.1, true, true, platform::kScaleFactors});
    frmScale2 = makeFrame(this, "frmScale2", "Object Space", fldOScale, txtOScale, updwnOScale, "txtOScale",
                          "updwnOScale", Opt{false, 0.1, true, true, platform::kScaleFactors});
    auto* layout = new QHBoxLayout(this);
    for (QGroupBox* f : {frmMove1, frmMove2, frmRotate1, frmRotate2, frmScale1, frmScale2}) layout->addWidget(f);
    // Beside a small screen's workspace panel the two frames stand one above the other.
    platform::StackWhereNarrow(*this, *layout);

    auto active = [this] { return FormLoaded && !unloaded_; };
    for (int i = 0; i < 3; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        for (const Fields* set : {&fldAbsolute, &fldOffset, &fldWRotate, &fldORotate, &fldWScale, &fldOScale})
            (*set)[k]->active = active;
        fldAbsolute[k]->apply = [this, i] { trap([&] { txtAbsolute_LostFocus(i); }); };
        fldOffset[k]->apply = [this, i] { trap([&] { txtOffset_LostFocus(i); }); };
        fldWRotate[k]->apply = [this, i] { trap([&] { txtWRotate_LostFocus(i); }); };
        fldORotate[k]->apply = [this, i] { trap([&] { txtWRotate_LostFocus(i); }); };
        fldWScale[k]->apply = [this, i] { trap([&] { txtWScale_LostFocus(i); }); };
        fldOScale[k]->apply = [this, i] { trap([&] { txtWScale_LostFocus(i); }); };
    }
}

frmTransformParameters::~frmTransformParameters() = default;

void frmTransformParameters::trap(const std::function<void()>& body) {
    if (unloaded_) return;  // a field losing the focus as the window closes applies nothing
    platform::runTrapped(this, body);
}

void frmTransformParameters::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (loadedOnce_) return;
    loadedOnce_ = true;
    trap([this] { Form_Load(); });
}

void frmTransformParameters::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Form_KeyPress(kEscape);
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmTransformParameters::Form_KeyPress(int KeyAscii) {
    if (KeyAscii == kEscape) close();
}

void frmTransformParameters::done(int result) {
    if (!unloaded_) {
        platform::runTrapped(this, [this] { Form_Unload(); });
        unloaded_ = true;
    }
    QDialog::done(result);
}

void frmTransformParameters::Form_Load() {
    FormLoaded = false;
    struct LoadedOnExit {
        bool& flag;
        ~LoadedOnExit() { flag = true; }
    } loaded{FormLoaded};
    ScaleChng = TrkScaleChng = objScaleChng_ = {1, 1, 1};
    movedBy_ = {0, 0, 0};
    RotationSteps.clear();
    NumRotationSteps = 0;
    for (QGroupBox* f : {frmMove1, frmMove2, frmRotate1, frmRotate2, frmScale1, frmScale2}) f->hide();
    openCentre_ = Globals::CurrSelEntityType == SelMultiple ? Globals::SelObjsAvgCenter : Globals::TrkCenter;
    if (Globals::CurrSelEntityType == SelGroup) iniGrpLoc_ = groupLocation(Globals::CurrSelEntityHandle);
    // Read before the first edit, so that opening and closing costs nothing.
    openPlacements_ = {};
    placementsRead_ = false;
    switch (TransformType) {
    case MoveTransform:
        frmMove1->show();
        frmMove2->show();
        frmMove_SetParams();
        break;
    case RotateTransform:
        frmRotate1->show();
        frmRotate2->show();
        frmRotate_SetParams();
        break;
    case ScaleTransform:
        frmScale_SetParams();
        frmScale1->show();
        frmScale2->show();
        break;
    default: break;
    }
}

Point3d frmTransformParameters::ReferencePoint() const {
    using namespace Globals;
    const int32_t h = CurrSelEntityHandle;
    Point3d p = TargetLoc;
    switch (transform::CurrentEditMode()) {
    case transform::EditMode::Point: p = SelPtsAvgCenter; break;
    case transform::EditMode::Polygon: p = SelPolsAvgCenter; break;
    case transform::EditMode::TrackPoint: p = SelTrkPtsAvgCenter; break;
    case transform::EditMode::Object:
        switch (CurrSelEntityType) {
        case SelGroup: OMBREL_group_get_center_of_mass(h, p.data()); break;
        case SelCamera: OMBREL_camera_get_location1(h, p.data()); break;
        case SelLight: OMBREL_light_get_location(h, p.data()); break;
        case SelTrack: GetTrackCenter(h, p); break;
        case SelMultiple: p = SelObjsAvgCenter; break;
        default: break;
        }
        break;
    }
    return p;
}

void frmTransformParameters::frmMove_SetParams() {
    TargetLoc = ReferencePoint();
    IniLoc = FnlLoc = TargetLoc;
    for (std::size_t i = 0; i < 3; ++i) {
        txtAbsolute[i]->setText(platform::NumberText(TargetLoc[i]));
        updwn[i]->Tag = txtAbsolute[i]->text();
        txtOffset[i]->setText(QStringLiteral("0"));
        updwnOffset[i]->Tag = QStringLiteral("0");
    }
}

void frmTransformParameters::frmRotate_SetParams() { frmRotate2->setEnabled(false); }

void frmTransformParameters::frmScale_SetParams() {
    frmScale2->setEnabled(false);
    for (std::size_t i = 0; i < 3; ++i) {
        txtOScale[i]->setText(QStringLiteral("1"));
        updwnOScale[i]->Tag = QStringLiteral("1");
        txtWScale[i]->setText(QStringLiteral("1"));
        updwnWScale[i]->Tag = QStringLiteral("1");
    }
    if (transform::IsEditGeometry()) return;
    if (Globals::CurrSelEntityType == SelTrack) Globals::GetTrackDimensions(Globals::CurrSelEntityHandle, IniDim);
    else if (Globals::CurrSelEntityType == SelGroup) OMBREL_group_get_dimensions(Globals::CurrSelEntityHandle, IniDim.data());
    FnlDim = IniDim;
}

void frmTransformParameters::txtAbsolute_KeyPress(int Index, int KeyAscii) {
    if (KeyAscii == kEnter) ApplyAbsolute(Index);
}
void frmTransformParameters::txtAbsolute_LostFocus(int Index) { ApplyAbsolute(Index); }
void frmTransformParameters::txtOffset_KeyPress(int Index, int KeyAscii) {
    if (KeyAscii == kEnter) ApplyOffset(Index);
}
void frmTransformParameters::txtOffset_LostFocus(int Index) { ApplyOffset(Index); }
void frmTransformParameters::txtWRotate_KeyPress(int Index, int KeyAscii) {
    if (KeyAscii == kEnter) txtWRotate_LostFocus(Index);
}
void frmTransformParameters::txtWRotate_LostFocus(int) { ApplyRotation(); }
void frmTransformParameters::txtWScale_KeyPress(int Index, int KeyAscii) {
    if (KeyAscii == kEnter) txtWScale_LostFocus(Index);
}
void frmTransformParameters::txtWScale_LostFocus(int) { ApplyScale(); }

void frmTransformParameters::Form_Unload() {
    struct ClosedOnExit {
        bool& flag;
        ~ClosedOnExit() { flag = false; }
    } closed{FormLoaded};
    PushClosingRecord();
}

void frmTransformParameters::PushClosingRecord() {
    using namespace Globals;
    const int32_t kind = CurrSelEntityType, h = CurrSelEntityHandle;
    const int32_t tool = CurrToolMode;
    auto addSteps = [this](auto& action) {
        for (const RotationStep& s : RotationSteps) action.AddRotation(s.Angle, s.Axis);
    };
    // A record that changes nothing would only push an older one out of the history.
    const bool hasSteps = NumRotationSteps > 0;
    const bool moved = tool == ToolMove && placementsRead_;
    const transform::EditMode mode = transform::CurrentEditMode();
    auto exact = [this, mode](auto& action) {
        action.SetPlacements(std::move(openPlacements_), transform::ReadSelectionPlacements(mode));
    };
    switch (mode) {
    case transform::EditMode::Point: {
        if (NumSelPts <= 0) return;
        if (moved) {
            auto r = ActionUndoRedo::New(ActMoveGrpPoints);
            r->MoveGrpPoints->SetMovedPtsToCurrSelPts();
            r->MoveGrpPoints->SetFrmLoc(IniLoc);
            r->MoveGrpPoints->SetToLoc(movedFrom(IniLoc, movedBy_));
            exact(*r->MoveGrpPoints);
            undo::Push(std::move(r));
        } else if (tool == ToolRotate && hasSteps) {
            auto r = ActionUndoRedo::New(ActRotateGrpPoints);
            r->RotateGrpPoints->SetRotatedPtsParentGrp(h);
            r->RotateGrpPoints->SetRotatedPtsToCurrSelPts();
            addSteps(*r->RotateGrpPoints);
            exact(*r->RotateGrpPoints);
            undo::Push(std::move(r));
        } else if (tool == ToolScale && !allOnes(ScaleChng)) {
            auto r = ActionUndoRedo::New(ActScaleGrpPoints);
            r->ScaleGrpPoints->SetScaledPtsToCurrSelPts();
            r->ScaleGrpPoints->SetScaleChng(ScaleChng);
            exact(*r->ScaleGrpPoints);
            undo::Push(std::move(r));
        }
        break;
    }
    case transform::EditMode::Polygon: {
        if (NumSelPols <= 0) return;
        if (moved) {
            auto r = ActionUndoRedo::New(ActMoveGrpPols);
            r->MoveGrpPols->SetMovedWeldedPtsToCurrWeldedPts();
            r->MoveGrpPols->SetFrmLoc(IniLoc);
            r->MoveGrpPols->SetToLoc(movedFrom(IniLoc, movedBy_));
            exact(*r->MoveGrpPols);
            undo::Push(std::move(r));
        } else if (tool == ToolRotate && hasSteps) {
            auto r = ActionUndoRedo::New(ActRotateGrpPols);
            r->RotateGrpPols->SetRotatedPolsParentGrp(h);
            r->RotateGrpPols->SetRotatedWeldedPtsToCurrWeldedPts();
            addSteps(*r->RotateGrpPols);
            exact(*r->RotateGrpPols);
            undo::Push(std::move(r));
        } else if (tool == ToolScale && !allOnes(ScaleChng)) {
            auto r = ActionUndoRedo::New(ActScaleGrpPols);
            r->ScaleGrpPols->SetScaledWeldedPtsToCurrWeldedPts();
            r->ScaleGrpPols->SetScaleChng(ScaleChng);
            exact(*r->ScaleGrpPols);
            undo::Push(std::move(r));
        }
        break;
    }
    case transform::EditMode::TrackPoint: {
        if (NumSelTrkPts <= 0) return;
        if (moved) {
            auto r = ActionUndoRedo::New(ActMoveTrkPts);
            r->MoveTrkPts->SetMovedTrkPtsToCurrSelTrkPts();
            r->MoveTrkPts->SetFrmLoc(IniLoc);
            r->MoveTrkPts->SetToLoc(FnlLoc);
            exact(*r->MoveTrkPts);
            undo::Push(std::move(r));
        } else if (tool == ToolRotate && hasSteps) {
            auto r = ActionUndoRedo::New(ActRotateTrkPts);
            r->RotateTrkPts->SetRotatedTrkPtsToCurrSelTrkPts();
            addSteps(*r->RotateTrkPts);
            exact(*r->RotateTrkPts);
            undo::Push(std::move(r));
        } else if (tool == ToolScale && !allOnes(TrkScaleChng)) {
            auto r = ActionUndoRedo::New(ActScaleTrkPts);
            r->ScaleTrkPts->SetScaledTrkPtsToCurrSelPts();
            r->ScaleTrkPts->SetScaleChng(TrkScaleChng);
            exact(*r->ScaleTrkPts);
            undo::Push(std::move(r));
        }
        break;
    }
    case transform::EditMode::Object: {
        if (kind != SelGroup && kind != SelCamera && kind != SelTrack && kind != SelLight && kind != SelMultiple) return;
        if (moved) {
            // A group's record holds its true locations, not the centre of mass shown.
            const Point3d from = kind == SelGroup ? iniGrpLoc_ : IniLoc;
            const Point3d to = kind == SelGroup ? groupLocation(h) : FnlLoc;
            auto r = ActionUndoRedo::New(ActMove);
            r->Move->SetMovedEntity(kind, h);
            r->Move->SetFrmLoc(from);
            r->Move->SetToLoc(to);
            r->Move->SetMovedBy(movedBy_);
            exact(*r->Move);
            undo::Push(std::move(r));
        } else if (tool == ToolRotate && hasSteps) {
            auto r = ActionUndoRedo::New(ActRotate);
            r->Rotate->SetRotatedEntity(kind, h);
            if (kind == SelMultiple || kind == SelTrack) r->Rotate->SetRotCenter(openCentre_);
            addSteps(*r->Rotate);
            exact(*r->Rotate);
            undo::Push(std::move(r));
        } else if (tool == ToolScale && (kind == SelGroup || kind == SelTrack || kind == SelMultiple) &&
                   !allOnes(objScaleChng_)) {
            auto r = ActionUndoRedo::New(ActScale);
            r->ScaleObj->SetScaledEntity(kind, h);
            r->ScaleObj->SetScaleChng(objScaleChng_);
            exact(*r->ScaleObj);
            if (kind == SelMultiple || kind == SelTrack) r->ScaleObj->SetScaleCenter(openCentre_);
            undo::Push(std::move(r));
        }
        break;
    }
    }
    RotationSteps.clear();
    NumRotationSteps = 0;
    ScaleChng = TrkScaleChng = objScaleChng_ = {1, 1, 1};
    movedBy_ = {0, 0, 0};
    openPlacements_ = {};
    placementsRead_ = false;
}

namespace transform {

bool TransformDialogQualifies(int32_t toolMode, int32_t kind, int button) {
    if (kind == SelMultiple) return button == 2 && toolMode >= ToolMove && toolMode <= ToolScale;
    if (toolMode == ToolMove || toolMode == ToolRotate)
        return kind == SelGroup || kind == SelCamera || kind == SelTrack || kind == SelLight;
    if (toolMode == ToolScale) return kind == SelGroup || kind == SelTrack;
    return false;
}

void OpenTransformDialog(QWidget* owner, int32_t transformType) {
    static const char* captions[] = {"Move Transform", "Rotate Transform", "Scale Transform"};
    if (transformType < 0 || transformType > 2) return;
    frmTransformParameters dialog(owner);
    dialog.TransformType = transformType;
    dialog.setWindowTitle(QString::fromLatin1(captions[transformType]));
    platform::showModal(dialog);
    Globals::RefillEntityPanel();
}

}  // namespace transform
