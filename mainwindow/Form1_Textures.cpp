// The textures page: the tree of the world's bitmaps and animations, the preview
// of the clicked entry (an animation played by tmrAnimPreview), the apply buttons
// and the tree's menu with New, Edit, Update and Delete. The commands' own work
// is in textures/; these handlers keep the tree and the preview in step.
#include "Form1.h"
#include "ModelGalleryInput.h"
#include "Twips.h"
#include "formAnimation.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "textures/PicturePreview.h"
#include "textures/TextureCommands.h"
#include "textures/formTrnsClrPcr.h"
#include "views/ViewRedraw.h"

#include "ombrel.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kTexturesPage = 3;

template <class Control>
Control* named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

QAction* menuItem(QMenu* menu, const char* name, const char* caption) {
    return named(menu->addAction(caption), name);
}

}  // namespace

void Form1::buildTexturesPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    trwTextures = named(new KeyedTree(page), "trwTextures");
    frmTexturePreview = named(new QGroupBox(page), "frmTexturePreview");
    frmTexturePreview->setMinimumHeight(Twips::toPixels(1500));
    lblTextureDim = named(new QLabel("0 x 0", page), "lblTextureDim");
    imgTexture = named(new textures::PicturePreview(lblTextureDim, frmTexturePreview), "imgTexture");
    auto* previewLayout = new QVBoxLayout(frmTexturePreview);
    previewLayout->addWidget(imgTexture);
    const char* captions[] = {"Apply to Group", "Apply to Selected Polygons"};
    for (std::size_t i = 0; i < cmdTextureApplyToSel.size(); ++i) {
        cmdTextureApplyToSel[i] = named(new QPushButton(captions[i], page), QString("cmdTextureApplyToSel%1").arg(i));
        cmdTextureApplyToSel[i]->setEnabled(false);
    }
    layout->addWidget(trwTextures, 1);
    layout->addWidget(frmTexturePreview);
    layout->addWidget(lblTextureDim);
    for (QPushButton* button : cmdTextureApplyToSel) layout->addWidget(button);

    mnuTexture->setTitle("Texture");
    mnuTextureNew = menuItem(mnuTexture, "mnuTextureNew", "&New");
    mnuTextureEdit = menuItem(mnuTexture, "mnuTextureEdit", "&Edit");
    mnuTextureUpdate = menuItem(mnuTexture, "mnuTextureUpdate", "&Update");
    mnuTextureDelete = menuItem(mnuTexture, "mnuTextureDelete", "&Delete");
}

