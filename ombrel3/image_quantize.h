// 256-colour palettes for true-colour images (buildPalette in image_io.h).
#pragma once

#include "records.h"

#include <optional>
#include <vector>

namespace ombrel {

// The image's colours in first-seen order with each texel's index, when there are at
// most 256 of them; otherwise nothing.
struct ExactPalette {
    std::vector<Rgb8> colours;
    std::vector<uint8_t> index;
};
std::optional<ExactPalette> exactPalette(const Image& image);

// At most 256 colours by median cut over a 32x32x32 histogram; each entry is the
// mean true colour of its box.
std::vector<Rgb8> medianCut(const Image& image);

// Index plane of the nearest palette entry, through a 32x32x32 cache of bin centres.
std::vector<uint8_t> nearestIndices(const Image& image, const std::vector<Rgb8>& palette);

}  // namespace ombrel
