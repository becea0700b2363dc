// The polygon frame of "Edit Geometry": the selected polygons' name, Flip,
// Delete and Detach, and how they are drawn (rotated flag, light diminution,
// blending filter, transparent colour). Every change but the name is recorded
// for undo; the frame shows the single selected polygon's values, or the count.
#include "ControlTag.h"
#include "FieldEvents.h"
#include "Form1.h"
#include "Twips.h"

#include "core/BlendingFilters.h"
#include "core/DetachPolygons.h"
#include "core/EntityProcedures.h"
#include "core/FakeDeletion.h"
#include "core/FlipPolygons.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/SelectionChange.h"
#include "core/WeldedPointsProcedures.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "platform/colour.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/PushThenRun.h"
#include "views/ViewRedraw.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <exception>
#include <memory>
#include <string>

namespace {

template <class Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(name);
    return control;
}

// True when every selected polygon already has what read gives for value: a
// change to it would change nothing.
template <class Read, class Value>
bool allSelectedHave(Read read, const Value& value) {
    for (int32_t i = 1; i <= Globals::NumSelPols; ++i)
        if (!(read(Globals::SelPols[i]) == value)) return false;
    return true;
}

void showButtonFace(QPushButton* button) {
    button->setProperty("BackColor", Form1::ButtonFaceColour);
    button->setStyleSheet(QString());
}

// Why the selection cannot take a transparent colour; empty when it is one
// polygon with a bitmap and no animation.
std::string transparentColourRefusal() {
    using namespace Globals;
    if (NumSelPols == 0) return "Please selecet at least one polygon.";
    if (NumSelPols == 1 && OMBREL_polygon_get_animation(SelPols[1]) != 0)
        return "Selected polygon uses 2D animation. To change transparent color you will need to edit the animation.";
    if (NumSelPols == 1 && OMBREL_polygon_get_bitmap_handle(SelPols[1]) == 0)
        return "Selected polygon doesn't have a bitmap assigned to it.";
    if (NumSelPols > 1) return "Please selecet a single polygon only.";
    return {};
}

void refuse(const std::string& message) {
    platform::msgBox(message, platform::MsgButtons::OK, platform::MsgIcon::Information);
}

}  // namespace

// ---- building

void Form1::buildPolygonFrame() {
    QGroupBox* f = frmEditGeomPolygon;
    auto* layout = new QGridLayout(f);
    auto* Frame1 = named(new QFrame(f), "Frame1");
    auto* nameLayout = new QHBoxLayout(Frame1);
    nameLayout->setContentsMargins(0, 0, 0, 0);
    txtSelPolName = named(new QLineEdit("None", Frame1), "txtSelPolName");
    txtSelPolName->setToolTip("Polygon Name");
    txtSelPolName->setEnabled(false);
    nameLayout->addWidget(new QLabel("Name", Frame1));
    nameLayout->addWidget(txtSelPolName, 1);
    layout->addWidget(Frame1, 0, 0, 1, 3);

    cmdFlipPol = named(new QPushButton("Flip", f), "cmdFlipPol");
    cmdDeletePol = named(new QPushButton("Delete", f), "cmdDeletePol");
    cmdDetachPols = named(new QPushButton("Detach", f), "cmdDetachPols");
    layout->addWidget(cmdFlipPol, 1, 0);
    layout->addWidget(cmdDeletePol, 1, 1);
    layout->addWidget(cmdDetachPols, 1, 2);

    chkPolRotated = named(new QCheckBox("Rotated", f), "chkPolRotated");
    chkIgnoreBackFacedForPolSel = named(new QCheckBox("Ignore Backfaced", f), "chkIgnoreBackFacedForPolSel");
    layout->addWidget(chkPolRotated, 2, 0);
    layout->addWidget(chkIgnoreBackFacedForPolSel, 2, 1, 1, 2);

    // Nothing is copied while typing and leaving applies through the frame's own
    // handlers; the spinner holds the value, 0 to 100.
    platform::NumericField::Options options;
    options.copyOnChange = false;
    options.applyOnLeave = false;
    options.applyOnSpinner = false;
    options.range = {0, 100};
    fldPolLightDimu = named(new platform::NumericField(options, f), "fldPolLightDimu");
    txtPolLightDimu = named(fldPolLightDimu->text(), "txtPolLightDimu");
    updwnPolLightDimu = named(fldPolLightDimu->spinner(), "updwnPolLightDimu");
    updwnPolLightDimu->Min = 0;
    updwnPolLightDimu->Max = 100;
    updwnPolLightDimu->Increment = 1;
    txtPolLightDimu->setText("0");
    layout->addWidget(new QLabel("Light Diminution %", f), 3, 0, 1, 2);
    layout->addWidget(fldPolLightDimu, 3, 2);

    cmbPolFilter = named(new QComboBox(f), "cmbPolFilter");
    layout->addWidget(new QLabel("Filter Glass", f), 4, 0);
    layout->addWidget(cmbPolFilter, 4, 1, 1, 2);

    auto* trans = named(new QFrame(f), "frmPolTrans");
    trans->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* transLayout = new QHBoxLayout(trans);
    transLayout->setContentsMargins(4, 2, 4, 2);
    chkEditPolTrans = named(new QCheckBox("Transparancy", trans), "chkEditPolTrans");
    cmdPoltextureTransparentClr = named(new QPushButton(trans), "cmdPoltextureTransparentClr");
    cmdPoltextureTransparentClr->setToolTip("Choose color from texture");
    cmdPoltextureTransparentClr->setFixedWidth(Twips::toPixels(450));
    cmdPoltextureTransparentClr->setEnabled(false);
    showButtonFace(cmdPoltextureTransparentClr);
    transLayout->addWidget(new QLabel("Transparent Color", trans));
    transLayout->addWidget(chkEditPolTrans);
    transLayout->addWidget(cmdPoltextureTransparentClr);
    transLayout->addStretch(1);
    layout->addWidget(trans, 5, 0, 1, 3);

    connectPolygonPanel();
}

