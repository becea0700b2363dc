// Folders and files as the editor uses them. Each call reports failure in its
// result and never throws.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Fails when the folder exists already or its parent does not.
bool CreateDirectoryA(const std::string& path);
// Only an empty folder.
bool RemoveDirectoryA(const std::string& path);
// Only a file, never a folder.
bool DeleteFileA(const std::string& path);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

// Names (not paths) in the folder, sorted; files matching a wildcard pattern
// such as "*.wld" (case-insensitive), or every file for "".
std::vector<std::string> listFiles(const std::string& folder, const std::string& pattern = "");
std::vector<std::string> listFolders(const std::string& folder);

// The file's lines without their line ends (LF or CR LF); nothing when it cannot
// be read.
std::optional<std::vector<std::string>> readLines(const std::string& path);

// path + "/" unless it already ends with one.
std::string withTrailingSlash(std::string path);

}  // namespace platform
