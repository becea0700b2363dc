#include "qt_prompts.h"

#include "NumberEntry.h"
#include "colour.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

namespace platform {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OK: return QMessageBox::Ok;
    case MsgButtons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton qtButton(MsgResult r) {
    switch (r) {
    case MsgResult::OK: return QMessageBox::Ok;
    case MsgResult::Cancel: return QMessageBox::Cancel;
    case MsgResult::Yes: return QMessageBox::Yes;
    case MsgResult::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

}  // namespace

std::unique_ptr<QMessageBox> makeMessageBox(const std::string& text, MsgButtons buttons,
                                            MsgIcon icon, const std::string& title) {
    auto box = std::make_unique<QMessageBox>(qtIcon(icon), qs(title), qs(text), qtButtons(buttons),
                                             QApplication::activeWindow());
    box->setDefaultButton(qtButton(defaultResult(buttons)));
    // A Yes/No box cannot be closed without an answer.
    if (buttons != MsgButtons::YesNo) box->setEscapeButton(qtButton(escapeResult(buttons)));
    return box;
}

MsgResult resultOfButton(int standardButton) {
    switch (standardButton) {
    case QMessageBox::Ok: return MsgResult::OK;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return MsgResult::Cancel;
    }
}

std::unique_ptr<QFileDialog> makeFileDialog(const FileRequest& request, FileMode mode) {
    auto dialog = std::make_unique<QFileDialog>(QApplication::activeWindow(), qs(request.title),
                                                qs(request.folder), qs(request.filter));
    if (mode == FileMode::Save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        // The program asks its own overwrite question.
        dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(mode == FileMode::OpenMany ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    if (!request.fileName.empty()) dialog->selectFile(qs(request.fileName));
    return dialog;
}

MsgResult QtPrompts::msgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                            const std::string& title) {
    auto box = makeMessageBox(text, buttons, icon, title);
    box->exec();
    const auto clicked = box->standardButton(box->clickedButton());
    if (clicked == QMessageBox::NoButton) return escapeResult(buttons);
    return resultOfButton(clicked);
}

std::string QtPrompts::inputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), qs(title), qs(prompt),
                                               QLineEdit::Normal, qs(defaultText), &ok);
    return ok ? text.toStdString() : std::string();
}

std::unique_ptr<QInputDialog> makeNumberInputDialog(const std::string& prompt, const std::string& title,
                                                    const std::string& defaultText) {
    auto dialog = std::make_unique<QInputDialog>(QApplication::activeWindow());
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setWindowTitle(qs(title));
    dialog->setLabelText(qs(prompt));
    dialog->setTextValue(qs(defaultText));
    if (auto* field = dialog->findChild<QLineEdit*>()) AcceptNumbers(field);
    return dialog;
}

std::string QtPrompts::inputNumber(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) {
    auto dialog = makeNumberInputDialog(prompt, title, defaultText);
    if (dialog->exec() != QDialog::Accepted) return {};
    return dialog->textValue().toStdString();
}

std::string QtPrompts::openFileName(const FileRequest& request) {
    auto dialog = makeFileDialog(request, FileMode::Open);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().first().toStdString();
}

std::string QtPrompts::saveFileName(const FileRequest& request) {
    auto dialog = makeFileDialog(request, FileMode::Save);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().first().toStdString();
}

std::vector<std::string> QtPrompts::openFileNames(const FileRequest& request) {
    auto dialog = makeFileDialog(request, FileMode::OpenMany);
    if (dialog->exec() != QDialog::Accepted) return {};
    std::vector<std::string> paths;
    for (const QString& file : dialog->selectedFiles()) paths.push_back(file.toStdString());
    return paths;
}

std::optional<int32_t> QtPrompts::chooseColour(int32_t initial) {
    const QColor chosen = QColorDialog::getColor(toQColor(initial), QApplication::activeWindow());
    if (!chosen.isValid()) return std::nullopt;
    return fromQColor(chosen);
}

int QtPrompts::showModal(QDialog& dialog) { return dialog.exec(); }

QAction* QtPrompts::popupMenu(QMenu& menu, const QPoint& globalPos) { return menu.exec(globalPos); }

}  // namespace platform
