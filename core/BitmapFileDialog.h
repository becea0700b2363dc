// The open-file dialog for bitmaps (backgrounds, textures, animation frames).
#pragma once

#include <string>

namespace Globals {

// The filter of the dialog: bitmaps, JPEG images, or both.
inline constexpr const char* BitmapFileFilter = "Bitmaps (*.bmp);;JPEG Images (*.jpg);;Images (*.bmp *.jpg)";

// The chosen file's path, or "" when the dialog was cancelled. One file is
// chosen even when multiSelect asks for several: choosing many comes with the
// texture tools.
std::string GetOpenedBitmapFile(bool multiSelect);

}  // namespace Globals
