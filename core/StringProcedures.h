// Names, numbers and paths as the editor's procedures take them apart.
#pragma once

#include <cstdint>
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

}  // namespace Globals
