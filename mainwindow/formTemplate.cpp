#include "formTemplate.h"

#include "core/StringProcedures.h"
#include "platform/files.h"
#include "platform/program.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kNew = "New";
// Pixels a title bar takes besides its text: the window's icon and three buttons.
constexpr int kTitleBarRoom = 120;

}  // namespace

std::string TemplatesFolder() { return platform::programFolder() + "Templates/"; }

formTemplate::formTemplate(std::function<void(const std::string&)> merge, std::function<void()> zoomAll,
                           QWidget* parent)
    : QDialog(parent), merge_(std::move(merge)), zoomAll_(std::move(zoomAll)) {
    setObjectName("formTemplate");
    setWindowTitle("Choose a template to start with.");
    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1);
    layout->addLayout(buttons);

    // Wide enough that the title bar shows the whole title beside its buttons; the
    // title is measured bold, as title bars mostly draw it.
    QFont titleFont = font();
    titleFont.setBold(true);
    setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleBarRoom);

    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
    Form_Load();
}

void formTemplate::Form_Load() {
    try {
        FillList(TemplatesFolder());
    } catch (...) {
        // The chooser still offers "New".
    }
}

void formTemplate::FillList(const std::string& folder) {
    folder_ = platform::withTrailingSlash(folder);
    List1->clear();
    List1->addItem(kNew);
    for (const std::string& name : platform::listFiles(folder_)) {
        if (QString::fromStdString(Globals::GetFileExtension(name)).toLower() != "wld") continue;
        // The file's own name is kept: "ROOM.WLD" is not "ROOM.wld" on this file system.
        auto* item = new QListWidgetItem(QString::fromStdString(name.substr(0, name.size() - 4)), List1);
        item->setData(Qt::UserRole, QString::fromStdString(name));
    }
    List1->setCurrentRow(0);
}

void formTemplate::cmdOk_Click() {
    const QListWidgetItem* item = List1->currentItem();
    const std::string file = item ? item->data(Qt::UserRole).toString().toStdString() : std::string();
    if (!file.empty() && merge_) merge_(folder_ + file);
    if (zoomAll_) zoomAll_();
    close();
}

void formTemplate::cmdCancel_Click() { close(); }

void formTemplate::List1_DblClick() { cmdOk_Click(); }

void formTemplate::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdOk_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}
