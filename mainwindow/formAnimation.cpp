#include "formAnimation.h"

#include "KeyedTree.h"

#include "core/BitmapFileDialog.h"
#include "core/EntityProcedures.h"
#include "core/GroupPolygonProcedures.h"
#include "platform/NumericField.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "textures/PicturePreview.h"
#include "textures/TextureCommands.h"
#include "textures/TextureNodes.h"
#include "textures/formTrnsClrPcr.h"
#include "undo/BitmapUse.h"

#include "ombrel.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace {

constexpr const char* kFrameKind = "Frame";
const QColor kHighlightBack(0, 0, 100);

std::string frameKey(int32_t id) { return kFrameKind + std::to_string(id); }

std::string fileNamePart(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

formAnimation::formAnimation(int32_t mode, int32_t anim, KeyedTree& textureTree, QWidget* parent)
    : QDialog(parent), CurrMode(mode), Anim(anim), textureTree_(textureTree) {
    setObjectName("formAnimation");
    setWindowTitle("Animation 2D.");

    Label1 = new QLabel("Animation Name", this);
    Label1->setObjectName("Label1");
    txtAnimName = new QLineEdit("Text1", this);
    txtAnimName->setObjectName("txtAnimName");
    trwAnim = new KeyedTree(this);
    trwAnim->setObjectName("trwAnim");
    trwAnim->EnableDragDrop();
    cmdInsert = new QPushButton("Insert", this);
    cmdInsert->setObjectName("cmdInsert");
    cmdRemove = new QPushButton("Remove", this);
    cmdRemove->setObjectName("cmdRemove");

    frmImgOwner = new QGroupBox(this);
    frmImgOwner->setObjectName("frmImgOwner");
    frmImgOwner->setMinimumSize(160, 140);
    lblDim = new QLabel("Label3", this);
    lblDim->setObjectName("lblDim");
    Image1 = new textures::PicturePreview(lblDim, frmImgOwner);
    Image1->setObjectName("Image1");
    Image1->setToolTip("Plase note, this preview doesn't support transparancy yet.");
    auto* imageLayout = new QVBoxLayout(frmImgOwner);
    imageLayout->addWidget(Image1);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    Label2 = new QLabel("Frame Time", Frame1);
    Label2->setObjectName("Label2");
    platform::NumericField::Options timeOptions;
    timeOptions.copyOnChange = false;
    frmTimeField = new platform::NumericField(timeOptions, Frame1);
    txtFrmTime = frmTimeField->text();
    txtFrmTime->setObjectName("txtFrmTime");
    txtFrmTime->setToolTip("Frame time in hundereds of seconds.");
    updwnFrmTime = frmTimeField->spinner();
    updwnFrmTime->setObjectName("updwnFrmTime");
    updwnFrmTime->Min = 1;
    updwnFrmTime->Max = textures::MaxFrameTime;
    updwnFrmTime->Increment = 1;
    updwnFrmTime->setValue(textures::InsertedFrameTime);
    txtFrmTime->setText(QString::number(textures::InsertedFrameTime));
    cmdApplyFrmTimeAll = new QPushButton("Apply to all", Frame1);
    cmdApplyFrmTimeAll->setObjectName("cmdApplyFrmTimeAll");
    auto* timeLayout = new QHBoxLayout(Frame1);
    timeLayout->addWidget(Label2);
    timeLayout->addWidget(frmTimeField, 1);
    timeLayout->addWidget(cmdApplyFrmTimeAll);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName("Frame2");
    chkTransparent = new QCheckBox("Transparent", Frame2);
    chkTransparent->setObjectName("chkTransparent");
    cmdColor = new QPushButton(Frame2);
    cmdColor->setObjectName("cmdColor");
    cmdColor->setFixedWidth(40);
    cmdApplyTransClrToAll = new QPushButton("Apply to all", Frame2);
    cmdApplyTransClrToAll->setObjectName("cmdApplyTransClrToAll");
    auto* colourLayout = new QHBoxLayout(Frame2);
    colourLayout->addWidget(chkTransparent);
    colourLayout->addWidget(cmdColor);
    colourLayout->addStretch();
    colourLayout->addWidget(cmdApplyTransClrToAll);

    cmdOk = new QPushButton("&Ok", this);
    cmdOk->setObjectName("cmdOk");
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdOk->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Label1);
    nameRow->addWidget(txtAnimName, 1);
    auto* treeButtons = new QHBoxLayout;
    treeButtons->addWidget(cmdInsert);
    treeButtons->addWidget(cmdRemove);
    auto* left = new QVBoxLayout;
    left->addWidget(trwAnim, 1);
    left->addLayout(treeButtons);
    auto* right = new QVBoxLayout;
    right->addWidget(frmImgOwner, 1);
    right->addWidget(lblDim);
    right->addWidget(Frame1);
    right->addWidget(Frame2);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right, 1);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(cmdOk);
    closeRow->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(body, 1);
    layout->addLayout(closeRow);
    resize(560, 420);

    auto trap = [this](void (formAnimation::*handler)()) {
        return platform::trapped(this, [this, handler] { (this->*handler)(); });
    };
    connect(trwAnim, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node, int) {
        platform::runTrapped(this, [this, node] { trwAnim_NodeClick(node); });
    });
    trwAnim->MouseDown = [this](int button, int shift, int x, int y) { trwAnim_MouseDown(button, shift, x, y); };
    trwAnim->DragOver = [this](const QMimeData* data, int x, int y) { trwAnim_OLEDragOver(data, x, y); };
    trwAnim->DragDrop = [this](const QMimeData* data, int x, int y) { trwAnim_OLEDragDrop(data, x, y); };
    connect(cmdInsert, &QPushButton::clicked, this, trap(&formAnimation::cmdInsert_Click));
    connect(cmdRemove, &QPushButton::clicked, this, trap(&formAnimation::cmdRemove_Click));
    frmTimeField->onChange = [this] { platform::runTrapped(this, [this] { txtFrmTime_Change(); }); };
    frmTimeField->onSpinnerChange = [this] { platform::runTrapped(this, [this] { updwnFrmTime_Change(); }); };
    frmTimeField->apply = [this] { platform::runTrapped(this, [this] { txtFrmTime_LostFocus(); }); };
    connect(cmdApplyFrmTimeAll, &QPushButton::clicked, this, trap(&formAnimation::cmdApplyFrmTimeAll_Click));
    connect(chkTransparent, &QCheckBox::clicked, this, trap(&formAnimation::chkTransparent_Click));
    connect(cmdColor, &QPushButton::clicked, this, trap(&formAnimation::cmdColor_Click));
    connect(cmdApplyTransClrToAll, &QPushButton::clicked, this, trap(&formAnimation::cmdApplyTransClrToAll_Click));
    connect(cmdOk, &QPushButton::clicked, this, trap(&formAnimation::cmdOk_Click));
    connect(cmdCancel, &QPushButton::clicked, this, trap(&formAnimation::cmdCancel_Click));

    bitmapsBefore_ = undo::LoadedBitmaps();
    platform::runTrapped(this, [this] { Form_Load(); });
}

