// The model gallery page of the workspace: the folder tree, the preview, the
// pop-up menu's four commands and the drag of a model towards the views.
#include "Form1.h"
#include "ModelGallery.h"
#include "ModelGalleryInput.h"
#include "ModelGalleryStore.h"
#include "WorkspaceImages.h"

#include "core/Camera.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/files.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QDrag>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QUrl>

using namespace ModelGallery;

namespace {

constexpr int kPreviewSide = 128;
constexpr int kNoPreviewSide = 124;

// The stock picture of a model without a preview.
QPixmap noPreviewPicture() {
    QPixmap picture(kNoPreviewSide, kNoPreviewSide);
    picture.fill(QColor(96, 96, 96));
    QPainter painter(&picture);
    painter.setPen(QColor(220, 220, 220));
    painter.drawRect(0, 0, kNoPreviewSide - 1, kNoPreviewSide - 1);
    painter.drawText(picture.rect(), Qt::AlignCenter, "No Preview");
    return picture;
}

// An engine surface the size of the preview picture: the window the gallery
// renders its previews for.
class PreviewSurface {
public:
    PreviewSurface(int width, int height) : handle_(OMBREL_ext_surface_create(width, height)) {}
    ~PreviewSurface() {
        if (handle_ != 0) OMBREL_ext_surface_destroy(handle_);
    }
    PreviewSurface(const PreviewSurface&) = delete;
    PreviewSurface& operator=(const PreviewSurface&) = delete;
    int32_t handle() const { return handle_; }

private:
    int32_t handle_;
};

// Only the group is rendered while this lives.
class GroupToRender {
public:
    explicit GroupToRender(int32_t group) { OMBREL_engine_set_group_to_render(group); }
    ~GroupToRender() { OMBREL_engine_set_group_to_render(0); }
    GroupToRender(const GroupToRender&) = delete;
    GroupToRender& operator=(const GroupToRender&) = delete;
};

bool confirmed(const std::string& warning) {
    return platform::msgBox(warning, platform::MsgButtons::OKCancel, platform::MsgIcon::Critical) ==
           platform::MsgResult::OK;
}

}  // namespace

void Form1::buildModelGallery() {
    // Room for the whole picture below the frame's caption.
    frmModelPreview->setMinimumHeight(kPreviewSide + 3 * frmModelPreview->fontMetrics().height());
    picModelPreview = new QLabel(frmModelPreview);
    picModelPreview->setObjectName("picModelPreview");
    picModelPreview->setAlignment(Qt::AlignCenter);
    picNoPreview = new QLabel(frmModelPreview);
    picNoPreview->setObjectName("picNoPreview");
    picNoPreview->setPixmap(noPreviewPicture());
    picNoPreview->setVisible(false);
    InstallWorkspaceImages(*trwModel);

    mnuModelGallery->setTitle("ModelGallery");
    auto item = [this](const char* name, const char* caption, void (Form1::*handler)()) {
        QAction* action = mnuModelGallery->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, platform::trapped(this, [this, handler] { (this->*handler)(); }));
        return action;
    };
    mnuModelGalleryAdd = item("mnuModelGalleryAdd", "Add to Gallery", &Form1::mnuModelGalleryAdd_Click);
    mnuModelGalleryAddFolder = item("mnuModelGalleryAddFolder", "Add Folder", &Form1::mnuModelGalleryAddFolder_Click);
    mnuModelGalleryDeleteFolder =
        item("mnuModelGalleryDeleteFolder", "Delete Folder", &Form1::mnuModelGalleryDeleteFolder_Click);
    mnuModelGalleryRemove = item("mnuModelGalleryRemove", "Remove from Gallery", &Form1::mnuModelGalleryRemove_Click);

    trwModel->NodeExpand = [this](QTreeWidgetItem* node) { trwModel_Expand(node); };
    trwModel->NodeCollapse = [this](QTreeWidgetItem* node) { trwModel_Collapse(node); };
    connect(trwModel, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node, int) { trwModel_NodeClick(node); });

    auto* tree = new ModelGalleryInput(trwModel->viewport());
    tree->MouseUp = [this](int button, int shift, int x, int y) {
        platform::runTrapped(this, [&] { trwModel_MouseUp(button, shift, x, y); });
    };
    tree->DragStart = [this] { DragGalleryModel(); };
    auto* preview = new ModelGalleryInput(picModelPreview);
    preview->DragStart = [this] { DragGalleryModel(); };
    preview->Paint = [this] { picModelPreview_Paint(); };
    // Only to show, over the preview itself, whether its model can be dragged.
    picModelPreview->setAcceptDrops(true);
    preview->DragOver = [this](const QMimeData* data, int& effect) { picModelPreview_OLEDragOver(data, effect); };
    auto* frame = new ModelGalleryInput(frmModelPreview);
    frame->Resize = [this] { centreModelPreview(); };
}

