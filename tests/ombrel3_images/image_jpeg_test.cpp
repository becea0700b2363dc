// The JPEG reader and writer: round trip within a tolerance, grey files, bad data.
#include "api_support.h"
#include "image_io.h"
#include "image_jpeg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

using ombrel::Image;

namespace {

Image gradient(int w, int h) {
    Image image;
    image.width = w;
    image.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.rgba.insert(image.rgba.end(), {uint8_t(x * 255 / (w - 1)), uint8_t(y * 255 / (h - 1)), 96, 255});
    return image;
}

std::vector<uint8_t> encode(const Image& image) { return ombrel::encodeJpeg(image, 90, "memory.jpg"); }

TEST(ImageJpeg, RoundTripStaysWithinTolerance) {
    const Image original = gradient(40, 24);
    const std::vector<uint8_t> bytes = encode(original);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    const auto decoded = ombrel::decodeImage(bytes.data(), bytes.size(), "memory.jpg");
    ASSERT_EQ(decoded->width, 40);
    ASSERT_EQ(decoded->height, 24);
    ASSERT_EQ(decoded->rgba.size(), original.rgba.size());
    int worst = 0;
    for (std::size_t i = 0; i < original.rgba.size(); ++i) {
        if (i % 4 == 3) {
            ASSERT_EQ(decoded->rgba[i], 255);
            continue;
        }
        worst = std::max(worst, std::abs(int(decoded->rgba[i]) - int(original.rgba[i])));
    }
    EXPECT_LE(worst, 12);
    ASSERT_EQ(decoded->index.size(), 40u * 24u);  // quantised for the transparent index
}

// A one-component file written straight through libjpeg.
std::vector<uint8_t> greyJpeg(int w, int h) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(std::size_t(w), 0);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < w; ++x) row[std::size_t(x)] = uint8_t(x < w / 2 ? 40 : 200);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

TEST(ImageJpeg, GreyFileGivesEqualChannels) {
    const std::vector<uint8_t> bytes = greyJpeg(16, 8);
    const auto image = ombrel::decodeImage(bytes.data(), bytes.size(), "grey.jpg");
    ASSERT_EQ(image->rgba.size(), 16u * 8u * 4u);
    for (std::size_t i = 0; i < image->rgba.size(); i += 4) {
        ASSERT_EQ(image->rgba[i], image->rgba[i + 1]);
        ASSERT_EQ(image->rgba[i], image->rgba[i + 2]);
    }
    EXPECT_NEAR(image->rgba[0], 40, 6);
    EXPECT_NEAR(image->rgba[4 * 15], 200, 6);
}

std::size_t findMarker(const std::vector<uint8_t>& bytes, uint8_t marker) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == marker) return i;
    return bytes.size();
}

TEST(ImageJpeg, BadDataThrowsNamingSourceAndOffset) {
    const std::vector<uint8_t> valid = encode(gradient(64, 64));
    std::vector<uint8_t> huge = valid;
    const std::size_t sof = findMarker(valid, 0xC0);
    ASSERT_LT(sof + 9, valid.size());
    huge[sof + 5] = 0xEA, huge[sof + 6] = 0x60;  // height 60000
    huge[sof + 7] = 0xEA, huge[sof + 8] = 0x60;  // width 60000
    std::vector<uint8_t> garbled = valid;
    for (std::size_t i = 2; i < 40 && i < garbled.size(); ++i) garbled[i] = uint8_t(i * 37);

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string offset;  // empty: any offset
    };
    const Case cases[] = {
        {"only the start marker", {0xFF, 0xD8}, "at offset 2"},
        {"cut in the middle of the scan", std::vector<uint8_t>(valid.begin(), valid.begin() + long(valid.size() / 2)),
         "at offset " + std::to_string(valid.size() / 2)},
        {"cut after the frame header", std::vector<uint8_t>(valid.begin(), valid.begin() + long(sof + 12)),
         "at offset " + std::to_string(sof + 12)},
        {"garbled headers", garbled, ""},
        {"dimensions beyond the caps", huge, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ombrel::decodeImage(c.bytes.data(), c.bytes.size(), "/pictures/broken.jpg");
            ADD_FAILURE() << "no error";
        } catch (const ombrel::ApiError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("/pictures/broken.jpg"), std::string::npos) << text;
            EXPECT_NE(text.find(c.offset.empty() ? "at offset " : c.offset), std::string::npos) << text;
        }
    }
}

TEST(ImageJpeg, LimitsRefuseLargeImagesBeforeDecoding) {
    const std::vector<uint8_t> bytes = encode(gradient(300, 20));
    ombrel::ImageLimits limits;
    limits.maxSide = 256;
    EXPECT_THROW(ombrel::decodeImage(bytes.data(), bytes.size(), "wide.jpg", limits), ombrel::ApiError);
    limits.maxSide = 300;
    EXPECT_EQ(ombrel::decodeImage(bytes.data(), bytes.size(), "wide.jpg", limits)->width, 300);
}

}  // namespace