formAnimation::~formAnimation() = default;

// ---- opening

void formAnimation::Form_Load() {
    trwAnim->Clear();
    for (const char* direction : textures::DirectionNames) trwAnim->Add("", direction, direction);
    if (CurrMode != 0) {
        txtAnimName->setText(QString::fromStdString(Globals::GetEntityName(Anim)));
        frames_ = textures::ReadAnimation(Anim);
    } else {
        txtAnimName->setText(QString::fromStdString(textures::GetDefaultAnimName()));
        frames_ = {};
    }
    showFrames();
    QTreeWidgetItem* front = DirectionNode(1);
    trwAnim->SetSelectedItem(front);
    trwAnim_NodeClick(front);
}

// ---- the tree

QTreeWidgetItem* formAnimation::DirectionNode(int32_t direction) const {
    return trwAnim->Item(textures::DirectionNames.at(static_cast<std::size_t>(direction - 1)));
}

QTreeWidgetItem* formAnimation::FrameNode(int32_t frameId) const { return trwAnim->Item(frameKey(frameId)); }

int32_t formAnimation::FrameIdOf(const QTreeWidgetItem* Node) {
    if (!Node || !Node->parent()) return 0;
    const std::string key = KeyedTree::Key(Node);
    const std::size_t kind = std::char_traits<char>::length(kFrameKind);
    int32_t id = 0;
    const auto [rest, error] = std::from_chars(key.data() + kind, key.data() + key.size(), id);
    return error == std::errc() && rest == key.data() + key.size() ? id : 0;
}