void Form1::centreModelPreview() {
    picModelPreview->setGeometry((frmModelPreview->width() - kPreviewSide) / 2,
                                 (frmModelPreview->height() - kPreviewSide) / 2, kPreviewSide, kPreviewSide);
}

void Form1::frmModelPreview_Resize() {
    centreModelPreview();
    trwModel_Populate(*trwModel);
}

// A model keeps its image: expanding the whole tree also reports its leaves.
void Form1::trwModel_Expand(QTreeWidgetItem* Node) {
    if (!IsModelNode(Node)) trwModel->SetImage(Node, kFolderOpenImage);
}

void Form1::trwModel_Collapse(QTreeWidgetItem* Node) {
    if (!IsModelNode(Node)) trwModel->SetImage(Node, kFolderImage);
}

void Form1::trwModel_NodeClick(QTreeWidgetItem* Node) {
    platform::runTrapped(this, [&] { ShowModelPreview(Node); });
}

void Form1::ShowModelPreview(QTreeWidgetItem* Node) {
    picModelPreview->clear();
    if (!IsModelNode(Node)) return;
    QPixmap picture;
    if (picture.load(QString::fromStdString(PreviewPath(KeyedTree::Key(Node)))))
        picModelPreview->setPixmap(picture.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio));
    else
        picModelPreview->setPixmap(picNoPreview->pixmap());
}

void Form1::picModelPreview_Paint() {
    if (!RefreshModelPreview) return;
    RefreshModelPreview = false;
    QTreeWidgetItem* node = trwModel->SelectedItem();
    if (tabWorkspace->currentIndex() != 4 || !IsModelNode(node)) return;
    platform::runTrapped(this, [&] {
        const std::string preview = PreviewPath(KeyedTree::Key(node));
        if (!platform::fileExists(preview)) {
            picModelPreview->setPixmap(picNoPreview->pixmap());
            return;
        }
        QPixmap picture;
        if (!picture.load(QString::fromStdString(preview))) throw platform::EditorError("Invalid picture");
        picModelPreview->setPixmap(picture.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio));
    });
}

void Form1::trwModel_MouseUp(int Button, int, int x, int y) {
    if (Button != 2) return;
    QTreeWidgetItem* node = trwModel->itemAt(x, y);
    if (!node) return;
    // The commands act on the selected node: the one right-clicked.
    trwModel->SetSelectedItem(node);
    const bool root = IsRootNode(node);
    const bool model = IsModelNode(node);
    const bool folder = !root && !model;
    mnuModelGalleryAdd->setVisible(folder);
    mnuModelGalleryAddFolder->setVisible(folder || root);
    mnuModelGalleryDeleteFolder->setVisible(folder);
    mnuModelGalleryRemove->setVisible(model);
    platform::popupMenu(*mnuModelGallery, trwModel->viewport()->mapToGlobal(QPoint(x, y)));
}

void Form1::mnuModelGalleryAdd_Click() {
    using namespace Globals;
    if (CurrSelEntityType != SelGroup) {
        platform::msgBox("Please select a single group first.", platform::MsgButtons::OK,
                         platform::MsgIcon::Information);
        return;
    }
    QTreeWidgetItem* node = trwModel->SelectedItem();
    if (!node || IsModelNode(node)) return;
    const std::string folder = KeyedTree::Key(node);
    if (!IsRootNode(node) && !IsInsideGallery(folder)) return;
    const int32_t group = CurrSelEntityHandle;
    const std::string fileName = GetEntityName(group) + ".vandel";
    if (!IsUsableName(fileName)) {
        platform::msgBox("Sorry, the group's name cannot be used as a model file name!", platform::MsgButtons::OK,
                         platform::MsgIcon::Information);
        return;
    }
    PreviewSurface surface(picModelPreview->width(), picModelPreview->height());
    int32_t picture = 0;
    {
        GroupToRender only(group);
        picture = OMBREL_engine_render_on_bitmap(surface.handle(),
                                                 ViewCams[static_cast<std::size_t>(PicBoxFocused)]->lngSceneCamera);
    }
    const std::string path = folder + "/" + fileName;
    if (platform::fileExists(path) &&
        !confirmed("Warning: Model with same name already exists. Should it be replaced?"))
        return;
    switch (StoreModel(group, picture, path)) {
        case StoreResult::PreviewFailed:
            platform::msgBox("Failled saving to gallery. Note: Only 16 and 32 bit color supported!",
                             platform::MsgButtons::OK, platform::MsgIcon::Information);
            return;
        case StoreResult::ModelFailed:
            platform::msgBox("Failled saving to gallery.", platform::MsgButtons::OK, platform::MsgIcon::Information);
            return;
        case StoreResult::Stored:
            break;
    }
    QCoreApplication::processEvents();
    trwModel_Populate(*trwModel);
    QTreeWidgetItem* stored = trwModel->Item(path);
    trwModel->SetSelectedItem(stored);
    ShowModelPreview(stored);
}

