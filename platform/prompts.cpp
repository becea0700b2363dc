#include "prompts.h"

#include "NumericField.h"

#include "qt_prompts.h"
#include "service_slot.h"

#include <QDialog>
#include <QMenu>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

// Under TALVORA_PROMPTS=log nothing waits for a user: each prompt takes its
// default button and leaves its title and text on stderr for the test that
// started the program.
class LoggingPrompts : public Prompts {
public:
    MsgResult msgBox(const std::string& text, MsgButtons buttons, MsgIcon,
                     const std::string& title) override {
        log("message", title, text);
        return defaultResult(buttons);
    }
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        log("input", title, prompt);
        return defaultText;
    }
    std::string openFileName(const FileRequest& request) override {
        log("open file", request.title, request.fileName);
        return {};
    }
    std::string saveFileName(const FileRequest& request) override {
        log("save file", request.title, request.fileName);
        return {};
    }
    std::vector<std::string> openFileNames(const FileRequest& request) override {
        log("open files", request.title, request.fileName);
        return {};
    }
    std::optional<int32_t> chooseColour(int32_t) override {
        log("colour", "", "");
        return std::nullopt;
    }
    int showModal(QDialog& dialog) override {
        log("window", dialog.windowTitle().toStdString(), dialog.objectName().toStdString());
        return QDialog::Rejected;
    }
    QAction* popupMenu(QMenu& menu, const QPoint&) override {
        log("menu", menu.title().toStdString(), menu.objectName().toStdString());
        return nullptr;
    }

private:
    static void log(const char* kind, const std::string& title, const std::string& text) {
        std::fprintf(stderr, "prompt %s [%s] %s\n", kind, title.c_str(), text.c_str());
        std::fflush(stderr);
    }
};

std::unique_ptr<Prompts> makeDefault() {
    const char* mode = std::getenv("TALVORA_PROMPTS");
    if (mode && std::strcmp(mode, "log") == 0) return std::make_unique<LoggingPrompts>();
    return std::make_unique<QtPrompts>();
}

ServiceSlot<Prompts> g_prompts(&makeDefault);

}  // namespace

std::string Prompts::inputNumber(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) {
    return inputBox(prompt, title, defaultText);
}

std::vector<std::string> Prompts::openFileNames(const FileRequest& request) {
    std::string path = openFileName(request);
    if (path.empty()) return {};
    return {std::move(path)};
}

// Whoever asks for the prompts is about to open a modal window, which takes the
// mouse: an arrow held down would never see its release and would go on stepping.
Prompts& prompts() {
    EndHeldSpinnerGesture();
    return g_prompts.get();
}
Prompts* installPrompts(Prompts* p) { return g_prompts.install(p); }

MsgResult defaultResult(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OK:
    case MsgButtons::OKCancel: return MsgResult::OK;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgResult::Yes;
    }
    return MsgResult::OK;
}

MsgResult escapeResult(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OK: return MsgResult::OK;
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::OKCancel:
    case MsgButtons::YesNoCancel: return MsgResult::Cancel;
    }
    return MsgResult::Cancel;
}

bool offers(MsgButtons buttons, MsgResult result) {
    switch (buttons) {
    case MsgButtons::OK: return result == MsgResult::OK;
    case MsgButtons::OKCancel: return result == MsgResult::OK || result == MsgResult::Cancel;
    case MsgButtons::YesNo: return result == MsgResult::Yes || result == MsgResult::No;
    case MsgButtons::YesNoCancel:
        return result == MsgResult::Yes || result == MsgResult::No || result == MsgResult::Cancel;
    }
    return false;
}

}  // namespace platform
