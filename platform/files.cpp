#include "files.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::vector<std::string> entries(const std::string& folder, QDir::Filters kind,
                                 const std::string& pattern) {
    QDir dir(QString::fromStdString(folder));
    if (!dir.exists()) return {};
    if (!pattern.empty()) dir.setNameFilters({QString::fromStdString(pattern)});
    std::vector<std::string> names;
    for (const QString& name : dir.entryList(kind | QDir::NoDotAndDotDot | QDir::Hidden,
                                             QDir::Name | QDir::IgnoreCase))
        names.push_back(name.toStdString());
    return names;
}

}  // namespace

bool CreateDirectoryA(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return false;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec)) return false;
    return fs::create_directory(path, ec) && !ec;
}

bool RemoveDirectoryA(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(path, ec)) || !fs::is_empty(path, ec)) return false;
    return fs::remove(path, ec) && !ec;
}

bool DeleteFileA(const std::string& path) {
    std::error_code ec;
    const auto status = fs::symlink_status(path, ec);
    if (ec || !fs::exists(status) || fs::is_directory(status)) return false;
    return fs::remove(path, ec) && !ec;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool folderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::vector<std::string> listFiles(const std::string& folder, const std::string& pattern) {
    return entries(folder, QDir::Files, pattern);
}

std::vector<std::string> listFolders(const std::string& folder) {
    return entries(folder, QDir::Dirs, "");
}

std::optional<std::vector<std::string>> readLines(const std::string& path) {
    if (!fileExists(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string withTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

}  // namespace platform
