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

namespace {

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// At most limit bytes of text, backing off to the start of a character as the
// engine does (a character has at most three continuation bytes).
std::string_view cutBetweenCharacters(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t n = limit;
    for (int k = 0; k < 3 && n > 0 && continuationByte(text[n]); ++k) --n;
    return text.substr(0, n);
}

}  // namespace

std::string StoredName(std::string_view name) { return std::string(cutBetweenCharacters(name, MaxEntityNameBytes)); }

std::string FitName(std::string_view base, std::string_view suffix) {
    const std::size_t room = suffix.size() < MaxEntityNameBytes ? MaxEntityNameBytes - suffix.size() : 0;
    return std::string(cutBetweenCharacters(base, room)) + std::string(suffix);
}

std::string FirstFreeName(std::string_view base, bool withBase, const std::function<bool(const std::string&)>& taken) {
    if (withBase) {
        std::string name = StoredName(base);
        if (!taken(name)) return name;
    }
    // Each candidate is built from the base, not from the one before.
    for (int32_t n = 1;; ++n) {
        std::string name = FitName(base, ZeroPad(n, 2));
        if (!taken(name)) return name;
    }
}

}  // namespace Globals