void Form1::connectPolygonPanel() {
    auto trap = [this](void (Form1::*handler)()) {
        return platform::trapped(this, [this, handler] { (this->*handler)(); });
    };
    connect(txtSelPolName, &QLineEdit::textChanged, this, [this](const QString&) { txtSelPolName_Change(); });
    auto* nameEvents = new FieldEvents(txtSelPolName);
    nameEvents->KeyPress = [this](int key) { platform::runTrapped(this, [&] { txtSelPolName_KeyPress(key); }); };
    nameEvents->LostFocus = [this] { platform::runTrapped(this, [this] { txtSelPolName_LostFocus(); }); };

    connect(cmdFlipPol, &QPushButton::clicked, this, trap(&Form1::cmdFlipPol_Click));
    connect(cmdDeletePol, &QPushButton::clicked, this, trap(&Form1::cmdDeletePol_Click));
    connect(cmdDetachPols, &QPushButton::clicked, this, trap(&Form1::cmdDetachPols_Click));
    connect(cmdPoltextureTransparentClr, &QPushButton::clicked, this, trap(&Form1::cmdPoltextureTransparentClr_Click));
    // A check box's click comes with every change of its value, the program's too.
    connect(chkPolRotated, &QCheckBox::toggled, this, trap(&Form1::chkPolRotated_Click));
    connect(chkEditPolTrans, &QCheckBox::toggled, this, trap(&Form1::chkEditPolTrans_Click));
    // The user's choice, also of the entry already shown; the program raises the
    // click itself when it changes the entry.
    connect(cmbPolFilter, &QComboBox::activated, this, trap(&Form1::cmbPolFilter_Click));

    fldPolLightDimu->onChange = [this] { txtPolLightDimu_Change(); };
    fldPolLightDimu->onSpinnerChange = [this] { updwnPolLightDimu_Change(); };
    auto* dimuEvents = new FieldEvents(txtPolLightDimu);
    dimuEvents->KeyPress = [this](int key) { platform::runTrapped(this, [&] { txtPolLightDimu_KeyPress(key); }); };
    dimuEvents->LostFocus = [this] { platform::runTrapped(this, [this] { txtPolLightDimu_LostFocus(); }); };
    // The release of an arrow, after the spinner has stepped.
    for (QToolButton* arrow : updwnPolLightDimu->findChildren<QToolButton*>())
        connect(arrow, &QToolButton::clicked, this, trap(&Form1::updwnPolLightDimu_MouseUp));
}

// ---- name

bool Form1::PolNameEditMarked() const { return EditMarked(txtSelPolName); }