void Form1::connectTextures() {
    auto trap = [this](void (Form1::*handler)()) {
        return platform::trapped(this, [this, handler] { (this->*handler)(); });
    };
    connect(trwTextures, &QTreeWidget::itemClicked, this, trap(&Form1::trwTextures_NodeClick));
    trwTextures->SetLabelEditHandler([this](QTreeWidgetItem* node, const std::string& text) {
        std::optional<std::string> kept;
        platform::runTrapped(this, [&] { kept = trwTextures_AfterLabelEdit(node, text); });
        return kept;
    });
    trwTextures->NodeExpand = [this](QTreeWidgetItem* node) { trwTextures_Expand(node); };
    trwTextures->NodeCollapse = [this](QTreeWidgetItem* node) { trwTextures_Collapse(node); };
    auto* mouse = new ModelGalleryInput(trwTextures->viewport());
    mouse->MouseUp = [this](int button, int shift, int x, int y) {
        platform::runTrapped(this, [&] { trwTextures_MouseUp(button, shift, x, y); });
    };
    connect(tmrAnimPreview, &QTimer::timeout, this, trap(&Form1::tmrAnimPreview_Timer));
    for (int i = 0; i < 2; ++i)
        connect(cmdTextureApplyToSel[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                platform::trapped(this, [this, i] { cmdTextureApplyToSel_Click(i); }));
    connect(mnuTextureNew, &QAction::triggered, this, trap(&Form1::mnuTextureNew_Click));
    connect(mnuTextureEdit, &QAction::triggered, this, trap(&Form1::mnuTextureEdit_Click));
    connect(mnuTextureUpdate, &QAction::triggered, this, trap(&Form1::mnuTextureUpdate_Click));
    connect(mnuTextureDelete, &QAction::triggered, this, trap(&Form1::mnuTextureDelete_Click));
    // The polygon panel's transparent-colour button opens the picker on its polygon.
    ShowTrnsClrPcr = [this](int CurrMode) {
        if (CurrMode == 0) textures::PickPolygonTransparentColour(this);
    };
}

textures::PicturePreview& Form1::TexturePreview() const { return *static_cast<textures::PicturePreview*>(imgTexture); }

void Form1::showTexturePreview(int32_t bitmap) { TexturePreview().Show(bitmap); }

void Form1::clearTexturePreview() { TexturePreview().Clear(); }

void Form1::setApplyButtonsEnabled(bool enabled) {
    for (QPushButton* button : cmdTextureApplyToSel) button->setEnabled(enabled);
}

void Form1::recheckFolderImage(const char* folder) {
    QTreeWidgetItem* node = trwTextures->Item(folder);
    if (node->childCount() == 0) trwTextures->SetImage(node, "Folder");
}

textures::TextureNode Form1::SelectedTextureNode() const {
    const QTreeWidgetItem* node = trwTextures->SelectedItem();
    if (!node) return {};
    return textures::NodeOf(node->parent() ? KeyedTree::Key(node->parent()) : "", KeyedTree::Key(node));
}

// ---- the tree

void Form1::trwTextures_Populate() {
    trwTextures->setUpdatesEnabled(false);
    trwTextures->Clear();
    trwTextures->Add("", textures::MapFolder, textures::MapFolder, "Folder");
    trwTextures->Add("", textures::AnimationFolder, textures::AnimationFolder, "Folder");
    for (const textures::TextureEntry& entry : textures::TexturesTreeEntries())
        trwTextures->Add(entry.folder, entry.key, entry.text, "Texture");
    trwTextures->setUpdatesEnabled(true);
    imgTexture->clear();
    setApplyButtonsEnabled(false);
}

void Form1::trwTextures_NodeClick() {
    const textures::TextureNode node = SelectedTextureNode();
    switch (node.kind) {
    case textures::TextureKind::Folder:
        clearTexturePreview();
        setApplyButtonsEnabled(false);
        break;
    case textures::TextureKind::Bitmap:
        showTexturePreview(node.handle);
        setApplyButtonsEnabled(true);
        break;
    case textures::TextureKind::Animation:
        StartAnimPreview(node.handle);
        setApplyButtonsEnabled(true);
        break;
    case textures::TextureKind::None: break;
    }
}

void Form1::trwTextures_MouseUp(int Button, int, int x, int y) {
    if (Button != 2) return;
    // Menu and command concern the node the user pointed at.
    if (QTreeWidgetItem* under = trwTextures->itemAt(x, y)) {
        trwTextures->SetSelectedItem(under);
        trwTextures_NodeClick();
    }
    const textures::TextureNode node = SelectedTextureNode();
    if (node.kind == textures::TextureKind::None) return;
    const bool folder = node.kind == textures::TextureKind::Folder;
    mnuTextureNew->setVisible(folder);
    mnuTextureDelete->setVisible(!folder);
    mnuTextureUpdate->setVisible(node.kind == textures::TextureKind::Bitmap);
    mnuTextureEdit->setVisible(node.kind == textures::TextureKind::Animation);
    platform::popupMenu(*mnuTexture, trwTextures->viewport()->mapToGlobal(QPoint(x, y)));
}

std::optional<std::string> Form1::trwTextures_AfterLabelEdit(QTreeWidgetItem* Node, const std::string&) {
    return Node->text(0).toStdString();
}

void Form1::trwTextures_Expand(QTreeWidgetItem* Node) { trwTextures->SetImage(Node, "FolderOpen"); }

void Form1::trwTextures_Collapse(QTreeWidgetItem* Node) { trwTextures->SetImage(Node, "Folder"); }

// ---- the animation preview

void Form1::StartAnimPreview(int32_t Anim) {
    const std::optional<textures::AnimPreview::Frame> first = AnimPreview.Start(Anim);
    if (!first) return;
    showTexturePreview(first->bitmap);
    tmrAnimPreview->setInterval(first->intervalMs);
    tmrAnimPreview->start();
}

void Form1::tmrAnimPreview_Timer() {
    // Plays while the page is shown and an animation is the selected entry.
    if (tabWorkspace->currentIndex() != kTexturesPage ||
        SelectedTextureNode().kind != textures::TextureKind::Animation) {
        tmrAnimPreview->stop();
        return;
    }
    const std::optional<textures::AnimPreview::Frame> next = AnimPreview.Tick();
    if (!next) {
        tmrAnimPreview->stop();
        return;
    }
    showTexturePreview(next->bitmap);
    tmrAnimPreview->setInterval(next->intervalMs);
}

// ---- the commands

void Form1::cmdTextureApplyToSel_Click(int Index) { textures::ApplyTextureToSel(Index, SelectedTextureNode()); }

void Form1::mnuTextureNew_Click() {
    const textures::TextureNode node = SelectedTextureNode();
    if (node.kind != textures::TextureKind::Folder) return;
    const std::string folder = KeyedTree::Key(trwTextures->SelectedItem());
    if (folder == textures::AnimationFolder) {
        ShowAnimationEditor(0, 0);
        return;
    }
    if (folder != textures::MapFolder) return;
    const int32_t bitmap = textures::LoadNewBitmap();
    if (bitmap == 0) return;
    QTreeWidgetItem* added = trwTextures->Add(textures::MapFolder, textures::MapKey(bitmap),
                                              Globals::GetBitmapFileName(bitmap), "Texture");
    trwTextures->EnsureVisible(added);
    trwTextures->SetSelectedItem(added);
    trwTextures_NodeClick();
}

void Form1::mnuTextureDelete_Click() {
    const textures::TextureNode node = SelectedTextureNode();
    const std::string key = trwTextures->SelectedItem() ? KeyedTree::Key(trwTextures->SelectedItem()) : "";
    bool deleted = false;
    if (node.kind == textures::TextureKind::Bitmap) {
        deleted = textures::DeleteBitmap(node.handle, [this](int32_t background) {
            using namespace Globals;
            const std::string bkgKey = KeyedTree::NodeKey("Background", background);
            if (trwCamTrackBK->Exists(bkgKey)) trwCamTrackBK->Remove(bkgKey);
            // The selection never names a background that is gone.
            if (CurrSelEntityType == SelBackground && CurrSelEntityHandle == background) {
                LeaveSelectionPanel(SelBackground, SelNone);
                CurrSelEntityType = SelNone;
                CurrSelEntityHandle = 0;
            }
        });
    } else if (node.kind == textures::TextureKind::Animation) {
        deleted = textures::DeleteAnimation(node.handle);
        if (deleted) tmrAnimPreview->stop();
    }
    if (deleted) {
        trwTextures->Remove(key);
        trwTextures->SetSelectedItem(nullptr);
        clearTexturePreview();
        setApplyButtonsEnabled(false);
    }
    if (node.kind == textures::TextureKind::Bitmap || node.kind == textures::TextureKind::Animation)
        recheckFolderImage(node.kind == textures::TextureKind::Bitmap ? textures::MapFolder
                                                                      : textures::AnimationFolder);
    UpdateCameras();
}

void Form1::mnuTextureUpdate_Click() {
    const textures::TextureNode node = SelectedTextureNode();
    if (node.kind != textures::TextureKind::Bitmap) return;
    const textures::UpdateResult result = textures::UpdateBitmapFromFile(node.handle);
    if (result.outcome == textures::UpdateResult::Missing || result.outcome == textures::UpdateResult::Unsupported) {
        // The world keeps the picture it had; the preview shows what the file holds.
        showTexturePreview(node.handle);
        return;
    }
    if (result.outcome == textures::UpdateResult::Moved) {
        const std::string key = textures::MapKey(node.handle), newKey = textures::MapKey(result.bitmap);
        // The file's other bitmap may be listed already: its node stays, this one goes.
        if (trwTextures->Exists(newKey)) {
            trwTextures->Remove(key);
            trwTextures->SetSelectedItem(trwTextures->Item(newKey));
        } else {
            trwTextures->Rekey(key, newKey);
            trwTextures->Item(newKey)->setText(0, QString::fromStdString(Globals::GetBitmapFileName(result.bitmap)));
        }
    }
    showTexturePreview(result.bitmap);
    UpdateCameras();
}

void Form1::mnuTextureEdit_Click() {
    const textures::TextureNode node = SelectedTextureNode();
    if (node.kind != textures::TextureKind::Animation) return;
    tmrAnimPreview->stop();
    ShowAnimationEditor(1, node.handle);
    tmrAnimPreview->start();
}

void Form1::ShowAnimationEditor(int32_t CurrMode, int32_t Anim) {
    formAnimation editor(CurrMode, Anim, *trwTextures, this);
    platform::showModal(editor);
}
