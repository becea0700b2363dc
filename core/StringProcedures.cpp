#include "StringProcedures.h"

#include <filesystem>

namespace Globals {

std::string StripAtNull(std::string_view text) {
    auto nul = text.find('\0');
    return std::string(nul == std::string_view::npos ? text : text.substr(0, nul));
}

std::string ZeroPad(int32_t number, int32_t width) {
    std::string s = std::to_string(number);
    if (static_cast<int64_t>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return s;
}

std::string GetFolderOfPath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p(path);
    // A directory search finds files only; a folder or a missing path gives the path back.
    if (path.empty() || !fs::is_regular_file(p, ec)) return path;
    std::string found = p.filename().string();
    if (found.size() > path.size()) return path;
    return path.substr(0, path.size() - found.size());
}

std::string GetFileExtension(const std::string& path) {
    auto dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace Globals
