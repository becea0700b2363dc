// The background panel of the camera, track and background page: the selected
// background's name, distance, bottom, bottom intensity, intensity step and
// bitmap. A field applies on Enter only; leaving it shows the engine's value
// again. A typed change is marked (bold) until the engine's value shows again.
// Not recorded for undo.
#include "Form1.h"
#include "FieldEvents.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/StringProcedures.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "views/ViewRedraw.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

// The numeric fields' engine setters and getters, by field.
struct NumberAccess {
    int32_t (*set)(int32_t background, double value);
    double (*get)(int32_t background);
};

NumberAccess numberAccess(int field) {
    switch (field) {
    case Form1::BkgDist: return {OMBREL_background_set_distance, OMBREL_background_get_distance};
    case Form1::BkgBottom: return {OMBREL_background_set_bottom, OMBREL_background_get_bottom};
    case Form1::BkgBottomInt:
        return {OMBREL_background_set_bottom_intensity, OMBREL_background_get_bottom_intensity};
    default: return {OMBREL_background_set_intensity_step, OMBREL_background_get_intensity_step};
    }
}

void setEditMark(QLineEdit* field, bool on) {
    QFont font = field->font();
    font.setBold(on);
    field->setFont(font);
}

int32_t selectedBackground() {
    return Globals::CurrSelEntityType == SelBackground ? Globals::CurrSelEntityHandle : 0;
}

}  // namespace

void Form1::buildBackgroundPanel() {
    auto* grid = new QGridLayout(frmBackground);
    auto addField = [&](int row, QWidget* caption, const char* name) {
        auto* field = new QLineEdit(frmBackground);
        field->setObjectName(name);
        grid->addWidget(caption, row, 0);
        grid->addWidget(field, row, 1);
        return field;
    };
    auto label = [this](const char* caption) { return new QLabel(caption, frmBackground); };
    txtBkgName = addField(0, label("Name"), "txtBkgName");
    cmbBkgMap = new QPushButton("Bitmap", frmBackground);
    cmbBkgMap->setObjectName("cmbBkgMap");
    txtBkgMap = addField(1, cmbBkgMap, "txtBkgMap");
    txtBkgMap->setReadOnly(true);
    txtBkgDist = addField(2, label("Distance"), "txtBkgDist");
    txtBkgBottom = addField(3, label("Bottom"), "txtBkgBottom");
    txtBkgBottomInt = addField(4, label("Intensity"), "txtBkgBottomInt");
    txtBkgIntStp = addField(5, label("Intensity Step"), "txtBkgIntStp");
    txtBkg = {txtBkgName, txtBkgDist, txtBkgBottom, txtBkgBottomInt, txtBkgIntStp};
}

void Form1::connectBackgroundPanel() {
    platform::AcceptNumbers(txtBkgDist, platform::kLengths);
    platform::AcceptNumbers(txtBkgBottom, platform::kLengths);
    platform::AcceptNumbers(txtBkgBottomInt, platform::kFloatValues);
    platform::AcceptNumbers(txtBkgIntStp, platform::kFloatValues);
    for (int i = 0; i < static_cast<int>(txtBkg.size()); ++i) {
        QLineEdit* field = txtBkg[static_cast<std::size_t>(i)];
        connect(field, &QLineEdit::textChanged, this, [this, i] { txtBkg_Change(i); });
        auto* events = new FieldEvents(field);
        events->KeyPress = [this, i](int key) { platform::runTrapped(this, [&] { txtBkg_KeyPress(i, key); }); };
        events->LostFocus = [this, i] { platform::runTrapped(this, [&] { txtBkg_LostFocus(i); }); };
    }
    connect(cmbBkgMap, &QPushButton::clicked, this, platform::trapped(this, [this] { cmbBkgMap_Click(); }));
}

// The background frame shown and filled for the selected background.
void Form1::showBackgroundPanel() {
    SetCamWorkspaceFrame(frmBackground);
    frmBackground_SetParameters();
}

void Form1::frmBackground_SetParameters() {
    const int32_t background = selectedBackground();
    if (background == 0) return;
    // Filling the fields marks none of them and writes nothing back.
    QScopedValueRollback<bool> filling(SettingBkgParams, true);
    for (int i = 0; i < static_cast<int>(txtBkg.size()); ++i) txtBkg_LostFocus(i);
    const int32_t bitmap = OMBREL_background_get_bitmap(background);
    const QString map = bitmap != 0 ? QString::fromStdString(Globals::GetEntityName(bitmap)) : QString();
    txtBkgMap->setText(map);
    txtBkgMap->setToolTip(map);
}

bool Form1::BkgEditMarked(int Field) const { return txtBkg.at(static_cast<std::size_t>(Field))->font().bold(); }

void Form1::txtBkg_Change(int Field) {
    if (!SettingBkgParams) setEditMark(txtBkg.at(static_cast<std::size_t>(Field)), true);
}

void Form1::txtBkg_KeyPress(int Field, int KeyAscii) {
    const int32_t background = selectedBackground();
    if (KeyAscii != 13 || background == 0) return;
    QLineEdit* field = txtBkg.at(static_cast<std::size_t>(Field));
    if (Field == BkgName) {
        // A name of blanks only is refused: the field gets the engine's name back.
        const std::string name = Globals::Trim(field->text().toStdString());
        if (!name.empty()) {
            // Renamed in place, the node stays the tree's selected node.
            trwCamTrackBK->Item(KeyedTree::NodeKey("Background", background))->setText(0, QString::fromStdString(name));
            OMBREL_background_set_name(background, name.c_str());
        }
    } else {
        double value = 0;
        if (platform::HoldsNumber(field, value)) numberAccess(Field).set(background, value);
    }
    txtBkg_LostFocus(Field);
    UpdateCameras();
}

void Form1::txtBkg_LostFocus(int Field) {
    const int32_t background = selectedBackground();
    if (background == 0) return;
    QLineEdit* field = txtBkg.at(static_cast<std::size_t>(Field));
    // An edit not confirmed with Enter is dropped.
    if (Field == BkgName)
        field->setText(QString::fromStdString(Globals::GetEntityName(background)));
    else
        field->setText(platform::NumberText(numberAccess(Field).get(background)));
    setEditMark(field, false);
}

void Form1::ShowBkgName(const std::string& Name) {
    QScopedValueRollback<bool> filling(SettingBkgParams, true);
    txtBkgName->setText(QString::fromStdString(Name));
    setEditMark(txtBkgName, false);
}

void Form1::cmbBkgMap_Click() {
    const int32_t background = selectedBackground();
    if (background == 0) return;
    platform::FileRequest request;
    request.title = "Open";
    request.filter = "*.bmp;*.jpg (*.bmp *.jpg)";
    const std::string path = platform::prompts().openFileName(request);
    // A cancelled dialog changes nothing.
    if (path.empty()) return;
    const int32_t bitmap = OMBREL_bitmap_load(path.c_str(), -1);
    if (bitmap == 0) {
        platform::msgBox("Unsupported bitmap.", platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    txtBkgMap->setText(QString::fromStdString(path));
    txtBkgMap->setToolTip(QString::fromStdString(path));
    OMBREL_background_set_bitmap(background, bitmap);
    UpdateCameras();
}
