// The recently used world files at the end of the File menu: at most nine,
// newest first, kept in the settings store (section "MRUFiles", key "0" the
// oldest) between runs. Entry i is a menu item whose Tag (its data) holds the
// path and whose caption reads "&<i + 1> <path>".
#pragma once

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

class MostRecentUsedFiles {
public:
    static constexpr int MaxEntries = 9;

    // first: the hidden item that stands for entry 0, already in the menu; the
    // others are added after it. Loads the stored list.
    MostRecentUsedFiles(QMenu& menu, QAction& first, std::function<void(int index)> clicked);
    // Stores the list.
    ~MostRecentUsedFiles();
    MostRecentUsedFiles(const MostRecentUsedFiles&) = delete;
    MostRecentUsedFiles& operator=(const MostRecentUsedFiles&) = delete;

    // Puts the path on top: a new entry, or the existing one (letter case ignored) moved up.
    void AddMRUItem(const std::string& path);
    void AddMenuElement(const std::string& path);
    void ReorderMRUList(const std::string& path, int index);

    // Index of the last entry; -1 when the list is empty.
    int LastIndex() const { return last_; }
    std::string Tag(int index) const;
    QAction* Item(int index) const;

private:
    int IndexOf(const std::string& path) const;
    void LoadMRUList();
    void SaveMRUList() const;
    void setEntry(int index, const std::string& path);
    QAction* newItem();

    QMenu& menu_;
    std::vector<QAction*> items_;
    std::function<void(int)> clicked_;
    int last_ = -1;
};
