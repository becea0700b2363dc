// BMP files: the reader (1, 4, 8 bits with palette, RLE4/RLE8, 16, 24, 32 bits) and
// the 24-bit writer.
#pragma once

#include "image_io.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ombrel {

bool isBmp(const uint8_t* data, std::size_t size);

// Palettised files fill palette and index plane; true-colour files leave the
// index plane empty for buildPalette. Throws ApiError naming source and offset.
Image decodeBmp(const uint8_t* data, std::size_t size, const std::string& source, const ImageLimits& limits);

// Bottom-up 24-bit BI_RGB file of the image's true colours.
std::vector<uint8_t> encodeBmp24(const Image& image);

}  // namespace ombrel
