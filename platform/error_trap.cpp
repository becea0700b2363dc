#include "error_trap.h"

#include "prompts.h"

#include <cstdio>

std::string LastErrDescription;

namespace platform {
namespace {

void plainErrorWindow(QWidget*) {
    prompts().msgBox("An unexpected error has occured.\n\n" + LastErrDescription, MsgButtons::OK,
                     MsgIcon::Critical, "Error");
}

ErrorWindow g_window;

void showErrorWindow(QWidget* owner) {
    // The report itself must not fail the handler a second time.
    try {
        if (g_window)
            g_window(owner);
        else
            plainErrorWindow(owner);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "The error window failed: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "The error window failed.\n");
    }
}

}  // namespace

void setErrorWindow(ErrorWindow window) { g_window = std::move(window); }

bool runTrapped(QWidget* owner, const std::function<void()>& body) {
    std::string description;
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        description = e.what();
    } catch (...) {
        description = "Unknown error";
    }
    LastErrDescription = description;
    showErrorWindow(owner);
    return false;
}

}  // namespace platform
