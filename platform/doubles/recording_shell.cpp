#include "recording_shell.h"

namespace platform::testing {

RecordingShell::RecordingShell() : previous_(installShell(this)) {}

RecordingShell::~RecordingShell() { installShell(previous_); }

bool RecordingShell::openDocument(const std::string& path) {
    calls_.push_back({ShellCall::Document, path, {}});
    return succeeds_;
}

bool RecordingShell::openLink(const std::string& link) {
    calls_.push_back({ShellCall::Link, link, {}});
    return succeeds_;
}

bool RecordingShell::startProgram(const std::string& program, const std::string& argument) {
    calls_.push_back({ShellCall::Program, program, argument});
    return succeeds_;
}

}  // namespace platform::testing