textures::Frame* formAnimation::selectedFrame() { return frames_.Find(FrameIdOf(trwAnim->SelectedItem())); }

void formAnimation::showFrames() {
    const std::string selected = trwAnim->SelectedItem() ? KeyedTree::Key(trwAnim->SelectedItem()) : "";
    // Every frame node goes before any comes back: a frame moved to an earlier
    // direction still has its node under the later one.
    for (int32_t d = 1; d <= textures::DirectionCount; ++d) {
        QTreeWidgetItem* node = DirectionNode(d);
        while (node->childCount() > 0) trwAnim->Remove(KeyedTree::Key(node->child(0)));
    }
    for (int32_t d = 1; d <= textures::DirectionCount; ++d) {
        const std::string direction = textures::DirectionNames.at(static_cast<std::size_t>(d - 1));
        for (const textures::Frame& f : frames_.Direction(d)) trwAnim->Add(direction, frameKey(f.Id), f.Text);
        DirectionNode(d)->setExpanded(true);
    }
    if (!selected.empty() && trwAnim->Exists(selected)) trwAnim->SetSelectedItem(trwAnim->Item(selected));
    if (!HighlightedNode.empty() && trwAnim->Exists(HighlightedNode))
        setHighlight(HighlightedNode, true);
    else
        HighlightedNode.clear();
}

void formAnimation::setHighlight(const std::string& key, bool on) {
    if (key.empty() || !trwAnim->Exists(key)) return;
    QTreeWidgetItem* node = trwAnim->Item(key);
    if (on) {
        node->setBackground(0, kHighlightBack);
        node->setForeground(0, Qt::white);
    } else {
        node->setBackground(0, QApplication::palette().button());
        node->setForeground(0, Qt::black);
    }
}

void formAnimation::EnableTransparencyControls(bool flag) {
    for (QWidget* w : std::initializer_list<QWidget*>{Frame2, chkTransparent, cmdColor, cmdApplyTransClrToAll})
        w->setEnabled(flag);
}

void formAnimation::EnableFrameTimeControls(bool flag) {
    for (QWidget* w : std::initializer_list<QWidget*>{Frame1, Label2, txtFrmTime, updwnFrmTime, cmdApplyFrmTimeAll})
        w->setEnabled(flag);
}

void formAnimation::setColorButton(int32_t colour) {
    colorButton_ = colour;
    textures::SetBackColour(*cmdColor, colour);
}

int32_t formAnimation::ColorButtonColour() const { return colorButton_; }

