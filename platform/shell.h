// Handing things to the desktop (ShellExecute): documents, links, programs.
#pragma once

#include <string>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    // Each returns whether the desktop took the request.
    virtual bool openDocument(const std::string& path) = 0;
    // A web or mail link as the program writes it (see encodeLink).
    virtual bool openLink(const std::string& link) = 0;
    virtual bool startProgram(const std::string& program, const std::string& argument) = 0;
};

Shell& shell();
Shell* installShell(Shell* s);

// A link written as plain text, spaces and line feeds included, made a valid URL:
// characters that cannot stand in a URL are percent-encoded, while "%0d" and other
// escapes already written stay as they are.
std::string encodeLink(const std::string& link);

}  // namespace platform
