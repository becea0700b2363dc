#include "scripted_prompts.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

namespace platform::doubles {
namespace {

const char* resultName(MsgResult r) {
    switch (r) {
    case MsgResult::OK: return "OK";
    case MsgResult::Cancel: return "Cancel";
    case MsgResult::Yes: return "Yes";
    case MsgResult::No: return "No";
    }
    return "?";
}

}  // namespace

const char* kindName(PromptKind kind) {
    switch (kind) {
    case PromptKind::Message: return "message box";
    case PromptKind::Input: return "input box";
    case PromptKind::OpenFile: return "open file dialog";
    case PromptKind::SaveFile: return "save file dialog";
    case PromptKind::Colour: return "colour dialog";
    case PromptKind::Window: return "modal window";
    case PromptKind::Menu: return "pop-up menu";
    }
    return "?";
}

void reportWrongWindow(const QDialog& dialog, const char* expected) {
    ADD_FAILURE() << "The script expected a window of type " << expected << ", the program showed "
                  << dialog.metaObject()->className() << " \"" << dialog.windowTitle().toStdString()
                  << "\"";
}

ScriptedPrompts::ScriptedPrompts() : previous_(installPrompts(this)) {}

ScriptedPrompts::~ScriptedPrompts() {
    installPrompts(previous_);
    if (!script_.empty())
        ADD_FAILURE() << script_.size() << " scripted answer(s) never asked for; the next was for a "
                      << kindName(script_.front().kind);
}

ScriptedPrompts& ScriptedPrompts::answer(MsgResult result) {
    script_.push_back({PromptKind::Message, result, {}, {}, {}, {}, {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answer(MsgResult result, std::function<void()> whileShown) {
    script_.push_back({PromptKind::Message, result, {}, {}, {}, std::move(whileShown), {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerInput(std::string text) {
    script_.push_back({PromptKind::Input, MsgResult::OK, std::move(text), {}, {}, {}, {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerOpenFile(std::string path) {
    script_.push_back({PromptKind::OpenFile, MsgResult::OK, std::move(path), {}, {}, {}, {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerOpenFiles(std::vector<std::string> paths) {
    Answer a{PromptKind::OpenFile, MsgResult::OK, {}, {}, {}, {}, std::move(paths)};
    script_.push_back(std::move(a));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerSaveFile(std::string path) {
    script_.push_back({PromptKind::SaveFile, MsgResult::OK, std::move(path), {}, {}, {}, {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerColour(std::optional<int32_t> colour) {
    script_.push_back({PromptKind::Colour, MsgResult::OK, {}, colour, {}, {}, {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerColourUnchanged() {
    Answer a{PromptKind::Colour, MsgResult::OK, {}, {}, {}, {}, {}};
    a.keepInitial = true;
    script_.push_back(std::move(a));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerMenu(std::string item) {
    script_.push_back({PromptKind::Menu, MsgResult::OK, std::move(item), {}, {}, {}, {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerWindow(std::function<void(QDialog&)> handler) {
    script_.push_back({PromptKind::Window, MsgResult::OK, {}, {}, std::move(handler), {}, {}});
    return *this;
}

std::optional<ScriptedPrompts::Answer> ScriptedPrompts::take(const ShownPrompt& prompt) {
    shown_.push_back(prompt);
    if (script_.empty()) {
        ADD_FAILURE() << "Unscripted " << kindName(prompt.kind) << ": [" << prompt.title << "] "
                      << prompt.text;
        return std::nullopt;
    }
    if (script_.front().kind != prompt.kind) {
        ADD_FAILURE() << "The script expected a " << kindName(script_.front().kind) << ", the program showed a "
                      << kindName(prompt.kind) << ": [" << prompt.title << "] " << prompt.text;
        return std::nullopt;
    }
    Answer a = std::move(script_.front());
    script_.pop_front();
    return a;
}

MsgResult ScriptedPrompts::msgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                  const std::string& title) {
    const auto a = take({PromptKind::Message, title, text, buttons, icon});
    if (!a) return escapeResult(buttons);
    if (!offers(buttons, a->result)) {
        ADD_FAILURE() << "The script answered " << resultName(a->result)
                      << " to a box without that button: [" << title << "] " << text;
        return escapeResult(buttons);
    }
    if (a->whileShown) a->whileShown();
    return a->result;
}

std::string ScriptedPrompts::inputBox(const std::string& prompt, const std::string& title,
                                      const std::string&) {
    const auto a = take({PromptKind::Input, title, prompt});
    return a ? a->text : std::string();
}

std::string ScriptedPrompts::openFileName(const FileRequest& request) {
    ShownPrompt prompt{PromptKind::OpenFile, request.title, request.fileName};
    prompt.filter = request.filter;
    const auto a = take(prompt);
    if (a && !a->files.empty()) ADD_FAILURE() << "The script chose several files in a dialog that takes one";
    return a ? a->text : std::string();
}

std::vector<std::string> ScriptedPrompts::openFileNames(const FileRequest& request) {
    ShownPrompt prompt{PromptKind::OpenFile, request.title, request.fileName};
    prompt.filter = request.filter;
    prompt.manyFiles = true;
    const auto a = take(prompt);
    if (!a) return {};
    // One path scripted with answerOpenFile is one file chosen.
    if (a->files.empty() && !a->text.empty()) return {a->text};
    return a->files;
}

std::string ScriptedPrompts::saveFileName(const FileRequest& request) {
    ShownPrompt prompt{PromptKind::SaveFile, request.title, request.fileName};
    prompt.filter = request.filter;
    const auto a = take(prompt);
    return a ? a->text : std::string();
}

std::optional<int32_t> ScriptedPrompts::chooseColour(int32_t initial) {
    ShownPrompt prompt{PromptKind::Colour, "", ""};
    prompt.initialColour = initial;
    const auto a = take(prompt);
    if (!a) return std::nullopt;
    return a->keepInitial ? std::optional<int32_t>(initial) : a->colour;
}

int ScriptedPrompts::showModal(QDialog& dialog) {
    const auto a = take({PromptKind::Window, dialog.windowTitle().toStdString(),
                         dialog.objectName().toStdString()});
    if (!a) return QDialog::Rejected;
    // As exec() would: a fresh result, the window shown, closed when done.
    dialog.setResult(0);
    dialog.show();
    a->window(dialog);
    if (dialog.isVisible()) dialog.close();
    return dialog.result();
}

namespace {

// The menu's visible items, submenus' included, depth first.
void visibleItems(const QMenu& menu, std::vector<QAction*>& out) {
    for (QAction* action : menu.actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        out.push_back(action);
        if (action->menu()) visibleItems(*action->menu(), out);
    }
}

}  // namespace

QAction* ScriptedPrompts::popupMenu(QMenu& menu, const QPoint&) {
    std::vector<QAction*> visible;
    visibleItems(menu, visible);
    ShownPrompt prompt{PromptKind::Menu, menu.title().toStdString(), menu.objectName().toStdString()};
    for (QAction* action : visible) prompt.items.push_back(action->objectName().toStdString());
    const auto a = take(prompt);
    if (!a || a->text.empty()) return nullptr;
    for (QAction* action : visible)
        if (action->objectName().toStdString() == a->text && !action->menu()) {
            if (!action->isEnabled()) break;
            action->trigger();
            return action;
        }
    ADD_FAILURE() << "The script chose \"" << a->text << "\", which the menu " << menu.objectName().toStdString()
                  << " does not offer";
    return nullptr;
}

}  // namespace platform::doubles
