#include "KeyedTree.h"

#include "platform/error_trap.h"
#include "platform/virtual_keys.h"

#include <QDropEvent>
#include <QFont>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <array>

#include <charconv>

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

// Hands the text of a finished label edit to the tree's handler instead of
// writing it into the node.
class LabelDelegate : public QStyledItemDelegate {
public:
    explicit LabelDelegate(KeyedTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* field = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* node = tree_->itemFromIndex(index);
        if (field && node) tree_->EndLabelEdit(node, field->text().toStdString());
    }

private:
    KeyedTree* tree_;
};

// Every node below (and with) the given one, parents first; no recursion, so a
// world nested a thousand deep costs no stack.
template <class Visit>
void walk(QTreeWidgetItem* top, Visit&& visit) {
    std::vector<QTreeWidgetItem*> stack{top};
    while (!stack.empty()) {
        QTreeWidgetItem* node = stack.back();
        stack.pop_back();
        visit(node);
        for (int i = node->childCount() - 1; i >= 0; --i) stack.push_back(node->child(i));
    }
}

}  // namespace

KeyedTree::KeyedTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new LabelDelegate(this));
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) {
        if (NodeExpand) NodeExpand(node);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
        if (NodeCollapse) NodeCollapse(node);
    });
}

std::string KeyedTree::NodeKey(const std::string& kind, int32_t handle) {
    return kind + std::to_string(handle);
}

int32_t KeyedTree::HandleOf(const std::string& key, const std::string& kind) {
    if (key.size() <= kind.size() || key.compare(0, kind.size(), kind) != 0) return 0;
    int32_t handle = 0;
    const char* end = key.data() + key.size();
    const auto [rest, error] = std::from_chars(key.data() + kind.size(), end, handle);
    return error == std::errc() && rest == end ? handle : 0;
}

bool KeyedTree::IsHiddenImage(const std::string& image) {
    static const std::array<std::string, 4> hidden = {"Group Invisible", "Pol Invisible", "Cam Invisible",
                                                      "Light Invisible"};
    for (const std::string& name : hidden)
        if (image == name) return true;
    return false;
}

void KeyedTree::SetImagePicture(const std::string& image, const QIcon& picture) {
    pictures_[image] = picture;
}

QTreeWidgetItem* KeyedTree::Add(const std::string& parentKey, const std::string& key, const std::string& text,
                                const std::string& image, int index) {
    if (byKey_.count(key)) throw platform::EditorError("Key is not unique in collection");
    QTreeWidgetItem* parent = parentKey.empty() ? nullptr : Item(parentKey);
    // Filled before it goes in: a change to a node in the tree makes the model
    // look for its row, one sibling at a time, so among thousands each change
    // would cost a walk over them.
    auto* node = new QTreeWidgetItem();
    node->setText(0, QString::fromStdString(text));
    node->setData(0, kKeyRole, QString::fromStdString(key));
    setEditable(node);
    SetImage(node, image);
    const int count = parent ? parent->childCount() : topLevelItemCount();
    const int at = index < 0 || index > count ? count : index;
    if (parent)
        parent->insertChild(at, node);
    else
        insertTopLevelItem(at, node);
    byKey_[key] = node;
    return node;
}

QTreeWidgetItem* KeyedTree::Item(const std::string& key) const {
    const auto it = byKey_.find(key);
    if (it == byKey_.end()) throw platform::EditorError("Element not found");
    return it->second;
}

bool KeyedTree::Exists(const std::string& key) const { return byKey_.count(key) != 0; }

void KeyedTree::forget(QTreeWidgetItem* node) {
    walk(node, [this](QTreeWidgetItem* n) {
        byKey_.erase(Key(n));
        bold_.erase(n);
    });
}

void KeyedTree::Remove(const std::string& key) {
    QTreeWidgetItem* node = Item(key);
    forget(node);
    delete node;  // takes the children with it
}

void KeyedTree::Clear() {
    byKey_.clear();
    bold_.clear();
    clear();
}

std::string KeyedTree::Key(const QTreeWidgetItem* node) {
    return node->data(0, kKeyRole).toString().toStdString();
}

std::string KeyedTree::ParentKey(const QTreeWidgetItem* node) { return node->parent() ? Key(node->parent()) : ""; }

int KeyedTree::IndexAmongSiblings(const QTreeWidgetItem* node) const {
    QTreeWidgetItem* parent = node->parent();
    auto* item = const_cast<QTreeWidgetItem*>(node);
    return parent ? parent->indexOfChild(item) : indexOfTopLevelItem(item);
}

std::string KeyedTree::Image(const QTreeWidgetItem* node) {
    return node->data(0, kImageRole).toString().toStdString();
}

void KeyedTree::SetImage(QTreeWidgetItem* node, const std::string& image) {
    node->setData(0, kImageRole, QString::fromStdString(image));
    const auto it = pictures_.find(image);
    node->setIcon(0, it == pictures_.end() ? QIcon() : it->second);
}