void formAnimation::trwAnim_NodeClick(QTreeWidgetItem* Node) {
    if (!Node) return;
    // The fields below write into the selected frame: the clicked one.
    if (trwAnim->SelectedItem() != Node) trwAnim->SetSelectedItem(Node);
    setHighlight(HighlightedNode, false);
    HighlightedNode = KeyedTree::Key(Node);
    setHighlight(HighlightedNode, true);
    const textures::Frame* frame = frames_.Find(FrameIdOf(Node));
    if (!frame) {
        Image1->Clear();
        EnableTransparencyControls(false);
        EnableFrameTimeControls(false);
        return;
    }
    EnableTransparencyControls(true);
    EnableFrameTimeControls(true);
    const textures::FrameRecord record = frame->Record;
    const int32_t bitmap = textures::FrameBitmap(record.File, -1);
    if (bitmap != 0)
        Image1->Show(bitmap);
    else
        Image1->Clear();
    txtFrmTime->setText(QString::number(record.Time));
    updwnFrmTime->setValue(record.Time);
    const int32_t index = bitmap != 0 ? textures::TransparentIndexOf(record.Colour, bitmap) : -1;
    if (index == -1) {
        chkTransparent->setChecked(false);
        setColorButton(textures::ButtonFaceColour);
        cmdColor->setEnabled(false);
        cmdApplyTransClrToAll->setEnabled(false);
    } else {
        chkTransparent->setChecked(true);
        cmdColor->setEnabled(true);
        cmdApplyTransClrToAll->setEnabled(true);
        // The palette's colour, which may differ a little from the one stored.
        setColorButton(Globals::BitmapIndexToRgb(index, bitmap));
    }
}

void formAnimation::trwAnim_MouseDown(int, int, int x, int y) {
    setHighlight(HighlightedNode, false);
    QTreeWidgetItem* node = trwAnim->itemAt(x, y);
    HighlightedNode = node ? KeyedTree::Key(node) : "";
    if (!node) return;
    setHighlight(HighlightedNode, true);
    DragSourceNode = HighlightedNode;
}

void formAnimation::trwAnim_OLEDragOver(const QMimeData*, int x, int y) {
    if (!(QApplication::mouseButtons() & Qt::LeftButton)) return;
    if (QTreeWidgetItem* node = trwAnim->itemAt(x, y)) trwAnim->SetSelectedItem(node);
}

void formAnimation::trwAnim_OLEDragDrop(const QMimeData*, int x, int y) {
    QTreeWidgetItem* target = trwAnim->itemAt(x, y);
    DropTargetNode = target ? KeyedTree::Key(target) : "";
    if (target) trwAnim->SetSelectedItem(target);
    setHighlight(HighlightedNode, false);
    const int32_t source = DragSourceNode.empty() || !trwAnim->Exists(DragSourceNode)
                               ? 0
                               : FrameIdOf(trwAnim->Item(DragSourceNode));
    const int32_t onto = FrameIdOf(target);
    if (source == 0 || onto == 0 || !frames_.MoveAfter(source, onto)) return;
    HighlightedNode.clear();
    showFrames();
    DropTargetNode = frameKey(source);
}

// ---- inserting and removing frames

void formAnimation::cmdInsert_Click() {
    for (const std::string& path : Globals::GetOpenedBitmapFile(true)) InsertFrame(path);
}

