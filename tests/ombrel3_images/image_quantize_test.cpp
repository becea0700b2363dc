// Palettes of true-colour images: exact up to 256 colours, median cut beyond.
#include "image_io.h"

#include <gtest/gtest.h>

#include <cstdlib>

using ombrel::Image;

namespace {

Image fromFunction(int w, int h, auto colour) {
    Image image;
    image.width = w;
    image.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const ombrel::Rgb8 c = colour(x, y);
            image.rgba.insert(image.rgba.end(), {c.r, c.g, c.b, 255});
        }
    return image;
}

// Largest channel difference between a texel and its palette entry.
int worstError(const Image& image) {
    int worst = 0;
    for (std::size_t i = 0; i < image.index.size(); ++i) {
        const ombrel::Rgb8 e = image.palette[image.index[i]];
        worst = std::max({worst, std::abs(e.r - image.rgba[4 * i]), std::abs(e.g - image.rgba[4 * i + 1]),
                          std::abs(e.b - image.rgba[4 * i + 2])});
    }
    return worst;
}

TEST(ImageQuantize, AtMost256ColoursAreCoveredExactly) {
    // 256 colours, neighbours differing by less than a histogram bin.
    Image image = fromFunction(16, 16, [](int x, int y) {
        const int i = y * 16 + x;
        return ombrel::Rgb8{uint8_t(i), uint8_t(i / 3), uint8_t(255 - i / 5)};
    });
    const std::vector<uint8_t> before = image.rgba;
    ombrel::buildPalette(image);
    ASSERT_EQ(image.index.size(), 256u);
    EXPECT_EQ(worstError(image), 0);
    EXPECT_EQ(image.rgba, before);  // true colours stay for drawing
}

TEST(ImageQuantize, FewColoursLeaveTheRestOfThePaletteBlack) {
    Image image = fromFunction(4, 4, [](int x, int) { return x < 2 ? ombrel::Rgb8{10, 20, 30} : ombrel::Rgb8{200, 100, 50}; });
    ombrel::buildPalette(image);
    EXPECT_EQ(worstError(image), 0);
    EXPECT_NE(image.index[0], image.index[3]);
    for (std::size_t i = 2; i < 256; ++i) ASSERT_TRUE((image.palette[i] == ombrel::Rgb8{0, 0, 0}));
}

TEST(ImageQuantize, ManyColoursGetCloseEntriesAndARareColourKeepsItsOwn) {
    Image image = fromFunction(64, 64, [](int x, int y) {
        if (x == 5 && y == 7) return ombrel::Rgb8{255, 0, 0};
        return ombrel::Rgb8{uint8_t(x * 4), uint8_t(y * 4), 128};
    });
    ombrel::buildPalette(image);
    ASSERT_EQ(image.index.size(), 64u * 64u);
    EXPECT_LE(worstError(image), 16);
}

TEST(ImageQuantize, PhotoLikeNoiseStillMapsEveryTexelNearItsColour) {
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, uint8_t(seed >> 16); };
    Image image = fromFunction(128, 128, [&](int, int) { return ombrel::Rgb8{next(), next(), next()}; });
    ombrel::buildPalette(image);
    // 256 boxes over a uniform cube: each side about 256 / 6.35 wide.
    EXPECT_LE(worstError(image), 48);
}

}  // namespace
