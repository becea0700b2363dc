// The BMP reader through decodeImage: every depth and header, RLE, and bad data.
#include "bmp_builder.h"

#include "api_support.h"
#include "image_io.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using bmptest::BmpSpec;
using bmptest::Colour;
using ombrel::Image;

namespace {

// Channels of 0 or 255 only, so every depth (5-bit channels included) holds them exactly.
const std::vector<Colour> kColours = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {255, 255, 0}};
constexpr int kWidth = 9;  // odd, and crosses byte borders at 1 and 4 bits
constexpr int kHeight = 2;

int colourAt(int x, int y, int bits) {  // y counts from the top
    const int v = (x + 2 * y) % 6;
    return bits == 1 ? v % 2 : v;
}

std::shared_ptr<Image> decode(const std::vector<uint8_t>& bytes, const std::string& source = "test.bmp") {
    return ombrel::decodeImage(bytes.data(), bytes.size(), source);
}

void expectPaletteCoversTexels(const Image& image) {
    ASSERT_EQ(image.index.size(), std::size_t(image.width) * std::size_t(image.height));
    for (std::size_t i = 0; i < image.index.size(); ++i) {
        const ombrel::Rgb8 entry = image.palette[image.index[i]];
        ASSERT_EQ(entry.r, image.rgba[4 * i]) << "texel " << i;
        ASSERT_EQ(entry.g, image.rgba[4 * i + 1]) << "texel " << i;
        ASSERT_EQ(entry.b, image.rgba[4 * i + 2]) << "texel " << i;
    }
}

struct DepthCase {
    const char* name;
    uint16_t bits;
    uint32_t compression;
    uint32_t headerSize;
    bool topDown;
    std::vector<uint32_t> masks;  // empty: the depth's default layout
};

uint32_t pixelValue(const DepthCase& c, Colour colour) {
    if (c.bits == 24) return uint32_t(colour.r) << 16 | uint32_t(colour.g) << 8 | colour.b;
    std::vector<uint32_t> masks = c.masks;
    if (masks.empty()) masks = c.bits == 16 ? std::vector<uint32_t>{0x7C00, 0x03E0, 0x001F}
                                            : std::vector<uint32_t>{0xFF0000, 0xFF00, 0xFF};
    uint32_t v = (colour.r ? masks[0] : 0) | (colour.g ? masks[1] : 0) | (colour.b ? masks[2] : 0);
    if (c.bits == 32 && c.compression == 0) v |= 0x5A000000;  // the unused byte must be ignored
    return v;
}

BmpSpec depthFixture(const DepthCase& c) {
    BmpSpec s;
    s.width = kWidth;
    s.height = c.topDown ? -kHeight : kHeight;
    s.bits = c.bits;
    s.compression = c.compression;
    s.headerSize = c.headerSize;
    s.masks = c.masks;
    if (c.bits <= 8) s.palette.assign(kColours.begin(), kColours.begin() + (c.bits == 1 ? 2 : 6));
    std::vector<std::vector<uint32_t>> rows;
    for (int r = 0; r < kHeight; ++r) {
        const int y = c.topDown ? r : kHeight - 1 - r;
        std::vector<uint32_t> row;
        for (int x = 0; x < kWidth; ++x) {
            const int k = colourAt(x, y, c.bits);
            row.push_back(c.bits <= 8 ? uint32_t(k) : pixelValue(c, kColours[std::size_t(k)]));
        }
        rows.push_back(row);
    }
    s.pixels = bmptest::packRows(rows, c.bits);
    return s;
}

