// Where the program stands and what it was started with.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The folder of the running executable, with a trailing "/". Never the current
// directory: the engine and the resources stand beside the program.
std::string programFolder();
// Tests point the program at a temporary folder ("" = the real one again).
void setProgramFolder(const std::string& folder);

// The arguments left after Qt took its own, joined with single spaces, so an
// unquoted path with spaces arrives whole.
std::string commandLine();
std::string joinArguments(const std::vector<std::string>& arguments);

// The world file named by a command line, or "": spaces trimmed at both ends,
// then a leading and then a trailing double quote dropped; the rest is one path.
std::string commandLineFile(const std::string& commandLine);

}  // namespace platform
