// The create panel (the "New Object" frame of the workspace's Edit page) and the
// duplicate command's dialog. The rules live in geometry/; these handlers move
// the values between the panel's controls and them.
#include "Form1.h"

#include "core/Globals.h"
#include "geometry/CreatePanel.h"
#include "geometry/formDuplicate.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kDimCaption = 30;
constexpr int kSegCaption = 25;

void setField(QLabel* label, platform::NumericField* field, bool visible, const std::string& caption, double value) {
    label->setVisible(visible);
    label->setText(QString::fromStdString(caption));
    field->setVisible(visible);
    field->spinner()->Tag = platform::NumberText(value);
    field->text()->setText(field->spinner()->Tag);
}

// A spinner click folded into the field's value, kept at the minimum or above.
void stepField(platform::NumericField* field, double minimum) {
    platform::UpDown* spinner = field->spinner();
    const int position = spinner->Value();
    if (position == 0) return;  // the change raised by putting the spinner back
    const double value = geometry::StepValue(platform::TagValue(spinner), position, minimum);
    spinner->setValue(0);
    spinner->Tag = platform::NumberText(value);
    field->text()->setText(spinner->Tag);
}

}  // namespace

void Form1::buildGeometryTools() {
    auto* grid = new QGridLayout;
    platform::NumericField::Options options;
    options.applyOnSpinner = false;
    auto addField = [&](int row, int caption, const char* textName, const char* spinName, const char* text,
                        platform::NumericField*& field, QLineEdit*& edit, platform::UpDown*& spinner) {
        auto* label = new QLabel(frmNewObj);
        label->setObjectName(QStringLiteral("Label23(%1)").arg(caption));
        Label23[caption] = label;
        field = new platform::NumericField(options, frmNewObj);
        edit = field->text();
        spinner = field->spinner();
        edit->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(textName)).arg(row % 3));
        spinner->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(spinName)).arg(row % 3));
        edit->setText(QString::fromLatin1(text));
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        options.range = platform::kLengths;
        addField(i, kDimCaption + i, "txtBoxDim", "updwnBoxDim", "100", fldBoxDim[k], txtBoxDim[k], updwnBoxDim[k]);
        fldBoxDim[k]->onChange = [this, i] { platform::runTrapped(this, [&] { txtBoxDim_Change(i); }); };
        fldBoxDim[k]->onSpinnerChange = [this, i] { platform::runTrapped(this, [&] { updwnBoxDim_Change(i); }); };
    }
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        options.range = platform::kWholeNumbers;
        addField(3 + i, kSegCaption + i, "txtBoxSegments", "updwnBoxSegments", "1", fldBoxSegments[k],
                 txtBoxSegments[k], updwnBoxSegments[k]);
        fldBoxSegments[k]->onChange = [this, i] { platform::runTrapped(this, [&] { txtBoxSegments_Change(i); }); };
        // Enter and leaving make the count whole and raise it to the kind's minimum.
        fldBoxSegments[k]->apply = [this, i] { platform::runTrapped(this, [&] { txtBoxSegments_LostFocus(i); }); };
        fldBoxSegments[k]->onSpinnerChange = [this, i] {
            platform::runTrapped(this, [&] { updwnBoxSegments_Change(i); });
        };
    }
    // Between the kind and the Create button.
    static_cast<QVBoxLayout*>(frmNewObj->layout())->insertLayout(1, grid);
    cmdCreate->setText(QStringLiteral("&Create"));
    connect(cmbNewObjType, &QComboBox::currentTextChanged, this,
            [this](const QString&) { platform::runTrapped(this, [this] { cmbNewObjType_Change(); }); });

    ShowDuplicateDialog = [this] { geometry::ShowDuplicateDialog(this); };
}

void Form1::cmbNewObjType_Populate() {
    cmbNewObjType->clear();
    for (const char* kind : geometry::kPrimitiveKinds) cmbNewObjType->addItem(QString::fromLatin1(kind));
    cmbNewObjType->setCurrentText("BOX");
}