void Form1::txtSelPolName_Change() {
    // Typed or written by the program alike.
    if (Globals::NumSelPols == 1) SetEditMark(txtSelPolName, true);
}

void Form1::txtSelPolName_KeyPress(int KeyAscii) {
    using namespace Globals;
    if (NumSelPols != 1) return;
    if (KeyAscii == 27) {
        txtSelPolName_LostFocus();
        SetEditMark(txtSelPolName, false);
        return;
    }
    if (KeyAscii != 13) return;
    const std::string key = KeyedTree::NodeKey("Pol", SelPols[1]);
    // Applied as typed, an empty name too, and never recorded; a missing node or a
    // refused name is passed over.
    const QString text = txtSelPolName->text();
    try {
        if (trwGroupView->Exists(key)) trwGroupView->Item(key)->setText(0, text);
        SetEditMark(txtSelPolName, false);
        OMBREL_polygon_set_name(SelPols[1], text.toStdString().c_str());
    } catch (const std::exception&) {
    }
}

void Form1::txtSelPolName_LostFocus() {
    // A name not applied with Enter is dropped.
    if (Globals::NumSelPols != 1) return;
    txtSelPolName->setText(QString::fromStdString(Globals::GetEntityName(Globals::SelPols[1])));
}

// ---- flip, delete, detach

void Form1::cmdFlipPol_Click() {
    using namespace Globals;
    if (NumSelPols == 0) return;
    auto record = ActionUndoRedo::New(ActPolsFlip);
    record->FlipPols->SetPolsFlipped(SelPols, NumSelPols);
    undo::PushThenRun(std::move(record), [] {
        FlipPolygons(SelPols, NumSelPols);
        UpdateCameras();
    });
}

void Form1::cmdDeletePol_Click() {
    using namespace Globals;
    if (NumSelPols == 0) return;
    auto record = ActionUndoRedo::New(ActDeleteGrpPols);
    record->DeleteGrpPols->SetDeletedPols(SelPols, NumSelPols);
    undo::PushThenRun(std::move(record), [this] {
        FakeDeletePols(SelPols, NumSelPols);
        NumSelPols = 0;
        NumSelPts = 0;
        UpdateEditGeomTabBasedOnPolsSelected();
        UpdateStatusBar();
        UpdateCameras();
        BuildWeldedPoints(CurrSelEntityHandle);
        UpdateSelPolsRelatedPtsArray();
    });
}

void Form1::cmdDetachPols_Click() {
    using namespace Globals;
    if (CurrSelEntityType != SelGroup || NumSelPols == 0) return;
    auto record = ActionUndoRedo::New(ActDetachPols);
    record->DetachPols->SetDetachedPolsToCurrSel();
    const int32_t oldGroup = CurrSelEntityHandle;
    record->DetachPols->SetOldGrp(oldGroup);
    // An empty answer, Cancel's too, changes nothing and records nothing.
    const std::string name = platform::prompts().inputBox("New Group Name:", "Detach Polygons.", "");
    if (name.empty()) return;
    const int32_t newGroup = MoveSelPolsIntoNewGroup(name);
    AddGroupNode(newGroup, RootGrp);
    ValidateGroupPolygons(oldGroup);
    ValidateGroupPolygons(newGroup);
    CurrSelEntityHandle = newGroup;
    ThingsToDoOnSelectedEntityChange();
    UpdateStatusBar();
    UpdateCameras();
    record->DetachPols->SetNewGrp(newGroup);
    undo::Push(std::move(record));
}

// ---- rotated flag

void Form1::chkPolRotated_Click() {
    using namespace Globals;
    if (Tag(chkPolRotated) == DissableClick) return;
    const bool rotated = chkPolRotated->isChecked();
    if (NumSelPols == 0) {
        // Nothing to change: the box goes back and nothing is recorded.
        TagGuard guard(chkPolRotated, DissableClick);
        chkPolRotated->setChecked(!rotated);
        return;
    }
    const int32_t flag = rotated ? 1 : 0;
    if (allSelectedHave([](int32_t p) { return OMBREL_polygon_is_rotated(p); }, flag)) return;
    auto record = ActionUndoRedo::New(ActChngPolRotatedProp);
    record->ChngPolRotatedProp->SetPrevRotatedFlag(!rotated);
    record->ChngPolRotatedProp->SetSelToCurrSel();
    undo::PushThenRun(std::move(record), [flag] {
        for (int32_t i = 1; i <= NumSelPols; ++i) OMBREL_polygon_set_rotated(SelPols[i], flag);
        ValidateGroupPolygons(CurrSelEntityHandle);
        UpdateCameras();
    });
}

