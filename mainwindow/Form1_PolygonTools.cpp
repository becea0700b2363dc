// The polygon frame's construction tools: the extrude and bevel fields with their
// spinners, and the Cut button that makes a drag in a view cut the selected
// polygons. The work itself is done by geometry/'s mdlExtrude and mdlCutPols.
#include "Form1.h"

#include "core/Globals.h"
#include "core/SelectionCentres.h"
#include "core/WindowHooks.h"
#include "geometry/mdlCutPols.h"
#include "geometry/mdlExtrude.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>

namespace {

constexpr int kExtrude = 0;
constexpr int kEnter = 13;
constexpr int kCustomPointer = 99;

// Below whatever the frame already holds, across its whole width.
void addBelow(QGroupBox* frame, QWidget* block) {
    if (auto* grid = qobject_cast<QGridLayout*>(frame->layout()))
        grid->addWidget(block, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    else if (auto* form = qobject_cast<QFormLayout*>(frame->layout()))
        form->addRow(block);
    else if (frame->layout())
        frame->layout()->addWidget(block);
}

}  // namespace

void Form1::buildPolygonTools() {
    auto* block = new QFrame(frmEditGeomPolygon);
    block->setObjectName("frmExtBvl");
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    platform::NumericField::Options options;
    options.applyOnSpinner = false;
    options.applyOnLeave = false;
    const char* captions[] = {"Extrude", "Bevel"};
    const char* startTexts[] = {"0", "1"};
    // A depth is a length; a bevel factor a scale factor no smaller than the bevel takes.
    const platform::NumberRange ranges[] = {
        platform::kLengths, {mdlExtrude::MinBevelFactor, platform::kLengthLimit, false, false, true}};
    for (int i = 0; i < 2; ++i) {
        const auto k = static_cast<std::size_t>(i);
        options.range = ranges[k];
        auto* field = new platform::NumericField(options, block);
        fldExtBvl[k] = field;
        txtExtBvl[k] = field->text();
        updwnExtBvl[k] = field->spinner();
        txtExtBvl[k]->setObjectName(QStringLiteral("txtExtBvl(%1)").arg(i));
        updwnExtBvl[k]->setObjectName(QStringLiteral("updwnExtBvl(%1)").arg(i));
        txtExtBvl[k]->setText(QString::fromLatin1(startTexts[k]));
        grid->addWidget(new QLabel(captions[k], block), i, 0);
        grid->addWidget(field, i, 1);
        field->onChange = [this, i] { platform::runTrapped(this, [&] { txtExtBvl_Change(i); }); };
        field->onSpinnerChange = [this, i] { platform::runTrapped(this, [&] { updwnExtBvl_Change(i); }); };
        field->apply = [this, i] { platform::runTrapped(this, [&] { txtExtBvl_KeyPress(i, kEnter); }); };
        field->onLeave = [this, i] { platform::runTrapped(this, [&] { txtExtBvl_LostFocus(i); }); };
        connect(updwnExtBvl[k], &platform::UpDown::Pressed, this,
                platform::trapped(this, [this, i] { updwnExtBvl_MouseDown(i); }));
        connect(updwnExtBvl[k], &platform::UpDown::Released, this,
                platform::trapped(this, [this, i] { updwnExtBvl_MouseUp(i); }));
    }
    tlbrCut = new QToolBar(block);
    tlbrCut->setObjectName("tlbrCut");
    QAction* cut = tlbrCut->addAction("Cut");
    cut->setObjectName("Cut");
    cut->setCheckable(true);
    cut->setToolTip("Cut the selected polygons along a line dragged in a view");
    connect(cut, &QAction::triggered, this, platform::trapped(this, [this] { tlbrCut_ButtonClick(); }));
    grid->addWidget(tlbrCut, 2, 0, 1, 2);
    addBelow(frmEditGeomPolygon, block);
}

void Form1::connectPolygonToolHooks() {
    auto& h = core::windowHooks();
    h.setViewMouseIcon = [this](int view, const std::string& picture) {
        PicWindow& window = *picWindow.at(static_cast<std::size_t>(view));
        window.SetMouseIcon(picture);
        window.SetMousePointer(kCustomPointer);
    };
    h.hasPolNode = [this](int32_t polygon) { return trwGroupView->Exists(KeyedTree::NodeKey("Pol", polygon)); };
}

void Form1::ResetPolygonTools() {
    mdlExtrude::ForgetWorld();
    mdlCutPols::ForgetWorld();
    ExtBvlSpinReleased = true;
    SetCutButtonValue(0);
}

// ---- the fields

void Form1::txtExtBvl_Change(int Index) { fldExtBvl.at(static_cast<std::size_t>(Index))->CopyTextToTag(); }

void Form1::txtExtBvl_LostFocus(int Index) { fldExtBvl.at(static_cast<std::size_t>(Index))->ShowTag(); }

void Form1::txtExtBvl_KeyPress(int Index, int KeyAscii) {
    if (KeyAscii != kEnter) return;
    const auto k = static_cast<std::size_t>(Index);
    platform::UpDown* spinner = updwnExtBvl.at(k);
    // The field keeps numbers only, so its text is the value typed.
    spinner->Tag = txtExtBvl[k]->text();
    double value = 0;
    const bool numeric = platform::ReadNumber(spinner->Tag, value);
    const mdlExtrude::Outcome outcome = !numeric           ? mdlExtrude::Outcome::Refused
                                        : Index == kExtrude ? mdlExtrude::ExtrudeByDepth(value)
                                                            : mdlExtrude::BevelByFactor(value);
    if (outcome == mdlExtrude::Outcome::Refused) {
        spinner->Tag = extBvlAccepted_[k];
        txtExtBvl[k]->setText(extBvlAccepted_[k]);
        return;
    }
    Globals::ComputeSelPolsAvgCenter();
    UpdateCameras();
    extBvlAccepted_[k] = QStringLiteral("1");
    txtExtBvl[k]->setText(extBvlAccepted_[k]);
}

// ---- the spinners: press, steps, release

void Form1::updwnExtBvl_MouseDown(int Index) {
    ExtBvlSpinReleased = false;
    if (Index == kExtrude)
        mdlExtrude::StartExtrudeGesture();
    else
        mdlExtrude::StartBevelGesture();
}

void Form1::updwnExtBvl_Change(int Index) {
    const auto k = static_cast<std::size_t>(Index);
    platform::UpDown* spinner = updwnExtBvl.at(k);
    const int step = spinner->Value();
    if (step == 0) return;  // the change raised by putting the spinner back
    if (!ExtBvlSpinReleased) {
        // The extrude field holds the distance from where the cap started, the
        // bevel field the factor of this step; the field moves only when the
        // geometry did.
        const double tag = platform::TagValue(spinner);
        const double next = Index == kExtrude ? tag + step : tag + step / 100.0;
        const bool moved = Index == kExtrude ? mdlExtrude::StepExtrude(next) : mdlExtrude::StepBevel(next);
        if (moved) {
            spinner->Tag = platform::NumberText(next);
            txtExtBvl[k]->setText(spinner->Tag);
        }
    }
    spinner->setValue(0);
}

void Form1::updwnExtBvl_MouseUp(int Index) {
    ExtBvlSpinReleased = true;
    const auto k = static_cast<std::size_t>(Index);
    if (Index == kExtrude)
        mdlExtrude::CommitExtrudeGesture();
    else
        mdlExtrude::CommitBevelGesture();
    extBvlAccepted_[k] = QString::fromLatin1(Index == kExtrude ? "0" : "1");
    updwnExtBvl[k]->Tag = extBvlAccepted_[k];
    txtExtBvl[k]->setText(extBvlAccepted_[k]);
    UpdateCameras();
}

// ---- the Cut button

void Form1::tlbrCut_ButtonClick() {
    SetToolMode(ToolSelect);
    picWinSetMousePtr("Select");
}

int Form1::CutButtonValue() const {
    return tlbrCut && tlbrCut->actions().value(0) && tlbrCut->actions().value(0)->isChecked() ? 1 : 0;
}

void Form1::SetCutButtonValue(int value) {
    if (QAction* cut = tlbrCut ? tlbrCut->actions().value(0) : nullptr) cut->setChecked(value == 1);
}
