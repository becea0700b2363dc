// The one seam for every modal prompt and modal window of the program. Editor
// code asks here; the Qt implementation runs the dialogs, the scripted double in
// the tests answers them, and TALVORA_PROMPTS=log answers each with its default
// button and writes it to stderr (for tests that run the program as a child).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QMenu;
class QPoint;

namespace platform {

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Information };
// Values as the classic message box returns them.
enum class MsgResult { OK = 1, Cancel = 2, Yes = 6, No = 7 };

inline constexpr const char* kAppTitle = "TALVORA";

struct FileRequest {
    std::string title;
    std::string folder;    // where the dialog opens; "" = the toolkit's choice
    std::string fileName;  // proposed name
    std::string filter;    // Qt filter text, e.g. "World files (*.wld);;All files (*)"
};

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual MsgResult msgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                             const std::string& title) = 0;
    // The typed text, or "" when cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    // The same box taking numbers only: a key that leaves no number to be had is
    // refused. A seam without such a box asks with the plain one.
    virtual std::string inputNumber(const std::string& prompt, const std::string& title,
                                    const std::string& defaultText);
    // The chosen path, or "" when cancelled. Saving never asks about overwriting:
    // the program asks its own question.
    virtual std::string openFileName(const FileRequest& request) = 0;
    virtual std::string saveFileName(const FileRequest& request) = 0;
    // Several existing files chosen at once, in the dialog's order; empty when
    // cancelled. A seam that offers no such dialog lets one file be chosen.
    virtual std::vector<std::string> openFileNames(const FileRequest& request);
    // A colour as 0x00BBGGRR, or nothing when cancelled.
    virtual std::optional<int32_t> chooseColour(int32_t initial) = 0;
    // Runs one of the program's own windows modally; returns QDialog's result.
    virtual int showModal(QDialog& dialog) = 0;
    // Pops a menu up at a global position until the user chooses or dismisses
    // it; the chosen item has been triggered when this returns it.
    virtual QAction* popupMenu(QMenu& menu, const QPoint& globalPos) = 0;
};

Prompts& prompts();
// Installs a replacement (nullptr = the default again); returns the previous one.
Prompts* installPrompts(Prompts* p);

// The default button of a box: the first one.
MsgResult defaultResult(MsgButtons buttons);
// What closing a box without choosing gives: Cancel where there is one.
MsgResult escapeResult(MsgButtons buttons);
bool offers(MsgButtons buttons, MsgResult result);

inline MsgResult msgBox(const std::string& text, MsgButtons buttons = MsgButtons::OK,
                        MsgIcon icon = MsgIcon::None, const std::string& title = kAppTitle) {
    return prompts().msgBox(text, buttons, icon, title);
}

inline int showModal(QDialog& dialog) { return prompts().showModal(dialog); }

// The chosen (and already triggered) item of a pop-up menu, or null.
inline QAction* popupMenu(QMenu& menu, const QPoint& globalPos) { return prompts().popupMenu(menu, globalPos); }

}  // namespace platform