TEST(ImageBmp, DecodesEveryDepthHeaderAndOrientation) {
    const DepthCase cases[] = {
        {"1 bit", 1, 0, 40, false, {}},
        {"1 bit top-down", 1, 0, 40, true, {}},
        {"4 bits", 4, 0, 40, false, {}},
        {"4 bits top-down", 4, 0, 40, true, {}},
        {"8 bits", 8, 0, 40, false, {}},
        {"8 bits top-down", 8, 0, 40, true, {}},
        {"8 bits OS/2 core header", 8, 0, 12, false, {}},
        {"8 bits V5 header top-down", 8, 0, 124, true, {}},
        {"16 bits 5-5-5", 16, 0, 40, false, {}},
        {"16 bits 5-6-5 top-down", 16, 3, 40, true, {0xF800, 0x07E0, 0x001F}},
        {"16 bits 5-6-5 V4 header", 16, 3, 108, false, {0xF800, 0x07E0, 0x001F}},
        {"16 bits masks in a 52-byte header", 16, 3, 52, false, {0x001F, 0x03E0, 0x7C00}},
        {"24 bits", 24, 0, 40, false, {}},
        {"24 bits top-down", 24, 0, 40, true, {}},
        {"24 bits OS/2 core header", 24, 0, 12, false, {}},
        {"32 bits", 32, 0, 40, false, {}},
        {"32 bits odd masks V5 top-down", 32, 3, 124, true, {0x0000FF00, 0xFF000000, 0x000000FF}},
        {"32 bits alpha bitfields", 32, 6, 40, false, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
    };
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = decode(bmptest::makeBmp(depthFixture(c)));
        ASSERT_EQ(image->width, kWidth);
        ASSERT_EQ(image->height, kHeight);
        ASSERT_EQ(image->rgba.size(), std::size_t(kWidth * kHeight * 4));
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const int k = colourAt(x, y, c.bits);
                const Colour want = kColours[std::size_t(k)];
                const uint8_t* px = &image->rgba[std::size_t(4 * (y * kWidth + x))];
                ASSERT_EQ((std::vector<int>{px[0], px[1], px[2], px[3]}), (std::vector<int>{want.r, want.g, want.b, 255}))
                    << "pixel " << x << "," << y;
                if (c.bits <= 8) {
                    ASSERT_EQ(image->index[std::size_t(y * kWidth + x)], k);
                }
            }
        }
        expectPaletteCoversTexels(*image);
        if (c.bits <= 8) {
            // The file's palette in its order, padded with black.
            const std::size_t n = c.bits == 1 ? 2 : 6;
            for (std::size_t i = 0; i < 256; ++i) {
                const Colour want = i < n ? kColours[i] : Colour{0, 0, 0};
                ASSERT_TRUE((image->palette[i] == ombrel::Rgb8{want.r, want.g, want.b})) << "entry " << i;
            }
        }
    }
}

std::vector<int> indicesOf(const Image& image) { return std::vector<int>(image.index.begin(), image.index.end()); }

TEST(ImageBmp, Rle8RunsAbsoluteRunsDeltasAndEndOfLine) {
    BmpSpec s;
    s.width = 4;
    s.height = 3;
    s.bits = 8;
    s.compression = 1;
    s.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    s.pixels = {
        6, 1,           // bottom row: a run of 6 clipped to the width of 4
        0, 0,           // end of line
        0, 3, 2, 3, 1, 0,  // middle row: absolute run 2 3 1, padded to a word
        0, 0,           // end of line; x = 3 of the middle row stays 0
        0, 2, 1, 0,     // delta: skip the top row's first pixel
        2, 3,           // run of two 3s
        0, 1,           // end of bitmap
    };
    const auto image = decode(bmptest::makeBmp(s));
    EXPECT_EQ(indicesOf(*image), (std::vector<int>{0, 3, 3, 0, 2, 3, 1, 0, 1, 1, 1, 1}));
    EXPECT_EQ(image->rgba[4 * 1 + 2], 255);  // top row, x = 1: blue
    expectPaletteCoversTexels(*image);
}

TEST(ImageBmp, Rle4NibbleRunsDeltaAcrossRowsAndPaddedAbsoluteRun) {
    BmpSpec s;
    s.width = 5;
    s.height = 3;
    s.bits = 4;
    s.compression = 2;
    for (int i = 0; i < 16; ++i) s.palette.push_back({uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i)});
    s.pixels = {
        2, 0x12,                     // bottom row: 1 2
        0, 2, 1, 1,                  // delta right 1 and up 1: middle row, x = 3
        2, 0x99,                     // 9 9
        0, 0,                        // end of line
        0, 5, 0x34, 0x56, 0x70, 0,  // top row: absolute run 3 4 5 6 7, three bytes padded to a word
        0, 1,                        // end of bitmap
    };
    const auto image = decode(bmptest::makeBmp(s));
    EXPECT_EQ(indicesOf(*image), (std::vector<int>{3, 4, 5, 6, 7, 0, 0, 0, 9, 9, 1, 2, 0, 0, 0}));
    expectPaletteCoversTexels(*image);
}

TEST(ImageBmp, OversizedColourCountIsClampedToTheDepth) {
    DepthCase c{"4 bits", 4, 0, 40, false, {}};
    BmpSpec s = depthFixture(c);
    s.palette.resize(16, Colour{0, 0, 0});
    s.coloursUsed = 0xFFFFFFFF;
    const auto image = decode(bmptest::makeBmp(s));
    EXPECT_TRUE((image->palette[2] == ombrel::Rgb8{0, 0, 255}));
}

// The message names the source and the offset where the fault lies.
constexpr std::size_t kAtEnd = ~std::size_t(0);  // the offset is the data's size

struct BadCase {
    const char* name;
    std::vector<uint8_t> bytes;
    std::size_t offset;
};

std::vector<uint8_t> valid24() { return bmptest::makeBmp(depthFixture({"24", 24, 0, 40, false, {}})); }
std::vector<uint8_t> valid8() { return bmptest::makeBmp(depthFixture({"8", 8, 0, 40, false, {}})); }