void Form1::cmbNewObjType_Change() {
    const geometry::KindSetup* setup = geometry::FindKindSetup(cmbNewObjType->currentText().toStdString());
    if (!setup) return;
    // The defaults are written under the new kind's minimums: those of the kind
    // chosen before play no part.
    Globals::BoxSegments = setup->minimums;
    for (int i = 0; i < 3; ++i) {
        const geometry::PanelField& f = setup->dims[static_cast<std::size_t>(i)];
        SetDimField(i, f.visible, f.caption, f.value);
    }
    for (int i = 0; i < 3; ++i) {
        const geometry::PanelField& f = setup->counts[static_cast<std::size_t>(i)];
        SetSegField(i, f.visible, f.caption, f.value);
    }
    SetSegMinimums(setup->minimums[0], setup->minimums[1], setup->minimums[2]);
}

void Form1::SetDimField(int Index, bool Visible, const std::string& Caption, double Value) {
    setField(Label23.at(kDimCaption + Index), fldBoxDim[static_cast<std::size_t>(Index)], Visible, Caption, Value);
}

void Form1::SetSegField(int Index, bool Visible, const std::string& Caption, double Value) {
    setField(Label23.at(kSegCaption + Index), fldBoxSegments[static_cast<std::size_t>(Index)], Visible, Caption,
             Value);
}

void Form1::SetSegMinimums(int32_t Min0, int32_t Min1, int32_t Min2) {
    Globals::BoxSegments = {Min0, Min1, Min2};
    for (int i = 0; i < 3; ++i) txtBoxSegments_LostFocus(i);
}

void Form1::txtBoxDim_Change(int Index) { fldBoxDim[static_cast<std::size_t>(Index)]->CopyTextToTag(); }

// While typed, a count is kept as it stands: "1" on the way to "16" is no count yet.
void Form1::txtBoxSegments_Change(int Index) { fldBoxSegments[static_cast<std::size_t>(Index)]->CopyTextToTag(); }

void Form1::txtBoxSegments_LostFocus(int Index) {
    const auto k = static_cast<std::size_t>(Index);
    // The count it rounds to, at least the minimum; text that is none gets the last count back.
    if (const auto value = geometry::AcceptCountText(txtBoxSegments[k]->text(), Globals::BoxSegments[k]))
        updwnBoxSegments[k]->Tag = platform::NumberText(*value);
    fldBoxSegments[k]->ShowTag();
}

void Form1::updwnBoxDim_Change(int Index) {
    stepField(fldBoxDim[static_cast<std::size_t>(Index)], geometry::kDimensionMinimum);
}

void Form1::updwnBoxSegments_Change(int Index) {
    const auto k = static_cast<std::size_t>(Index);
    stepField(fldBoxSegments[k], Globals::BoxSegments[k]);
}

void Form1::cmdCreate_Click() {
    if (!PrimitiveBuilders) throw platform::EditorError("The primitive builders have not been created");
    // Create ends an edit in a field as leaving it does.
    for (std::size_t i = 0; i < 3; ++i) {
        fldBoxDim[i]->Settle();
        fldBoxSegments[i]->Commit();
    }
    geometry::PanelValues values;
    for (std::size_t i = 0; i < 3; ++i) {
        values.dims[i] = platform::TagValue(updwnBoxDim[i]);
        values.counts[i] = platform::TagValue(updwnBoxSegments[i]);
    }
    geometry::CreatePrimitive(*PrimitiveBuilders, cmbNewObjType->currentText().toStdString(), values);
}

void Form1::PresetCreatePanel(const std::string& ShapeName) {
    tabWorkspace->setCurrentIndex(1);
    tabWorkspace_Click(0);
    cmbObj->setCurrentText("New Object");
    const int index = cmbNewObjType->findText(QString::fromStdString(ShapeName), Qt::MatchFixedString);
    // The same kind raises no change, yet its defaults come back as for another.
    if (index == cmbNewObjType->currentIndex())
        cmbNewObjType_Change();
    else if (index >= 0)
        cmbNewObjType->setCurrentIndex(index);
    QCoreApplication::processEvents();
    cmdCreate_Click();
}