void Form1::SetPolRotatedBox(bool Checked) {
    TagGuard guard(chkPolRotated, DissableClick);
    chkPolRotated->setChecked(Checked);
}

// ---- light diminution

bool Form1::PolLightDimuEditMarked() const { return EditMarked(txtPolLightDimu); }

void Form1::updwnPolLightDimu_Change() { txtPolLightDimu->setText(QString::number(updwnPolLightDimu->Value())); }

void Form1::updwnPolLightDimu_MouseUp() { txtPolLightDimu_LostFocus(); }

void Form1::txtPolLightDimu_Change() { SetEditMark(txtPolLightDimu, true); }

void Form1::txtPolLightDimu_KeyPress(int KeyAscii) {
    if (KeyAscii == 13) txtPolLightDimu_LostFocus();
}

void Form1::txtPolLightDimu_LostFocus() {
    using namespace Globals;
    // Text that is no value from 0 to 100 gives way to the value the edit started
    // from, and nothing is applied.
    if (!fldPolLightDimu->Settle()) return;
    if (Tag(txtPolLightDimu) == DissableChange || NumSelPols == 0) return;
    double value = 0;
    if (!fldPolLightDimu->HoldsValue(value)) {
        // Text the program left there, not the user's edit: the value in force shows again.
        SetPolLightDimuText(OMBREL_polygon_get_light_diminution(SelPols[1]));
        SetEditMark(txtPolLightDimu, false);
        return;
    }
    // The spinner shows it rounded, halves to even; the field then shows the
    // value in force, not the spinner's whole number.
    updwnPolLightDimu->setValue(static_cast<int>(std::nearbyint(value)));
    SetPolLightDimuText(value);
    // Recorded only when some selected polygon has another value.
    if (allSelectedHave([](int32_t p) { return OMBREL_polygon_get_light_diminution(p); }, value)) return;
    auto record = ActionUndoRedo::New(ActChngPolLightDimu);
    record->ChngPolLightDimu->SetSelToCurrSel();
    record->ChngPolLightDimu->SetPrevLightDimu(OMBREL_polygon_get_light_diminution(SelPols[1]));
    for (int32_t i = 1; i <= NumSelPols; ++i) OMBREL_polygon_set_light_diminution(SelPols[i], value);
    UpdateCameras();
    record->ChngPolLightDimu->SetnewLightDimu(value);
    undo::Push(std::move(record));
    SetEditMark(txtPolLightDimu, false);
}

void Form1::SetPolLightDimuText(double Value) { txtPolLightDimu->setText(platform::NumberText(Value)); }

// ---- blending filter

void Form1::cmbPolFilter_Populate() {
    cmbPolFilter->clear();
    for (const core::BlendingFilter& filter : core::BlendingFilters) cmbPolFilter->addItem(filter.text);
    cmbPolFilter->setCurrentIndex(0);
}

void Form1::cmbPolFilter_Click() {
    cmbPolFilter_Change();
    UpdateCameras();
}

void Form1::cmbPolFilter_Change() {
    using namespace Globals;
    if (Tag(cmbPolFilter) == DissableChange || NumSelPols == 0) return;
    const int32_t code = core::BlendingFilterCode(cmbPolFilter->currentText().toStdString());
    // The entry every selected polygon already has records nothing.
    if (allSelectedHave([](int32_t p) { return OMBREL_polygon_get_translucent(p); }, code)) return;
    auto record = ActionUndoRedo::New(ActChngPolTranslucency);
    record->ChngPolTranslucency->SetSelToCurrSel();
    record->ChngPolTranslucency->SetPrevTranslucency(OMBREL_polygon_get_translucent(SelPols[1]));
    record->ChngPolTranslucency->SetnewTranslucency(code);
    undo::PushThenRun(std::move(record), [code] {
        for (int32_t i = 1; i <= NumSelPols; ++i) OMBREL_polygon_set_translucent(SelPols[i], code);
    });
}

