// The prompt seam in tests: answers come from a script in order, every prompt
// shown is recorded, and a prompt the script did not expect fails the running
// test at once (it gets the box's escape answer, so nothing ever blocks).
// Installed while it lives.
#pragma once

#include "platform/prompts.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <typeinfo>
#include <string>
#include <vector>

namespace platform::doubles {

enum class PromptKind { Message, Input, OpenFile, SaveFile, Colour, Window, Menu };

struct ShownPrompt {
    ShownPrompt(PromptKind k, std::string t = {}, std::string x = {}, MsgButtons b = MsgButtons::OK,
                MsgIcon i = MsgIcon::None)
        : kind(k), title(std::move(t)), text(std::move(x)), buttons(b), icon(i) {}
    PromptKind kind;
    std::string title;  // a window's title for Window
    std::string text;   // a window's objectName for Window and Menu
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    int32_t initialColour = 0;        // what a colour dialog opened with
    std::vector<std::string> items;  // objectNames of a menu's visible items, in order
    std::string filter;               // a file dialog's filter
    bool manyFiles = false;           // an open dialog that lets several files be chosen
};

class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;  // fails the test when answers are left over
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    ScriptedPrompts& answer(MsgResult result);
    // The same; whileShown runs while the box is up, before the answer is given.
    ScriptedPrompts& answer(MsgResult result, std::function<void()> whileShown);
    ScriptedPrompts& answerInput(std::string text);  // "" = cancelled
    ScriptedPrompts& answerOpenFile(std::string path);  // "" = cancelled
    // Answers an open dialog that lets several files be chosen (empty = cancelled).
    ScriptedPrompts& answerOpenFiles(std::vector<std::string> paths);
    ScriptedPrompts& answerSaveFile(std::string path);  // "" = cancelled
    ScriptedPrompts& answerColour(std::optional<int32_t> colour);
    // OK without a pick: the colour the dialog opened with.
    ScriptedPrompts& answerColourUnchanged();
    // The objectName of the item to choose ("" = the menu dismissed); the item
    // must be visible and enabled, and is triggered as a click on it would.
    ScriptedPrompts& answerMenu(std::string item);
    // The handler gets the live, shown window; it may type into fields and press
    // buttons. A window still open after it is closed as by the user.
    ScriptedPrompts& answerWindow(std::function<void(QDialog&)> handler);
    template <class Window>
    ScriptedPrompts& answerWindow(std::function<void(Window&)> handler);

    const std::vector<ShownPrompt>& shown() const { return shown_; }
    std::size_t pendingAnswers() const { return script_.size(); }

    MsgResult msgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                     const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFileName(const FileRequest& request) override;
    std::string saveFileName(const FileRequest& request) override;
    std::vector<std::string> openFileNames(const FileRequest& request) override;
    std::optional<int32_t> chooseColour(int32_t initial) override;
    int showModal(QDialog& dialog) override;
    QAction* popupMenu(QMenu& menu, const QPoint& globalPos) override;

private:
    struct Answer {
        PromptKind kind;
        MsgResult result = MsgResult::OK;
        std::string text;
        std::optional<int32_t> colour;
        std::function<void(QDialog&)> window;
        std::function<void()> whileShown;
        std::vector<std::string> files;
        bool keepInitial = false;
    };
    // The next answer when it is of this kind; reports the prompt otherwise.
    std::optional<Answer> take(const ShownPrompt& prompt);

    std::deque<Answer> script_;
    std::vector<ShownPrompt> shown_;
    Prompts* previous_;
};

// Reports a window of another class than the script expected.
void reportWrongWindow(const QDialog& dialog, const char* expected);

template <class Window>
ScriptedPrompts& ScriptedPrompts::answerWindow(std::function<void(Window&)> handler) {
    return answerWindow([handler = std::move(handler)](QDialog& dialog) {
        if (auto* w = dynamic_cast<Window*>(&dialog))
            handler(*w);
        else
            reportWrongWindow(dialog, typeid(Window).name());
    });
}

const char* kindName(PromptKind kind);

}  // namespace platform::doubles
