#include "formSelectionWindow.h"

#include "AttachGroups.h"

#include "core/Camera.h"
#include "core/CoreError.h"
#include "core/CoreTypes.h"
#include "core/EntityProcedures.h"
#include "core/GroupHierarchy.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/ObjectSelection.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "core/SyncViewWithCamera.h"
#include "core/ViewHooks.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "platform/prompts.h"
#include "undo/SelectionGestures.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <unordered_map>
#include <vector>

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kHandleRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;

bool isEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

bool hidden(int32_t kind, int32_t handle) {
    const auto& h = core::windowHooks();
    const auto& test = kind == SelGroup ? h.isGrpHidden : kind == SelCamera ? h.isCamHidden : h.isLightHidden;
    return test && test(handle);
}

// The selected lines of the list, in list order.
std::vector<const QListWidgetItem*> selectedLines(const QListWidget& list) {
    std::vector<const QListWidgetItem*> out;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->isSelected()) out.push_back(list.item(i));
    return out;
}

}  // namespace

formSelectionWindow::formSelectionWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("formSelectionWindow"));
    setWindowTitle(QStringLiteral("Selection Window"));
    setModal(true);

    auto* lists = new QGridLayout;
    for (int i = 0; i < 2; ++i) {
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("lstSelection(%1)").arg(i));
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->installEventFilter(this);
        lists->addWidget(list, 0, 0);
        lstSelection[static_cast<std::size_t>(i)] = list;
        connect(list, &QListWidget::itemDoubleClicked, this, [this, i](QListWidgetItem*) { lstSelection_DblClick(i); });
    }
    frmSelectionType = new QGroupBox(this);
    frmSelectionType->setObjectName(QStringLiteral("frmSelectionType"));
    auto* boxes = new QVBoxLayout(frmSelectionType);
    chkGroups = new QCheckBox(QStringLiteral("Groups"), frmSelectionType);
    chkCams = new QCheckBox(QStringLiteral("Cameras"), frmSelectionType);
    chkLights = new QCheckBox(QStringLiteral("Lights"), frmSelectionType);
    chkGroups->setObjectName(QStringLiteral("chkGroups"));
    chkCams->setObjectName(QStringLiteral("chkCams"));
    chkLights->setObjectName(QStringLiteral("chkLights"));
    for (QCheckBox* box : {chkGroups, chkCams, chkLights}) {
        boxes->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!loading_) RefillSelectionList();
        });
    }
    cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter is the window's own key, never a default button's.
    for (QPushButton* b : {cmdOk, cmdCancel}) b->setAutoDefault(false);
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto* side = new QVBoxLayout;
    side->addWidget(frmSelectionType);
    side->addWidget(cmdOk);
    side->addWidget(cmdCancel);
    side->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(side);
    resize(360, 300);
}

formSelectionWindow::~formSelectionWindow() = default;

void formSelectionWindow::SetSelectionType(int32_t TypeGrp, int32_t TypeCam, int32_t TypeLight,
                                           int16_t LocSelectionType, int32_t Selection_Action,
                                           int32_t MultipleSelectMode) {
    TypeGrp_ = TypeGrp;
    TypeCam_ = TypeCam;
    TypeLight_ = TypeLight;
    LocSelectionType_ = LocSelectionType;
    Selection_Action_ = Selection_Action;
    MultipleSelectMode_ = MultipleSelectMode;
}

int formSelectionWindow::GetListItemIndex(const QListWidget* List, const std::string& Item) {
    const QString wanted = QString::fromStdString(Item);
    for (int i = 0; i < List->count(); ++i)
        if (List->item(i)->text() == wanted) return i;
    return -1;
}

int32_t formSelectionWindow::LineHandle(const QListWidgetItem* line) { return line->data(kHandleRole).toInt(); }
int32_t formSelectionWindow::LineKind(const QListWidgetItem* line) { return line->data(kKindRole).toInt(); }

QListWidget* formSelectionWindow::ShownList() const {
    return shownIndex_ < 0 ? nullptr : lstSelection[static_cast<std::size_t>(shownIndex_)];
}

void formSelectionWindow::RethrowActionError() {
    if (std::exception_ptr e = std::exchange(actionError_, nullptr)) std::rethrow_exception(e);
}

// ---- loading

void formSelectionWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void formSelectionWindow::Form_Load() {
    // The boxes are set without refilling at each one: the list is filled once.
    loading_ = true;
    ApplySelectionType();
    loading_ = false;
    RefillSelectionList();
    MarkCurrentSelectionInList();
}