void Form1::mnuModelGalleryAddFolder_Click() {
    QTreeWidgetItem* node = trwModel->SelectedItem();
    if (!node || IsModelNode(node)) return;
    const std::string name = platform::prompts().inputBox("Folder Name?", platform::kAppTitle, "");
    if (name.empty()) return;
    const std::string parent = KeyedTree::Key(node);
    const std::string path = parent + "/" + name;
    const auto refuse = [] { platform::msgBox("Sorry, cannot have a folder with this name!"); };
    if (IsReservedFolderName(name) || !IsUsableName(name) || (!IsRootNode(node) && !IsInsideGallery(parent))) {
        refuse();
        return;
    }
    if (platform::folderExists(path)) {
        platform::msgBox("Folder already exists!", platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    if (!platform::CreateDirectoryA(path)) {
        refuse();
        return;
    }
    trwModel_Populate(*trwModel);
    trwModel->SetSelectedItem(trwModel->Item(path));
}

void Form1::mnuModelGalleryDeleteFolder_Click() {
    QTreeWidgetItem* node = trwModel->SelectedItem();
    if (!node || IsModelNode(node)) return;
    if (IsRootNode(node)) {
        platform::msgBox("Sorry, the gallery folder itself cannot be deleted!", platform::MsgButtons::OK,
                         platform::MsgIcon::Information);
        return;
    }
    const std::string path = KeyedTree::Key(node);
    if (!IsInsideGallery(path)) return;
    if (!confirmed("Warning: This will delete all models residing within this folder. Do you really wish to continue?"))
        return;
    DeleteFolderTree(path);
    trwModel_Populate(*trwModel);
}

void Form1::mnuModelGalleryRemove_Click() {
    QTreeWidgetItem* node = trwModel->SelectedItem();
    if (!IsModelNode(node)) return;
    const std::string path = KeyedTree::Key(node);
    if (!IsInsideGallery(path)) return;
    if (!confirmed("Warning: This model will be permanently deleted!")) return;
    // From here on a failing step is passed over.
    platform::DeleteFileA(path);
    platform::DeleteFileA(PreviewPath(path));
    try {
        trwModel_Populate(*trwModel);
    } catch (const std::exception&) {
    }
    picModelPreview->clear();
}

std::optional<Qt::DropActions> Form1::picModelPreview_OLEStartDrag(QMimeData& Data) {
    QTreeWidgetItem* node = trwModel->SelectedItem();
    if (!node) return std::nullopt;
    if (!IsModelNode(node)) return Qt::DropActions(Qt::IgnoreAction);
    const std::string path = KeyedTree::Key(node);
    Data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    GalleryDragFile = path;
    return Qt::DropActions(Qt::MoveAction);
}

void Form1::picModelPreview_OLEDragOver(const QMimeData*, int& Effect) {
    Effect = IsModelNode(trwModel->SelectedItem()) ? 2 : 0;
}

void Form1::DragGalleryModel() {
    auto data = std::make_unique<QMimeData>();
    std::optional<Qt::DropActions> allowed;
    platform::runTrapped(this, [&] { allowed = picModelPreview_OLEStartDrag(*data); });
    if (!allowed || *allowed == Qt::IgnoreAction) return;
    auto* drag = new QDrag(trwModel);
    drag->setMimeData(data.release());
    if (const QPixmap picture = picModelPreview->pixmap(); !picture.isNull())
        drag->setPixmap(picture.scaled(64, 64, Qt::KeepAspectRatio));
    drag->exec(*allowed);
    // A drag that ended anywhere but on a view leaves nothing for a later drop.
    GalleryDragFile.clear();
}