template <class F>
std::vector<uint8_t> edited(std::vector<uint8_t> bytes, F&& edit) {
    edit(bytes);
    return bytes;
}

std::vector<uint8_t> rle8(int width, int height, std::vector<uint8_t> data) {
    BmpSpec s;
    s.width = width;
    s.height = height;
    s.bits = 8;
    s.compression = 1;
    s.palette = {{0, 0, 0}, {255, 255, 255}};
    s.pixels = std::move(data);
    return bmptest::makeBmp(s);
}

TEST(ImageBmp, BadDataThrowsNamingSourceAndOffset) {
    const std::size_t pixelsAt24 = 54, pixelsAt8 = 54 + 6 * 4;
    const BadCase cases[] = {
        {"neither format", {'G', 'I', 'F', '8', '9', 'a'}, 0},
        {"file header cut", {'B', 'M', 0, 0, 0, 0, 0, 0}, 0},
        {"info header cut", edited(valid24(), [](auto& b) { b.resize(30); }), 14},
        {"unknown header size", edited(valid24(), [](auto& b) { bmptest::set32(b, 14, 41); }), 14},
        {"zero width", edited(valid24(), [](auto& b) { bmptest::set32(b, 18, 0); }), 18},
        {"negative width", edited(valid24(), [](auto& b) { bmptest::set32(b, 18, uint32_t(-5)); }), 18},
        {"zero height", edited(valid24(), [](auto& b) { bmptest::set32(b, 22, 0); }), 22},
        {"pixel data cut", edited(valid24(), [](auto& b) { b.resize(b.size() - 30); }), pixelsAt24},
        {"pixel offset past the end", edited(valid24(), [](auto& b) { bmptest::set32(b, 10, 1000); }), kAtEnd},
        {"huge dimensions", edited(valid24(), [](auto& b) { bmptest::set32(b, 18, 1u << 30), bmptest::set32(b, 22, 1u << 30); }), 18},
        {"height beyond the file", edited(valid24(), [](auto& b) { bmptest::set32(b, 22, 4000); }), pixelsAt24},
        {"most negative height", edited(valid24(), [](auto& b) { bmptest::set32(b, 22, 0x80000000u); }), 18},
        {"palette cut", edited(valid8(), [](auto& b) { b.resize(60); }), 54},
        {"8-bit pixels cut", edited(valid8(), [](auto& b) { b.resize(b.size() - 20); }), pixelsAt8},
        {"unsupported bit count", edited(valid24(), [](auto& b) { b[28] = 2; }), 28},
        {"RLE on 24 bits", edited(valid24(), [](auto& b) { b[30] = 1; }), 28},
        {"embedded JPEG compression", edited(valid24(), [](auto& b) { b[30] = 4; }), 28},
        {"top-down RLE", rle8(4, -2, {0, 1}), 22},
        {"RLE side beyond the cap", rle8(20000, 2, {0, 1}), 18},
        {"RLE area beyond the memory cap", rle8(16000, 16000, {0, 1}), 18},
        {"RLE without end mark", rle8(4, 2, {4, 1, 0, 0}), 54 + 8 + 4},
        {"RLE delta cut", rle8(4, 2, {0, 2, 1}), 54 + 8 + 2},
        {"RLE absolute run cut", rle8(4, 2, {0, 4, 1, 1}), 54 + 8 + 2},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t offset = c.offset == kAtEnd ? c.bytes.size() : c.offset;
        try {
            decode(c.bytes, "/some/folder/broken.bmp");
            ADD_FAILURE() << "no error";
        } catch (const ombrel::ApiError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("/some/folder/broken.bmp"), std::string::npos) << text;
            EXPECT_NE(text.find("at offset " + std::to_string(offset)), std::string::npos) << text;
        }
    }
}

long peakKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// The peak resident size in kB, after the kernel restarts it from the present size.
long restartPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
    return peakKb();
}

// A few kilobytes claiming the largest picture the limits allow: refused as larger
// than the file before its planes (a quarter of a gigabyte) are ever touched.
TEST(ImageBmp, ASizeTheFileCannotHoldIsRefusedBeforeAnyPlane) {
    std::vector<uint8_t> bytes = valid8();
    bmptest::set32(bytes, 18, 16384);
    bmptest::set32(bytes, 22, 3276);
    bytes.resize(9 * 1024, 7);
    const long before = restartPeak();
    ASSERT_GT(before, 0) << "no peak resident size to read";
    try {
        decode(bytes, "/some/folder/claim.bmp");
        ADD_FAILURE() << "no error";
    } catch (const ombrel::ApiError& e) {
        EXPECT_NE(std::string(e.what()).find("larger than the file"), std::string::npos) << e.what();
    }
    EXPECT_LT(peakKb() - before, 16 * 1024) << "kB resident beyond the start";
}

}  // namespace
