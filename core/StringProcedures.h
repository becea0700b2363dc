// Names, numbers and paths as the editor's procedures take them apart.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace Globals {

// The part before the first NUL (all of it when there is none).
std::string StripAtNull(std::string_view text);
// Zeros in front (before a minus sign too) until the text has width characters.
std::string ZeroPad(int32_t number, int32_t width);
// The path without its file name (trailing separator kept) when the file exists;
// otherwise the path itself.
std::string GetFolderOfPath(const std::string& path);
// The text after the last "." of path; empty when there is none.
std::string GetFileExtension(const std::string& path);
// The text without its leading and trailing blanks (spaces).
std::string Trim(std::string_view text);

// The longest name the engine keeps, in bytes.
inline constexpr std::size_t MaxEntityNameBytes = 254;
// The name as the engine stores it: cut to MaxEntityNameBytes between UTF-8
// characters, never inside one.
std::string StoredName(std::string_view name);
// base cut between characters so that base followed by suffix is stored whole.
std::string FitName(std::string_view base, std::string_view suffix);
// A generated name: base itself when withBase and free, else base followed by
// the first two-digit counter from 01 that makes a free name, base being cut
// between characters so each candidate is stored whole. taken gets each
// candidate as the engine will store it.
std::string FirstFreeName(std::string_view base, bool withBase, const std::function<bool(const std::string&)>& taken);

}  // namespace Globals
