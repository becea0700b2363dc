// The JPEG reader and writer: round trip within a tolerance, grey files, bad data.
#include "api_support.h"
#include "image_io.h"
#include "image_jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

// A file written straight through libjpeg: `fill` gives each row's samples and
// `configure` may change the settings after the defaults.
std::vector<uint8_t> writeJpeg(int w, int h, int components, J_COLOR_SPACE space, int quality,
                               const std::function<void(int y, uint8_t* row)>& fill,
                               const std::function<void(jpeg_compress_struct&)>& configure = {}) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (configure) configure(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(std::size_t(w) * std::size_t(components), 0);
    while (cinfo.next_scanline < cinfo.image_height) {
        fill(int(cinfo.next_scanline), row.data());
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// A one-component file, dark on the left and light on the right.
std::vector<uint8_t> greyJpeg(int w, int h) {
    return writeJpeg(w, h, 1, JCS_GRAYSCALE, 95, [w](int, uint8_t* row) {
        for (int x = 0; x < w; ++x) row[x] = uint8_t(x < w / 2 ? 40 : 200);
    });
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

enum class Layout { Baseline, Progressive, ScanPerComponent };

// A colour file in the given scan layout.
std::vector<uint8_t> colourJpeg(const Image& image, Layout layout) {
    jpeg_scan_info scans[3];
    const auto fill = [&image](int y, uint8_t* row) {
        const uint8_t* src = image.rgba.data() + std::size_t(y) * std::size_t(image.width) * 4;
        for (int x = 0; x < image.width; ++x)
            for (int k = 0; k < 3; ++k) row[x * 3 + k] = src[x * 4 + k];
    };
    return writeJpeg(image.width, image.height, 3, JCS_RGB, 92, fill, [&](jpeg_compress_struct& cinfo) {
        if (layout == Layout::Progressive) jpeg_simple_progression(&cinfo);
        if (layout == Layout::ScanPerComponent) {
            for (int c = 0; c < 3; ++c) scans[c] = jpeg_scan_info{1, {c, 0, 0, 0}, 0, 63, 0, 0};
            cinfo.scan_info = scans;
            cinfo.num_scans = 3;
        }
    });
}

std::vector<std::size_t> markers(const std::vector<uint8_t>& bytes, uint8_t marker) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == marker) at.push_back(i);
    return at;
}

// However it is cut, with an end marker put back or not, a file short of data is
// refused with the reason; only the whole file loads.
TEST(ImageJpeg, CutFilesAreRefusedWithOrWithoutAnEndMarker) {
    const Image original = gradient(96, 64);
    const struct {
        const char* name;
        Layout layout;
    } layouts[] = {{"baseline", Layout::Baseline},
                   {"progressive", Layout::Progressive},
                   {"one scan per component", Layout::ScanPerComponent}};
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const std::vector<uint8_t> whole = colourJpeg(original, layout.layout);
        const std::vector<std::size_t> scans = markers(whole, 0xDA);
        ASSERT_FALSE(scans.empty());
        ASSERT_EQ(markers(whole, 0xD9).back(), whole.size() - 2);

        const auto decoded = ombrel::decodeImage(whole.data(), whole.size(), "whole.jpg");
        ASSERT_EQ(decoded->width, 96);
        ASSERT_EQ(decoded->height, 64);
        int worst = 0;
        for (std::size_t i = 0; i < original.rgba.size(); ++i)
            worst = std::max(worst, std::abs(int(decoded->rgba[i]) - int(original.rgba[i])));
        EXPECT_LE(worst, 12);

        // Inside the first scan's data, near its start, middle and end; and just
        // before every later scan, so that whole scans are missing.
        const std::size_t firstData = scans[0] + 2 + (std::size_t(whole[scans[0] + 2]) << 8 | whole[scans[0] + 3]);
        const std::size_t firstEnd = scans.size() > 1 ? scans[1] : whole.size() - 2;
        std::vector<std::size_t> cuts;
        for (int tenth : {1, 5, 9}) cuts.push_back(firstData + (firstEnd - firstData) * std::size_t(tenth) / 10);
        cuts.insert(cuts.end(), scans.begin() + 1, scans.end());
        cuts.push_back(whole.size() - 4);
        for (std::size_t cut : cuts)
            for (bool endMarker : {false, true}) {
                SCOPED_TRACE("cut at " + std::to_string(cut) + (endMarker ? " with" : " without") + " an end marker");
                std::vector<uint8_t> bytes(whole.begin(), whole.begin() + long(cut));
                if (endMarker) bytes.insert(bytes.end(), {0xFF, 0xD9});
                try {
                    ombrel::decodeImage(bytes.data(), bytes.size(), "/pictures/cut.jpg");
                    ADD_FAILURE() << "a cut file loaded";
                } catch (const ombrel::ApiError& e) {
                    const std::string text = e.what();
                    const std::string head = "cannot read image /pictures/cut.jpg: ";
                    ASSERT_EQ(text.rfind(head, 0), 0u) << text;
                    EXPECT_GT(text.find(" at offset "), head.size()) << "no reason given: " << text;
                }
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
