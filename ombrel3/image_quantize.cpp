#include "image_quantize.h"

#include "image_io.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace ombrel {
namespace {

constexpr int kBins = 32 * 32 * 32;

int binOf(const uint8_t* px) { return (px[0] >> 3) << 10 | (px[1] >> 3) << 5 | px[2] >> 3; }

struct Bin {
    uint64_t count = 0, r = 0, g = 0, b = 0;
};

struct Box {
    int lo[3], hi[3];
    uint64_t count = 0;
};

using Histogram = std::vector<Bin>;

template <class F>
void forEachBin(const Box& box, F&& f) {
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g)
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) f(r, g, b, r << 10 | g << 5 | b);
}

// Tightens the box to its non-empty bins and counts them.
void shrink(Box& box, const Histogram& hist) {
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    uint64_t count = 0;
    forEachBin(box, [&](int r, int g, int b, int i) {
        if (!hist[i].count) return;
        const int c[3] = {r, g, b};
        for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], c[k]), hi[k] = std::max(hi[k], c[k]);
        count += hist[i].count;
    });
    std::copy(lo, lo + 3, box.lo);
    std::copy(hi, hi + 3, box.hi);
    box.count = count;
}

int longestAxis(const Box& box) {
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (box.hi[k] - box.lo[k] > box.hi[axis] - box.lo[axis]) axis = k;
    return axis;
}

// Cuts at the population median along the longest axis; both halves keep a
// non-empty end slice, so neither is empty.
std::pair<Box, Box> split(const Box& box, const Histogram& hist) {
    const int axis = longestAxis(box);
    std::array<uint64_t, 32> slice{};
    forEachBin(box, [&](int r, int g, int b, int i) {
        const int c[3] = {r, g, b};
        slice[c[axis]] += hist[i].count;
    });
    int cut = box.lo[axis];
    uint64_t sum = slice[cut];
    while (cut < box.hi[axis] - 1 && sum * 2 < box.count) sum += slice[++cut];
    Box a = box, b = box;
    a.hi[axis] = cut;
    b.lo[axis] = cut + 1;
    shrink(a, hist);
    shrink(b, hist);
    return {a, b};
}

Rgb8 meanColour(const Box& box, const Histogram& hist) {
    uint64_t r = 0, g = 0, b = 0;
    forEachBin(box, [&](int, int, int, int i) { r += hist[i].r, g += hist[i].g, b += hist[i].b; });
    const uint64_t n = box.count, half = n / 2;
    return Rgb8{uint8_t((r + half) / n), uint8_t((g + half) / n), uint8_t((b + half) / n)};
}

}  // namespace

std::optional<ExactPalette> exactPalette(const Image& image) {
    const std::size_t pixels = std::size_t(image.width) * std::size_t(image.height);
    ExactPalette out;
    out.index.resize(pixels);
    std::unordered_map<uint32_t, uint8_t> seen;
    seen.reserve(512);
    uint32_t last = 0xFFFFFFFF;
    uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        const uint8_t* px = &image.rgba[4 * i];
        const uint32_t key = uint32_t(px[0]) << 16 | uint32_t(px[1]) << 8 | px[2];
        if (key != last) {
            auto [it, added] = seen.try_emplace(key, uint8_t(out.colours.size()));
            if (added) {
                if (out.colours.size() == 256) return std::nullopt;
                out.colours.push_back(Rgb8{px[0], px[1], px[2]});
            }
            last = key, lastIndex = it->second;
        }
        out.index[i] = lastIndex;
    }
    return out;
}

std::vector<Rgb8> medianCut(const Image& image) {
    const std::size_t pixels = std::size_t(image.width) * std::size_t(image.height);
    Histogram hist(kBins);
    for (std::size_t i = 0; i < pixels; ++i) {
        const uint8_t* px = &image.rgba[4 * i];
        Bin& bin = hist[binOf(px)];
        ++bin.count, bin.r += px[0], bin.g += px[1], bin.b += px[2];
    }
    std::vector<Box> boxes;
    if (pixels) {
        Box all{{0, 0, 0}, {31, 31, 31}, 0};
        shrink(all, hist);
        boxes.push_back(all);
    }
    // Split the most populous boxes first, then the largest, so rare but distinct
    // colours still get entries of their own.
    while (boxes.size() < 256) {
        const bool byVolume = boxes.size() >= 128;
        int best = -1;
        uint64_t bestScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            const uint64_t extent[3] = {uint64_t(b.hi[0] - b.lo[0]), uint64_t(b.hi[1] - b.lo[1]),
                                        uint64_t(b.hi[2] - b.lo[2])};
            if (!extent[0] && !extent[1] && !extent[2]) continue;
            const uint64_t score = byVolume ? (extent[0] + 1) * (extent[1] + 1) * (extent[2] + 1) : b.count;
            if (score > bestScore) best = int(i), bestScore = score;
        }
        if (best < 0) break;
        auto [a, b] = split(boxes[std::size_t(best)], hist);
        boxes[std::size_t(best)] = a;
        boxes.push_back(b);
    }
    std::vector<Rgb8> palette;
    for (const Box& b : boxes) palette.push_back(meanColour(b, hist));
    return palette;
}

std::vector<uint8_t> nearestIndices(const Image& image, const std::vector<Rgb8>& palette) {
    const std::size_t pixels = std::size_t(image.width) * std::size_t(image.height);
    std::vector<int16_t> cache(kBins, -1);
    std::vector<uint8_t> index(pixels, 0);
    if (palette.empty()) return index;
    for (std::size_t i = 0; i < pixels; ++i) {
        const int bin = binOf(&image.rgba[4 * i]);
        if (cache[bin] < 0) {
            const int r = (bin >> 10) << 3 | 4, g = (bin >> 5 & 31) << 3 | 4, b = (bin & 31) << 3 | 4;
            int best = 0, bestDist = 1 << 30;
            for (std::size_t k = 0; k < palette.size(); ++k) {
                const int dr = palette[k].r - r, dg = palette[k].g - g, db = palette[k].b - b;
                const int dist = dr * dr + dg * dg + db * db;
                if (dist < bestDist) best = int(k), bestDist = dist;
            }
            cache[bin] = int16_t(best);
        }
        index[i] = uint8_t(cache[bin]);
    }
    return index;
}

void buildPalette(Image& image) {
    image.palette.fill(Rgb8{0, 0, 0});
    if (auto exact = exactPalette(image)) {
        std::copy(exact->colours.begin(), exact->colours.end(), image.palette.begin());
        image.index = std::move(exact->index);
        return;
    }
    const std::vector<Rgb8> palette = medianCut(image);
    std::copy(palette.begin(), palette.end(), image.palette.begin());
    image.index = nearestIndices(image, palette);
}

}  // namespace ombrel
