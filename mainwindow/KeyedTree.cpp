#include "KeyedTree.h"

#include "platform/error_trap.h"

#include <QFont>

#include <charconv>

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

void collectKeys(const QTreeWidgetItem* node, std::vector<std::string>& keys) {
    keys.push_back(KeyedTree::Key(node));
    for (int i = 0; i < node->childCount(); ++i) collectKeys(node->child(i), keys);
}

}  // namespace

KeyedTree::KeyedTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
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
    static const std::string suffix = "Hidden";
    return image.size() >= suffix.size() && image.compare(image.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void KeyedTree::SetImagePicture(const std::string& image, const QIcon& picture) {
    pictures_[image] = picture;
}

QTreeWidgetItem* KeyedTree::Add(const std::string& parentKey, const std::string& key, const std::string& text,
                                const std::string& image) {
    if (byKey_.count(key)) throw platform::EditorError("Key is not unique in collection");
    QTreeWidgetItem* node = nullptr;
    if (parentKey.empty())
        node = new QTreeWidgetItem(this);
    else
        node = new QTreeWidgetItem(Item(parentKey));
    node->setText(0, QString::fromStdString(text));
    node->setData(0, kKeyRole, QString::fromStdString(key));
    byKey_[key] = node;
    SetImage(node, image);
    return node;
}

QTreeWidgetItem* KeyedTree::Item(const std::string& key) const {
    const auto it = byKey_.find(key);
    if (it == byKey_.end()) throw platform::EditorError("Element not found");
    return it->second;
}

bool KeyedTree::Exists(const std::string& key) const { return byKey_.count(key) != 0; }

void KeyedTree::forget(QTreeWidgetItem* node) {
    byKey_.erase(Key(node));
    for (int i = 0; i < node->childCount(); ++i) forget(node->child(i));
}

void KeyedTree::Remove(const std::string& key) {
    QTreeWidgetItem* node = Item(key);
    forget(node);
    delete node;  // takes the children with it
}

void KeyedTree::Clear() {
    byKey_.clear();
    clear();
}

std::string KeyedTree::Key(const QTreeWidgetItem* node) {
    return node->data(0, kKeyRole).toString().toStdString();
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
}

QTreeWidgetItem* KeyedTree::SelectedItem() const { return currentItem(); }

void KeyedTree::SetSelectedItem(QTreeWidgetItem* node) { setCurrentItem(node); }

std::vector<std::string> KeyedTree::Keys() const {
    std::vector<std::string> keys;
    for (int i = 0; i < topLevelItemCount(); ++i) collectKeys(topLevelItem(i), keys);
    return keys;
}
