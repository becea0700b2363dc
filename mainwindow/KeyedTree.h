// The one tree control of the editor: a QTreeWidget whose nodes are found by key
// (a kind word and the decimal engine handle, "Group12") and whose images are
// named. A node's image also records whether its entity is hidden: that is the
// only place the hidden state lives.
#pragma once

#include <QIcon>
#include <QTreeWidget>

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

class KeyedTree : public QTreeWidget {
public:
    explicit KeyedTree(QWidget* parent = nullptr);

    // "Group" + "12"
    static std::string NodeKey(const std::string& kind, int32_t handle);
    // An image named "...Hidden" marks its entity hidden.
    static bool IsHiddenImage(const std::string& image);

    // Registers a picture for an image name; unknown names show no picture.
    void SetImagePicture(const std::string& image, const QIcon& picture);

    // Adds a node under parentKey ("" = at the top), last among its siblings. A
    // key already present or a missing parent raises an error.
    QTreeWidgetItem* Add(const std::string& parentKey, const std::string& key, const std::string& text,
                         const std::string& image = "");
    // The node of the key; a missing key raises "Element not found".
    QTreeWidgetItem* Item(const std::string& key) const;
    bool Exists(const std::string& key) const;
    // Removes the node with everything below it.
    void Remove(const std::string& key);
    void Clear();
    int Count() const { return static_cast<int>(byKey_.size()); }

    static std::string Key(const QTreeWidgetItem* node);
    // The handle after the kind word of a key ("Group12" of "Group" gives 12), or
    // 0 when the key is not of that kind.
    static int32_t HandleOf(const std::string& key, const std::string& kind);
    static std::string Image(const QTreeWidgetItem* node);
    void SetImage(QTreeWidgetItem* node, const std::string& image);
    static bool Bold(const QTreeWidgetItem* node);
    static void SetBold(QTreeWidgetItem* node, bool bold);

    // The selected node, or null.
    QTreeWidgetItem* SelectedItem() const;
    void SetSelectedItem(QTreeWidgetItem* node);
    // Keys in tree order (depth first), for walks and tests.
    std::vector<std::string> Keys() const;

private:
    void forget(QTreeWidgetItem* node);

    std::unordered_map<std::string, QTreeWidgetItem*> byKey_;
    std::map<std::string, QIcon> pictures_;
};
