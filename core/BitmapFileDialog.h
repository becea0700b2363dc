// The open-file dialog for bitmaps (backgrounds, textures, animation frames).
#pragma once

#include <string>
#include <vector>

namespace Globals {

// The filter of the dialog: bitmaps, JPEG images, or both.
inline constexpr const char* BitmapFileFilter = "Bitmaps (*.bmp);;JPEG Images (*.jpg);;Images (*.bmp *.jpg)";

// The chosen files' paths in the dialog's order (one at most unless multiSelect
// lets several be chosen); empty when the dialog was cancelled.
std::vector<std::string> GetOpenedBitmapFile(bool multiSelect);

}  // namespace Globals
