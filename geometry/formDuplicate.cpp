#include "formDuplicate.h"

#include "CreationRecord.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "transform/TransformLimits.h"
#include "undo/SharedObjects.h"

#include "ombrel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {

constexpr int kMaxCopies = 99;

// The engine's reason, or a plain one when it gave none.
std::string engineError(const char* fallback) {
    const char* text = OMBREL_ext_get_last_error();
    return text && *text ? std::string(text) : std::string(fallback);
}

}  // namespace

formDuplicate::formDuplicate(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("formDuplicate"));
    setWindowTitle(QStringLiteral("Duplicate."));
    setModal(true);

    auto* copiesFrame = new QGroupBox(this);
    auto* copiesRow = new QHBoxLayout(copiesFrame);
    Label2 = new QLabel(QStringLiteral("Number of copies"), copiesFrame);
    Label2->setObjectName(QStringLiteral("Label2"));
    lblCopies = new QLabel(QStringLiteral("1"), copiesFrame);
    lblCopies->setObjectName(QStringLiteral("lblCopies"));
    lblCopies->setMinimumWidth(24);
    lblCopies->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    updwnCopies = new platform::UpDown(copiesFrame);
    updwnCopies->setObjectName(QStringLiteral("updwnCopies"));
    updwnCopies->Min = 1;
    updwnCopies->Max = kMaxCopies;
    updwnCopies->setValue(1);
    copiesRow->addWidget(Label2);
    copiesRow->addWidget(lblCopies);
    copiesRow->addWidget(updwnCopies);
    connect(updwnCopies, &platform::UpDown::Change, this, [this] { updwnCopies_Change(); });

    Frame1 = new QGroupBox(QStringLiteral("Offset."), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(Frame1);
    const char* axes[] = {"X", "Y", "Z"};
    platform::NumericField::Options options;
    options.applyOnSpinner = false;
    options.range = platform::kLengths;
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        Label1[k] = new QLabel(QString::fromLatin1(axes[i]), Frame1);
        Label1[k]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        auto* field = new platform::NumericField(options, Frame1);
        fldOffset[k] = field;
        txtOffset[k] = field->text();
        updwnOffset[k] = field->spinner();
        txtOffset[k]->setObjectName(QStringLiteral("txtOffset(%1)").arg(i));
        updwnOffset[k]->setObjectName(QStringLiteral("updwnOffset(%1)").arg(i));
        txtOffset[k]->setText(QStringLiteral("0"));
        field->onChange = [this, i] { platform::runTrapped(this, [&] { txtOffset_Change(i); }); };
        field->onSpinnerChange = [this, i] { platform::runTrapped(this, [&] { updwnOffset_Change(i); }); };
        field->apply = [this, i] { platform::runTrapped(this, [&] { txtOffset_LostFocus(i); }); };
        grid->addWidget(Label1[k], i, 0);
        grid->addWidget(field, i, 1);
    }

    auto* buttonsFrame = new QGroupBox(this);
    auto* buttons = new QVBoxLayout(buttonsFrame);
    cmdOK = new QPushButton(QStringLiteral("OK"), buttonsFrame);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), buttonsFrame);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);
    // After OK the dialog closes whatever happened (the selection it was opened
    // for no longer stands once copies were made), but for a refusal, which
    // leaves the count and offset to be changed.
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        refused_ = false;
        platform::runTrapped(this, [this] { cmdOK_Click(); });
        if (!refused_) accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto* left = new QVBoxLayout;
    left->addWidget(copiesFrame);
    left->addWidget(Frame1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttonsFrame);

    platform::runTrapped(this, [this] { Form_Load(); });
}

void formDuplicate::Form_Load() {
    for (platform::NumericField* field : fldOffset) field->spinner()->Tag = field->text()->text();
}

void formDuplicate::updwnCopies_Change() { lblCopies->setText(QString::number(updwnCopies->Value())); }

void formDuplicate::txtOffset_Change(int Index) { fldOffset[static_cast<std::size_t>(Index)]->CopyTextToTag(); }

void formDuplicate::txtOffset_LostFocus(int Index) { fldOffset[static_cast<std::size_t>(Index)]->ShowTag(); }

void formDuplicate::updwnOffset_Change(int Index) { fldOffset[static_cast<std::size_t>(Index)]->StepSpinner(); }

void formDuplicate::cmdOK_Click() {
    using namespace Globals;
    // OK ends an edit in an offset field as leaving it does.
    for (platform::NumericField* field : fldOffset) field->Commit();
    // The groups to copy, in the selection's order; cameras, lights and tracks
    // of a multiple selection are not copied.
    std::vector<int32_t> sources;
    if (CurrSelEntityType == SelGroup) sources.push_back(CurrSelEntityHandle);
    if (CurrSelEntityType == SelMultiple) {
        const MultipleSelection& selection = undo::CurrMultiSel();
        for (int32_t g = 1; g <= selection.NumOfGrps(); ++g) sources.push_back(selection.GetGrp(g));
    }
    // The last copy lies farthest: a move the numeric dialog would ignore makes
    // no copy at all.
    Point3d reach = {0, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) platform::ReadNumber(updwnOffset[i]->Tag, reach[i]);
    Maths::ScaleVector(reach, updwnCopies->Value());
    if (!transform::MoveStaysInWorld(transform::GroupsReach(sources), reach)) {
        refused_ = true;
        platform::msgBox("The last copy would lie beyond the world's limit of 1e12: no copy was made.",
                         platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    std::vector<int32_t> copies;
    std::exception_ptr failure;
    try {
        for (int32_t k = 1; k <= updwnCopies->Value(); ++k)
            for (int32_t group : sources) copies.push_back(CopyGroup(group, k));
    } catch (...) {
        failure = std::current_exception();
    }
    // What was made stays selected and undoable, an error part-way included.
    if (!copies.empty()) {
        try {
            SelectAndRecord(copies);
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
}

void formDuplicate::cmdCancel_Click() { reject(); }

int32_t formDuplicate::CopyGroup(int32_t group, int32_t k) {
    const int32_t copy = OMBREL_group_duplicate_tree(group);
    if (copy == 0) throw platform::EditorError(engineError("The group could not be copied."));
    OMBREL_group_set_father_group(copy, Globals::RootGrp);
    Point3d offset = {0, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) platform::ReadNumber(updwnOffset[i]->Tag, offset[i]);
    Maths::ScaleVector(offset, k);
    OMBREL_group_move(copy, offset.data(), 0);
    // The node shows the engine's name for the copy and its own hidden state.
    core::callHook(core::windowHooks().addGroupNode, copy, Globals::RootGrp);
    return copy;
}

void formDuplicate::SelectAndRecord(const std::vector<int32_t>& copies) {
    using namespace Globals;
    MultipleSelection& selection = undo::CurrMultiSel();
    SetPrevSelEntityToCurrSelEntity();
    selection.Reset();
    for (int32_t copy : copies) selection.AddGrpHandles(copy);
    if (selection.TotalEntities() == 1) {
        CurrSelEntityType = SelGroup;
        CurrSelEntityHandle = selection.GetGrp(1);
    } else {
        CurrSelEntityType = SelMultiple;
    }
    UpdateStatusBar();
    ThingsToDoOnSelectedEntityChange();
    UpdateCameras();
    geometry::RecordCreation();
}

namespace geometry {

void ShowDuplicateDialog(QWidget* owner) {
    formDuplicate dialog(owner);
    platform::showModal(dialog);
}

}  // namespace geometry
