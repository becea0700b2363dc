// Reading and writing bitmap files (BMP, JPEG). Every image gets a 256-entry
// palette and an index plane; drawing uses the true colours.
#pragma once

#include "records.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ombrel {

// Decodes BMP or JPEG data (recognised by content). Throws ApiError naming
// `source` and the offset of the fault.
std::shared_ptr<Image> decodeImage(const uint8_t* data, std::size_t size, const std::string& source);

// Reads and decodes a file. Images are shared: the same file, unchanged in size and
// modification time, gives the same decoded image.
std::shared_ptr<Image> loadImageFile(const std::string& path);

// Writes 24-bit colour: JPEG (quality 90) when the path ends in .jpg/.jpeg in any
// case, otherwise BMP. Throws ApiError on failure.
void writeImageFile(const Image& image, const std::string& path);

// Fills palette and index plane of a true-colour image (median cut).
void buildPalette(Image& image);

// Forgets every cached decoded image (engine_close).
void clearImageCache();

}  // namespace ombrel