void formAnimation::InsertFrame(const std::string& path) {
    if (path.empty()) return;
    if (OMBREL_bitmap_load(path.c_str(), -1) == 0) {
        platform::msgBox(textures::UnsupportedBitmap, platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    textures::FrameRecord record{path, textures::InsertedFrameTime, textures::NoTransparentColour};
    QTreeWidgetItem* selected = trwAnim->SelectedItem();
    if (const int32_t after = FrameIdOf(selected))
        frames_.InsertAfter(after, fileNamePart(path), std::move(record));
    else
        frames_.Append(selected ? trwAnim->indexOfTopLevelItem(selected) + 1 : 1, fileNamePart(path),
                       std::move(record));
    showFrames();
}

void formAnimation::cmdRemove_Click() {
    const int32_t id = FrameIdOf(trwAnim->SelectedItem());
    if (id == 0 || !frames_.Remove(id)) return;
    HighlightedNode.clear();
    showFrames();
}

// ---- frame time

void formAnimation::txtFrmTime_Change() {
    textures::Frame* frame = selectedFrame();
    if (!frame) return;
    // Written as typed only while within the limits; the text is left as it is.
    double value = 0;
    if (!platform::ReadNumber(txtFrmTime->text(), value) || value < updwnFrmTime->Min || value > updwnFrmTime->Max)
        return;
    frame->Record.Time = textures::FrameTimeOf(value);
    updwnFrmTime->setValue(frame->Record.Time);
}

void formAnimation::txtFrmTime_LostFocus() {
    textures::Frame* frame = selectedFrame();
    if (!frame) return;
    // A number beyond a limit takes the limit once the field is left.
    double value = 0;
    if (platform::ReadNumber(txtFrmTime->text(), value)) {
        frame->Record.Time = textures::FrameTimeOf(std::clamp<double>(value, updwnFrmTime->Min, updwnFrmTime->Max));
        updwnFrmTime->setValue(frame->Record.Time);
    }
    txtFrmTime->setText(QString::number(updwnFrmTime->Value()));
}

void formAnimation::updwnFrmTime_Change() {
    // Only a step shows in the text; a typed number that moved the spinner stays as typed.
    if (!selectedFrame() || !updwnFrmTime->Held()) return;
    const QString text = QString::number(updwnFrmTime->Value());
    if (txtFrmTime->text() != text) txtFrmTime->setText(text);
}

void formAnimation::cmdApplyFrmTimeAll_Click() {
    if (const textures::Frame* frame = selectedFrame()) frames_.SetAllTimes(frame->Record.Time);
}

// ---- transparent colour

void formAnimation::chkTransparent_Click() {
    const bool on = chkTransparent->isChecked();
    if (!on) setColorButton(textures::ButtonFaceColour);
    cmdColor->setEnabled(on);
    cmdApplyTransClrToAll->setEnabled(on);
}

void formAnimation::cmdColor_Click() {
    textures::Frame* frame = selectedFrame();
    if (!frame) return;
    const std::string file = frame->Record.File;
    const int32_t id = frame->Id;
    const std::optional<int32_t> colour = textures::PickFrameTransparentColour(this, file, ColorButtonColour());
    if (!colour) return;
    setColorButton(*colour);
    if (textures::Frame* still = frames_.Find(id)) still->Record.Colour = *colour;
}

void formAnimation::cmdApplyTransClrToAll_Click() {
    if (const textures::Frame* frame = selectedFrame()) frames_.SetAllColours(frame->Record.Colour);
}

// ---- closing

void formAnimation::cmdOk_Click() {
    // Ok ends an edit of the frame time as leaving the field does; with no edit the
    // text may be another frame's (a drop selects its target without showing it).
    if (frmTimeField->Editing()) frmTimeField->Commit();
    const std::string name = txtAnimName->text().toStdString();
    int32_t failed = 0;
    const int32_t written = textures::WriteAnimation(CurrMode, Anim, name, frames_, &failed);
    if (written == 0) {
        // Nothing was written; the frame that cannot be had is shown.
        if (trwAnim->Exists(frameKey(failed))) trwAnim->SetSelectedItem(FrameNode(failed));
        platform::msgBox(textures::UnsupportedBitmap, platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    Anim = written;
    const std::string key = textures::AnimationKey(Anim);
    if (CurrMode == 0)
        textureTree_.Add(textures::AnimationFolder, key, name, "Texture");
    else if (textureTree_.Exists(key))
        textureTree_.Item(key)->setText(0, QString::fromStdString(name));
    accept();
}

void formAnimation::cmdCancel_Click() { QDialog::reject(); }

void formAnimation::done(int result) {
    // Pictures loaded to insert, preview or pick from are not saved with the world
    // unless a frame or something else keeps them.
    platform::runTrapped(this, [this] { undo::UnloadUnusedBitmaps(undo::BitmapsLoadedSince(bitmapsBefore_)); });
    QDialog::done(result);
}

void formAnimation::reject() {
    // Esc is the cancel button.
    platform::runTrapped(this, [this] { cmdCancel_Click(); });
}