void formSelectionWindow::ApplySelectionType() {
    purpose_ = Selection_Action_;
    // A view looks through one camera; groups are attached several at once.
    lstSelection[0]->setSelectionMode(purpose_ == ViewThroughCamera ? QAbstractItemView::SingleSelection
                                                                    : QAbstractItemView::ExtendedSelection);
    ChooseSelectionList(MultipleSelectMode_);
    frmSelectionType->setEnabled(LocSelectionType_ != -1);
    for (QCheckBox* box : {chkGroups, chkCams, chkLights}) box->setEnabled(LocSelectionType_ != -1);
    chkGroups->setChecked(TypeGrp_ == -1);
    chkCams->setChecked(TypeCam_ == -1);
    chkLights->setChecked(TypeLight_ == -1);
}

void formSelectionWindow::ChooseSelectionList(int32_t mode) {
    for (QListWidget* list : lstSelection) list->setVisible(false);
    shownIndex_ = mode == 0 ? 0 : mode == 2 ? 1 : -1;
    if (QListWidget* list = ShownList()) list->setVisible(true);
}

void formSelectionWindow::RefillSelectionList() {
    QListWidget* list = ShownList();
    if (!list) return;
    list->setUpdatesEnabled(false);
    list->clear();
    if (chkCams->isChecked()) AddToList(SelCamera);
    if (chkLights->isChecked()) AddToList(SelLight);
    if (chkGroups->isChecked()) AddToList(SelGroup);
    list->setUpdatesEnabled(true);
}

void formSelectionWindow::AddToList(int32_t kind) {
    const auto& entities = core::windowHooks().treeEntities;
    if (!entities) return;
    QListWidget* list = ShownList();
    for (const core::TreeEntity& e : entities(kind)) {
        if (hidden(kind, e.handle)) continue;
        auto* line = new QListWidgetItem(QString::fromStdString(e.text));
        line->setData(kHandleRole, e.handle);
        line->setData(kKindRole, kind);
        list->addItem(line);
    }
}

void formSelectionWindow::MarkCurrentSelectionInList() {
    using namespace Globals;
    QListWidget* list = ShownList();
    if (!list) return;
    // The window shows only top-level groups: a nested group stands for its
    // top-level ancestor here, while the selection itself stays as it is.
    auto lineGroup = [](int32_t group) { return GetTopMostFatherGrpExcludingRootGrp(group); };
    if (purpose_ == SelectByName) {
        std::unordered_map<int64_t, QListWidgetItem*> lines;
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* line = list->item(i);
            lines.emplace(int64_t{LineKind(line)} << 32 | static_cast<uint32_t>(LineHandle(line)), line);
        }
        auto mark = [&](int32_t kind, int32_t handle) {
            const auto it = lines.find(int64_t{kind} << 32 | static_cast<uint32_t>(handle));
            if (it != lines.end()) it->second->setSelected(true);
        };
        switch (CurrSelEntityType) {
        case SelGroup:
            if (CurrSelEntityHandle != 0) mark(SelGroup, lineGroup(CurrSelEntityHandle));
            break;
        case SelCamera:
        case SelLight: mark(CurrSelEntityType, CurrSelEntityHandle); break;
        case SelMultiple:
            if (!CurrMultiSel) break;
            for (int32_t i = 1; i <= CurrMultiSel->NumOfGrps(); ++i) mark(SelGroup, lineGroup(CurrMultiSel->GetGrp(i)));
            for (int32_t i = 1; i <= CurrMultiSel->NumOfLights(); ++i) mark(SelLight, CurrMultiSel->GetLight(i));
            for (int32_t i = 1; i <= CurrMultiSel->NumOfCams(); ++i) mark(SelCamera, CurrMultiSel->GetCam(i));
            break;
        default: break;
        }
    } else if (purpose_ == AttachGroups && CurrSelEntityType == SelGroup) {
        // Neither the receiving group nor any of its fathers can go under it.
        for (int i = list->count() - 1; i >= 0; --i)
            if (IsGroupOrAncestor(LineHandle(list->item(i)), CurrSelEntityHandle)) delete list->takeItem(i);
    }
}

// ---- ways out

void formSelectionWindow::actAndClose() {
    try {
        DoSelectionAction();
        actionDone_ = true;
    } catch (...) {
        actionError_ = std::current_exception();
    }
    close();
}

void formSelectionWindow::cmdOk_Click() { actAndClose(); }

void formSelectionWindow::cmdCancel_Click() { close(); }

void formSelectionWindow::lstSelection_DblClick(int) { actAndClose(); }

void formSelectionWindow::lstSelection_KeyPress(int, int KeyAscii) {
    if (KeyAscii == kEnter) actAndClose();
}

