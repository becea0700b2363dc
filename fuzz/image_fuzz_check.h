// Shared body of the image fuzzers: decode, then check the planes agree with the size.
#pragma once

#include "api_support.h"
#include "image_io.h"

#include <cstddef>
#include <cstdint>

namespace fuzzcheck {

inline void decodeImageInput(const uint8_t* data, std::size_t size) {
    // Smaller caps than the editor's keep each run fast; the limit checks are the same code.
    ombrel::ImageLimits limits;
    limits.maxSide = 4096;
    limits.maxBytes = int64_t(48) << 20;
    try {
        const auto image = ombrel::decodeImage(data, size, "fuzz input", limits);
        const std::size_t pixels = std::size_t(image->width) * std::size_t(image->height);
        if (image->width <= 0 || image->height <= 0 || image->rgba.size() != pixels * 4 || image->index.size() != pixels)
            __builtin_trap();
        for (std::size_t i = 3; i < image->rgba.size(); i += 4)
            if (image->rgba[i] != 255) __builtin_trap();
    } catch (const ombrel::ApiError&) {
    }
}

}  // namespace fuzzcheck
