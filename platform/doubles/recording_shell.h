// A desktop that records what the program handed to it and opens nothing.
#pragma once

#include "platform/shell.h"

#include <vector>

namespace platform::testing {

struct ShellCall {
    enum Kind { Document, Link, Program } kind;
    std::string target;
    std::string argument;
};

class RecordingShell : public Shell {
public:
    RecordingShell();
    ~RecordingShell() override;
    RecordingShell(const RecordingShell&) = delete;
    RecordingShell& operator=(const RecordingShell&) = delete;

    bool openDocument(const std::string& path) override;
    bool openLink(const std::string& link) override;
    bool startProgram(const std::string& program, const std::string& argument) override;

    const std::vector<ShellCall>& calls() const { return calls_; }
    // What the calls answer from now on.
    void setSucceeds(bool succeeds) { succeeds_ = succeeds; }

private:
    std::vector<ShellCall> calls_;
    bool succeeds_ = true;
    Shell* previous_;
};

}  // namespace platform::testing