void Form1::cmbPolFilter_SetAccordingToSelPol() {
    using namespace Globals;
    if (NumSelPols == 0) return;
    // A code without an entry leaves the list as it is.
    const std::optional<int> entry = core::BlendingFilterIndex(OMBREL_polygon_get_translucent(SelPols[1]));
    if (!entry || *entry == cmbPolFilter->currentIndex()) return;
    cmbPolFilter->setCurrentIndex(*entry);
    cmbPolFilter_Click();
}

void Form1::ShowSelPolFilter() {
    TagGuard guard(cmbPolFilter, DissableChange);
    cmbPolFilter_SetAccordingToSelPol();
}

// ---- transparent colour

void Form1::chkEditPolTrans_Click() {
    if (SkipPolTransClick) {
        SkipPolTransClick = false;
        return;
    }
    if (polTransWrittenByRecord_) return;
    if (!chkEditPolTrans->isChecked()) {
        // Unchecking changes nothing on the polygons.
        cmdPoltextureTransparentClr->setEnabled(false);
        UpdateCameras();
        return;
    }
    cmdPoltextureTransparentClr->setEnabled(true);
    if (const std::string refusal = transparentColourRefusal(); !refusal.empty()) {
        refuse(refusal);
        cmdPoltextureTransparentClr->setEnabled(false);
        SkipPolTransClick = true;
        const auto skipped = qScopeGuard([this] { SkipPolTransClick = false; });
        chkEditPolTrans->setChecked(false);
    }
    UpdateCameras();
}

void Form1::cmdPoltextureTransparentClr_Click() {
    if (const std::string refusal = transparentColourRefusal(); !refusal.empty()) {
        refuse(refusal);
        return;
    }
    // The picker works on the selected polygon's bitmap and records its own change.
    if (ShowTrnsClrPcr) ShowTrnsClrPcr(0);
}

void Form1::SetPolTransparentControls(bool On, int32_t Colour) {
    polTransWrittenByRecord_ = true;
    const auto done = qScopeGuard([this] { polTransWrittenByRecord_ = false; });
    if (On) {
        setBackColor(cmdPoltextureTransparentClr, Colour);
    } else {
        showButtonFace(cmdPoltextureTransparentClr);
    }
    cmdPoltextureTransparentClr->setEnabled(On);
    chkEditPolTrans->setChecked(On);
}

// ---- the fill after every change of the polygon selection

void Form1::UpdateEditGeomTabBasedOnPolsSelected() {
    using namespace Globals;
    if (NumSelPols != 1) {
        // No single polygon to rename: no edit stays marked.
        txtSelPolName->setEnabled(false);
        txtSelPolName->setText(NumSelPols == 0 ? QString("None") : QString("%1 Pols selected").arg(NumSelPols));
        SetEditMark(txtSelPolName, false);
        if (NumSelPols == 0) showButtonFace(cmdPoltextureTransparentClr);
        return;
    }
    const int32_t p = SelPols[1];
    txtSelPolName->setEnabled(true);
    txtSelPolName->setText(QString::fromStdString(GetEntityName(p)));
    int32_t r = 0, g = 0, b = 0;
    OMBREL_polygon_get_color(p, &r, &g, &b);
    setBackColor(cmdGrpClr, platform::rgb(r, g, b));
    if (OMBREL_polygon_get_animation(p) == 0 && OMBREL_polygon_get_bitmap_handle(p) != 0 &&
        OMBREL_polygon_get_transparent_index(p) != -1) {
        // Its click enables the colour button.
        chkEditPolTrans->setChecked(true);
        OMBREL_polygon_get_transparent_rgb(p, &r, &g, &b);
        setBackColor(cmdPoltextureTransparentClr, platform::rgb(r, g, b));
    } else {
        showButtonFace(cmdPoltextureTransparentClr);
        chkEditPolTrans->setChecked(false);  // its click disables the button
    }
    {
        TagGuard guard(chkPolRotated, DissableClick);
        chkPolRotated->setChecked(OMBREL_polygon_is_rotated(p) == 1);
    }
    {
        TagGuard guard(txtPolLightDimu, DissableChange);
        txtPolLightDimu->setText(platform::NumberText(OMBREL_polygon_get_light_diminution(p)));
    }
    ShowSelPolFilter();
}
