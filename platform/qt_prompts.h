// The prompts on screen: real Qt dialogs run with exec().
#pragma once

#include "prompts.h"

#include <memory>

class QFileDialog;
class QInputDialog;
class QMessageBox;

namespace platform {

class QtPrompts : public Prompts {
public:
    MsgResult msgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                     const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string inputNumber(const std::string& prompt, const std::string& title,
                            const std::string& defaultText) override;
    std::string openFileName(const FileRequest& request) override;
    std::string saveFileName(const FileRequest& request) override;
    std::vector<std::string> openFileNames(const FileRequest& request) override;
    std::optional<int32_t> chooseColour(int32_t initial) override;
    int showModal(QDialog& dialog) override;
    QAction* popupMenu(QMenu& menu, const QPoint& globalPos) override;
};

// The dialogs as QtPrompts builds them, apart so they can be checked unshown.
std::unique_ptr<QMessageBox> makeMessageBox(const std::string& text, MsgButtons buttons,
                                            MsgIcon icon, const std::string& title);
MsgResult resultOfButton(int standardButton);
std::unique_ptr<QInputDialog> makeNumberInputDialog(const std::string& prompt, const std::string& title,
                                                    const std::string& defaultText);
enum class FileMode { Open, Save, OpenMany };
std::unique_ptr<QFileDialog> makeFileDialog(const FileRequest& request, FileMode mode);

}  // namespace platform
