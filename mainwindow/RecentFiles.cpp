#include "RecentFiles.h"

#include "platform/settings.h"

#include <QAction>
#include <QMenu>

namespace {

constexpr const char* kSection = "MRUFiles";

QString caption(int index, const std::string& path) {
    // A "&" of the path is shown, not taken as the item's access key.
    return QString("&%1 %2").arg(index + 1).arg(QString::fromStdString(path).replace("&", "&&"));
}

}  // namespace

MostRecentUsedFiles::MostRecentUsedFiles(QMenu& menu, QAction& first, std::function<void(int)> clicked)
    : menu_(menu), items_{&first}, clicked_(std::move(clicked)) {
    QObject::connect(&first, &QAction::triggered, &menu_, [this] {
        if (clicked_) clicked_(0);
    });
    LoadMRUList();
}

MostRecentUsedFiles::~MostRecentUsedFiles() {
    SaveMRUList();
    for (std::size_t i = 1; i < items_.size(); ++i) delete items_[i];
    items_[0]->disconnect(&menu_);
}

QAction* MostRecentUsedFiles::newItem() {
    // Placed right after the last entry, before whatever followed it.
    const QList<QAction*> actions = menu_.actions();
    const int after = static_cast<int>(actions.indexOf(items_.back()));
    QAction* before = after + 1 < actions.size() ? actions[after + 1] : nullptr;
    auto* item = new QAction(&menu_);
    item->setObjectName("mnuMru");
    menu_.insertAction(before, item);
    const int index = static_cast<int>(items_.size());
    QObject::connect(item, &QAction::triggered, &menu_, [this, index] {
        if (clicked_) clicked_(index);
    });
    items_.push_back(item);
    return item;
}

std::string MostRecentUsedFiles::Tag(int index) const {
    return items_[static_cast<std::size_t>(index)]->data().toString().toStdString();
}

QAction* MostRecentUsedFiles::Item(int index) const { return items_[static_cast<std::size_t>(index)]; }

void MostRecentUsedFiles::setEntry(int index, const std::string& path) {
    QAction* item = items_[static_cast<std::size_t>(index)];
    item->setData(QString::fromStdString(path));
    item->setText(caption(index, path));
}

void MostRecentUsedFiles::AddMRUItem(const std::string& path) {
    const int i = IndexOf(path);
    if (i == -1)
        AddMenuElement(path);
    else
        ReorderMRUList(path, i);
}

void MostRecentUsedFiles::AddMenuElement(const std::string& path) {
    // At nine entries the list stops growing and the oldest one falls off.
    if (last_ < MaxEntries - 1) {
        ++last_;
        if (last_ >= static_cast<int>(items_.size())) newItem();
        items_[static_cast<std::size_t>(last_)]->setVisible(true);
    }
    for (int i = last_; i >= 1; --i) setEntry(i, Tag(i - 1));
    setEntry(0, path);
}

void MostRecentUsedFiles::ReorderMRUList(const std::string& path, int index) {
    for (int i = index; i >= 1; --i) setEntry(i, Tag(i - 1));
    setEntry(0, path);
}

int MostRecentUsedFiles::IndexOf(const std::string& path) const {
    const QString wanted = QString::fromStdString(path).toUpper();
    for (int i = 0; i <= last_; ++i)
        if (QString::fromStdString(Tag(i)).toUpper() == wanted) return i;
    return -1;
}

void MostRecentUsedFiles::LoadMRUList() {
    // Each stored entry goes on top, so the highest key ends up newest.
    for (int k = 0;; ++k) {
        const std::string value = platform::getSetting(kSection, std::to_string(k));
        if (value.empty()) break;
        AddMRUItem(value);
    }
}

void MostRecentUsedFiles::SaveMRUList() const {
    for (int k = 0; k <= last_; ++k) platform::saveSetting(kSection, std::to_string(k), Tag(last_ - k));
}