bool KeyedTree::Bold(const QTreeWidgetItem* node) { return node->font(0).bold(); }

void KeyedTree::SetBold(QTreeWidgetItem* node, bool bold) {
    QFont font = node->font(0);
    font.setBold(bold);
    node->setFont(0, font);
    if (bold)
        bold_.insert(node);
    else
        bold_.erase(node);
}

void KeyedTree::ClearBold() {
    const std::vector<QTreeWidgetItem*> nodes(bold_.begin(), bold_.end());
    for (QTreeWidgetItem* node : nodes) SetBold(node, false);
}

QTreeWidgetItem* KeyedTree::SelectedItem() const { return currentItem(); }

void KeyedTree::SetSelectedItem(QTreeWidgetItem* node) {
    setCurrentItem(node);
    if (!node) clearSelection();
}

void KeyedTree::EnsureVisible(QTreeWidgetItem* node) {
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent()) up->setExpanded(true);
    scrollToItem(node);
}

std::vector<std::string> KeyedTree::Keys() const {
    std::vector<std::string> keys;
    for (int i = 0; i < topLevelItemCount(); ++i)
        walk(topLevelItem(i), [&keys](QTreeWidgetItem* n) { keys.push_back(Key(n)); });
    return keys;
}

void KeyedTree::setEditable(QTreeWidgetItem* node) const {
    node->setFlags(labelEdit_ ? node->flags() | Qt::ItemIsEditable : node->flags() & ~Qt::ItemIsEditable);
}

void KeyedTree::SetLabelEditHandler(LabelEditHandler handler) {
    labelEdit_ = std::move(handler);
    setEditTriggers(labelEdit_ ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                               : QAbstractItemView::NoEditTriggers);
    for (const auto& entry : byKey_) setEditable(entry.second);
}

void KeyedTree::StartLabelEdit(QTreeWidgetItem* node) {
    if (labelEdit_) editItem(node, 0);
}

void KeyedTree::EndLabelEdit(QTreeWidgetItem* node, const std::string& text) {
    if (!labelEdit_) return;
    // The handler may rebuild nodes; the key finds this one again if it is still there.
    const std::string key = Key(node);
    const std::optional<std::string> kept = labelEdit_(node, text);
    if (kept && Exists(key)) Item(key)->setText(0, QString::fromStdString(*kept));
}

void KeyedTree::Rekey(const std::string& key, const std::string& newKey) {
    QTreeWidgetItem* node = Item(key);
    if (newKey == key) return;
    if (byKey_.count(newKey)) throw platform::EditorError("Key is not unique in collection");
    byKey_.erase(key);
    byKey_[newKey] = node;
    node->setData(0, kKeyRole, QString::fromStdString(newKey));
}

// ---- presses, drags and drops

void KeyedTree::EnableDragDrop() {
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A copy: the view never removes the dragged node itself after the drop.
    setDefaultDropAction(Qt::CopyAction);
}

void KeyedTree::mousePressEvent(QMouseEvent* event) {
    // A highlighted row whose entity is not the selection (after a right press,
    // for one) is selected by the click, not renamed.
    const QTreeWidgetItem* node = itemAt(event->position().toPoint());
    clickMayRename_ = node && node->isSelected() && (!ClickSelects || !ClickSelects(node) || Bold(node));
    QTreeWidget::mousePressEvent(event);
    if (!MouseDown) return;
    const int button = platform::mouseButtonCode(event->button());
    const int shift = platform::shiftCode(event->modifiers().toInt());
    const QPoint at = event->position().toPoint();
    platform::runTrapped(this, [&] { MouseDown(button, shift, at.x(), at.y()); });
}

void KeyedTree::mouseReleaseEvent(QMouseEvent* event) {
    const EditTriggers triggers = editTriggers();
    if (!clickMayRename_) setEditTriggers(triggers & ~QAbstractItemView::SelectedClicked);
    QTreeWidget::mouseReleaseEvent(event);
    setEditTriggers(triggers);
    clickMayRename_ = false;
    // What the release ran (a menu's Delete) may have moved other rows under the
    // pointer, which the view then highlights: the highlighted row stays the node
    // the handlers made current.
    if (QTreeWidgetItem* current = currentItem(); current && !current->isSelected()) setCurrentItem(current);
}

void KeyedTree::dragEnterEvent(QDragEnterEvent* event) {
    if (!DragDrop) return QTreeWidget::dragEnterEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void KeyedTree::dragMoveEvent(QDragMoveEvent* event) {
    if (!DragDrop) return QTreeWidget::dragMoveEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (DragOver) {
        const QPoint at = event->position().toPoint();
        platform::runTrapped(this, [&] { DragOver(event->mimeData(), at.x(), at.y()); });
    }
}

void KeyedTree::dropEvent(QDropEvent* event) {
    if (!DragDrop) return QTreeWidget::dropEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QPoint at = event->position().toPoint();
    platform::runTrapped(this, [&] { DragDrop(event->mimeData(), at.x(), at.y()); });
}
