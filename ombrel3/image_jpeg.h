// JPEG files through libjpeg-turbo. Faults in the data become ApiErrors: the
// library's error exit never ends the process.
#pragma once

#include "image_io.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ombrel {

bool isJpeg(const uint8_t* data, std::size_t size);

// True colours only (the index plane stays empty for buildPalette). Missing or
// corrupt data is an error, not a grey lower half, whether or not an end marker
// follows the cut.
Image decodeJpeg(const uint8_t* data, std::size_t size, const std::string& source, const ImageLimits& limits);

// Baseline JPEG of the image's true colours; throws ApiError naming dest on failure.
std::vector<uint8_t> encodeJpeg(const Image& image, int quality, const std::string& dest);

}  // namespace ombrel
