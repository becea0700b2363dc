// The one tree control of the editor: a QTreeWidget whose nodes are found by key
// (a kind word and the decimal engine handle, "Group12") and whose images are
// named. A node's image also records whether its entity is hidden: that is the
// only place the hidden state lives.
#pragma once

#include <QIcon>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class KeyedTree : public QTreeWidget {
public:
    explicit KeyedTree(QWidget* parent = nullptr);

    // "Group" + "12"
    static std::string NodeKey(const std::string& kind, int32_t handle);
    // The images of hidden entities: "Group Invisible", "Pol Invisible",
    // "Cam Invisible" and "Light Invisible".
    static bool IsHiddenImage(const std::string& image);

    // Registers a picture for an image name; unknown names show no picture.
    void SetImagePicture(const std::string& image, const QIcon& picture);

    // Adds a node under parentKey ("" = at the top), at index among its siblings
    // (last for a negative index or one past the end). A key already present or
    // a missing parent raises an error.
    QTreeWidgetItem* Add(const std::string& parentKey, const std::string& key, const std::string& text,
                         const std::string& image = "", int index = -1);
    // The node of the key; a missing key raises "Element not found".
    QTreeWidgetItem* Item(const std::string& key) const;
    bool Exists(const std::string& key) const;
    // Removes the node with everything below it.
    void Remove(const std::string& key);
    void Clear();
    int Count() const { return static_cast<int>(byKey_.size()); }

    static std::string Key(const QTreeWidgetItem* node);
    // The key of the node's parent, "" for a top-level node.
    static std::string ParentKey(const QTreeWidgetItem* node);
    // The node's position among its siblings.
    int IndexAmongSiblings(const QTreeWidgetItem* node) const;
    // The handle after the kind word of a key ("Group12" of "Group" gives 12), or
    // 0 when the key is not of that kind.
    static int32_t HandleOf(const std::string& key, const std::string& kind);
    static std::string Image(const QTreeWidgetItem* node);
    void SetImage(QTreeWidgetItem* node, const std::string& image);
    static bool Bold(const QTreeWidgetItem* node);
    void SetBold(QTreeWidgetItem* node, bool bold);
    // Takes the bold off every node that has it (the tree keeps them, so this
    // costs what there is to clear, not the whole tree).
    void ClearBold();

    // The selected node, or null.
    QTreeWidgetItem* SelectedItem() const;
    // Null leaves the tree without a selected node.
    void SetSelectedItem(QTreeWidgetItem* node);
    // Expands the node's ancestors and scrolls it into view.
    void EnsureVisible(QTreeWidgetItem* node);
    // Keys in tree order (depth first), for walks and tests.
    std::vector<std::string> Keys() const;

    // In-place label editing (F2, or a click on the selected node), off until a
    // handler is installed. Where a click selects the node's entity, a click
    // renames only the node of the entity already selected (shown bold). The handler gets the node and the typed text and
    // answers the text the node keeps, or nothing to refuse the edit (the old
    // text stays, unless the handler wrote another itself).
    using LabelEditHandler =
        std::function<std::optional<std::string>(QTreeWidgetItem* node, const std::string& newText)>;
    void SetLabelEditHandler(LabelEditHandler handler);
    bool LabelEditing() const { return static_cast<bool>(labelEdit_); }
    // Opens the label editor on the node.
    void StartLabelEdit(QTreeWidgetItem* node);
    // Ends an edit of the node's label with the text, as the editor does when the
    // user confirms it.
    void EndLabelEdit(QTreeWidgetItem* node, const std::string& text);
    // Whether a click on the node selects its entity; unset: no node does.
    std::function<bool(const QTreeWidgetItem* node)> ClickSelects;

    // A node opened or closed, by the user or the program.
    std::function<void(QTreeWidgetItem* node)> NodeExpand;
    std::function<void(QTreeWidgetItem* node)> NodeCollapse;

    // The node keeps its place and its sub-tree under another key (an entity that
    // got a new handle); the new key must be free.
    void Rekey(const std::string& key, const std::string& newKey);

    // ---- presses, drags and drops, as the animation editor's frame tree takes them
    // A mouse button pressed over the tree (button 1 left, 2 right, 4 middle;
    // shift 1 Shift, 2 Ctrl, 4 Alt; x, y in the viewport's pixels).
    std::function<void(int button, int shift, int x, int y)> MouseDown;
    // Lets nodes be dragged within the tree. The tree moves nothing itself: a
    // drag passing over it and a drop on it go to these handlers.
    void EnableDragDrop();
    std::function<void(const QMimeData* data, int x, int y)> DragOver;
    std::function<void(const QMimeData* data, int x, int y)> DragDrop;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void forget(QTreeWidgetItem* node);
    void setEditable(QTreeWidgetItem* node) const;

    std::unordered_map<std::string, QTreeWidgetItem*> byKey_;
    std::unordered_set<QTreeWidgetItem*> bold_;
    std::map<std::string, QIcon> pictures_;
    LabelEditHandler labelEdit_;
    bool clickMayRename_ = false;
};