void formSelectionWindow::Form_KeyPress(int KeyAscii) {
    if (KeyAscii == kEscape) close();
    if (KeyAscii == kEnter) lstSelection_DblClick(shownIndex_);
}

void formSelectionWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return Form_KeyPress(kEscape);
    if (isEnter(event)) return Form_KeyPress(kEnter);
    QDialog::keyPressEvent(event);
}

bool formSelectionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
        for (int i = 0; i < 2; ++i)
            if (watched == lstSelection[static_cast<std::size_t>(i)]) {
                lstSelection_KeyPress(i, kEnter);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void formSelectionWindow::done(int result) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    QDialog::done(result);
}

void formSelectionWindow::Form_Unload() { shownIndex_ = -1; }

// ---- the three purposes

void formSelectionWindow::DoSelectionAction() {
    switch (purpose_) {
    case ViewThroughCamera: ViewThroughSelectedCamera(); break;
    case SelectByName: SelectListedEntities(); break;
    case AttachGroups: AttachSelectedGroups(); break;
    default: break;
    }
}

void formSelectionWindow::ViewThroughSelectedCamera() {
    QListWidget* list = ShownList();
    const std::vector<const QListWidgetItem*> chosen = list ? selectedLines(*list) : std::vector<const QListWidgetItem*>{};
    const QListWidgetItem* line = chosen.empty() ? nullptr : chosen.front();
    if (!line || line->text().isEmpty()) return;
    const int32_t camera = LineHandle(line);
    const int view = MenuIndex;
    if (view < 0 || view > 3 || !Globals::ViewCams[static_cast<std::size_t>(view)])
        core::raiseError("There is no view " + std::to_string(view) + " to look through a camera");
    // The view follows the camera by its handle; its label names it.
    Globals::ViewCams[static_cast<std::size_t>(view)]->ViewedSceneCamera = camera;
    core::callHook(core::viewHooks().setViewLabel, view, std::string("Camera"), Globals::GetEntityName(camera));
    SyncViewWithCamera(camera, view);
    Globals::ChosenViewType = ViewWorldCamera;
}

void formSelectionWindow::SelectListedEntities() {
    using namespace Globals;
    QListWidget* list = ShownList();
    SetPrevSelEntityToCurrSelEntity();
    const std::vector<const QListWidgetItem*> chosen = list ? selectedLines(*list) : std::vector<const QListWidgetItem*>{};
    if (chosen.empty()) {
        CurrSelEntityType = SelNone;
        UpdateCameras();
        ThingsToDoOnSelectedEntityChange();
        return;
    }
    if (!CurrMultiSel) core::raiseError("The current selection has not been created");
    MultipleSelection& multi = *CurrMultiSel;
    multi.Reset();
    auto add = [&](int32_t kind, QCheckBox* box, void (MultipleSelection::*adder)(int32_t)) {
        if (!box->isChecked()) return;
        for (const QListWidgetItem* line : chosen)
            if (LineKind(line) == kind) (multi.*adder)(LineHandle(line));
    };
    add(SelGroup, chkGroups, &MultipleSelection::AddGrpHandles);
    add(SelLight, chkLights, &MultipleSelection::AddLightHandles);
    add(SelCamera, chkCams, &MultipleSelection::AddCamHandles);
    SetSelKindFromMultiSel();
    ComputeSelObjsAvgCenter();
    ThingsToDoOnSelectedEntityChange();
    UpdateCameras();
    RecordSelectionChange();
}

void formSelectionWindow::AttachSelectedGroups() {
    QListWidget* list = ShownList();
    if (!list || Globals::CurrSelEntityType != SelGroup) return;
    std::vector<int32_t> groups;
    for (const QListWidgetItem* line : selectedLines(*list))
        if (LineKind(line) == SelGroup) groups.push_back(LineHandle(line));
    scene::AttachGroupsUnder(groups, Globals::CurrSelEntityHandle);
}

// ---- callers

namespace scene {

bool ShowSelectionWindow(QWidget* owner, int32_t TypeGrp, int32_t TypeCam, int32_t TypeLight,
                         int16_t LocSelectionType, int32_t Selection_Action, int32_t MultipleSelectMode,
                         int16_t MenuIndex) {
    formSelectionWindow window(owner);
    window.SetSelectionType(TypeGrp, TypeCam, TypeLight, LocSelectionType, Selection_Action, MultipleSelectMode);
    window.MenuIndex = MenuIndex;
    platform::showModal(window);
    window.RethrowActionError();
    return window.ActionDone();
}

}  // namespace scene
