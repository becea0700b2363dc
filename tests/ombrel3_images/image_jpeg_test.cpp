// The JPEG reader and writer: round trip within a tolerance, grey files, bad data.
#include "api_support.h"
#include "image_io.h"
#include "engine_state.h"
#include "image_jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
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

enum class Layout { Baseline, Progressive, ScanPerComponent, Arithmetic, ArithmeticProgressive };

// A colour file in the given scan layout; `more` may change the settings further.
std::vector<uint8_t> colourJpeg(const Image& image, Layout layout,
                                const std::function<void(jpeg_compress_struct&)>& more = {}) {
    jpeg_scan_info scans[3];
    const auto fill = [&image](int y, uint8_t* row) {
        const uint8_t* src = image.rgba.data() + std::size_t(y) * std::size_t(image.width) * 4;
        for (int x = 0; x < image.width; ++x)
            for (int k = 0; k < 3; ++k) row[x * 3 + k] = src[x * 4 + k];
    };
    return writeJpeg(image.width, image.height, 3, JCS_RGB, 92, fill, [&](jpeg_compress_struct& cinfo) {
        if (layout == Layout::Progressive || layout == Layout::ArithmeticProgressive) jpeg_simple_progression(&cinfo);
        if (layout == Layout::Arithmetic || layout == Layout::ArithmeticProgressive) cinfo.arith_code = TRUE;
        if (more) more(cinfo);
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

// However it is cut, with an end marker put back or not, a file short of rows or
// of whole scans is refused with the reason, Huffman or arithmetic coded (whose
// decoder meets the cut in silence); only the whole file loads.
TEST(ImageJpeg, CutFilesAreRefusedWithOrWithoutAnEndMarker) {
    const Image original = gradient(96, 320);  // twenty MCU rows
    const struct {
        const char* name;
        Layout layout;
    } layouts[] = {{"baseline", Layout::Baseline},
                   {"progressive", Layout::Progressive},
                   {"one scan per component", Layout::ScanPerComponent},
                   {"arithmetic", Layout::Arithmetic},
                   {"arithmetic progressive", Layout::ArithmeticProgressive}};
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const std::vector<uint8_t> whole = colourJpeg(original, layout.layout);
        const std::vector<std::size_t> scans = markers(whole, 0xDA);
        ASSERT_FALSE(scans.empty());
        ASSERT_EQ(markers(whole, 0xD9).back(), whole.size() - 2);

        const auto decoded = ombrel::decodeImage(whole.data(), whole.size(), "whole.jpg");
        ASSERT_EQ(decoded->width, 96);
        ASSERT_EQ(decoded->height, 320);
        int worst = 0;
        for (std::size_t i = 0; i < original.rgba.size(); ++i)
            worst = std::max(worst, std::abs(int(decoded->rgba[i]) - int(original.rgba[i])));
        EXPECT_LE(worst, 12);

        // Inside the first scan's data, near its start, middle and end (rows before
        // the last one), the file ending there or going on with the later scans;
        // and just before every later scan, so that whole scans are missing.
        const std::size_t firstData = scans[0] + 2 + (std::size_t(whole[scans[0] + 2]) << 8 | whole[scans[0] + 3]);
        // The entropy data ends at the first marker after it (tables may come
        // between it and the next scan).
        std::size_t firstEnd = firstData;
        while (!(whole[firstEnd] == 0xFF && whole[firstEnd + 1] != 0 && (whole[firstEnd + 1] & 0xF8) != 0xD0))
            ++firstEnd;
        std::vector<std::size_t> cuts;
        for (int tenth : {1, 5, 9}) cuts.push_back(firstData + (firstEnd - firstData) * std::size_t(tenth) / 10);
        cuts.insert(cuts.end(), scans.begin() + 1, scans.end());
        for (std::size_t cut : cuts) {
            const std::vector<uint8_t> head(whole.begin(), whole.begin() + long(cut));
            std::vector<std::pair<std::string, std::vector<uint8_t>>> variants = {{"without an end marker", head},
                                                                                  {"with an end marker", head}};
            variants[1].second.insert(variants[1].second.end(), {0xFF, 0xD9});
            if (cut < firstEnd && firstEnd < whole.size() - 2) {
                variants.emplace_back("followed by the later scans", head);
                variants.back().second.insert(variants.back().second.end(), whole.begin() + long(firstEnd), whole.end());
            }
            for (const auto& [how, bytes] : variants) {
                SCOPED_TRACE("cut at " + std::to_string(cut) + " " + how);
                try {
                    ombrel::decodeImage(bytes.data(), bytes.size(), "/pictures/cut.jpg");
                    ADD_FAILURE() << "a cut file loaded";
                } catch (const ombrel::ApiError& e) {
                    const std::string text = e.what();
                    const std::string prefix = "cannot read image /pictures/cut.jpg: ";
                    ASSERT_EQ(text.rfind(prefix, 0), 0u) << text;
                    EXPECT_GT(text.find(" at offset "), prefix.size()) << "no reason given: " << text;
                }
            }
        }
    }
}

// libjpeg's own picture of a file, as any program that shows what it can decode
// shows it: warnings pass in silence.
struct PlainDecode {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

struct SilentErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

PlainDecode plainDecode(const std::vector<uint8_t>& bytes) {
    PlainDecode out;
    jpeg_decompress_struct cinfo{};
    SilentErrors err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.emit_message = [](j_common_ptr, int) {};
    err.pub.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<SilentErrors*>(c->err)->jump, 1); };
    jpeg_create_decompress(&cinfo);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        out.width = out.height = 0;
        return out;
    }
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
    out.rgb.resize(std::size_t(out.width) * std::size_t(out.height) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {out.rgb.data() + std::size_t(cinfo.output_scanline) * std::size_t(out.width) * 3};
        jpeg_read_scanlines(&cinfo, rows, 1);
    }
    jpeg_destroy_decompress(&cinfo);
    return out;
}

// Where a scan's entropy data starts and where it ends (at the next marker).
std::pair<std::size_t, std::size_t> scanData(const std::vector<uint8_t>& bytes, std::size_t sos) {
    const std::size_t begin = sos + 2 + (std::size_t(bytes[sos + 2]) << 8 | bytes[sos + 3]);
    std::size_t end = begin;
    while (!(bytes[end] == 0xFF && bytes[end + 1] != 0 && (bytes[end + 1] & 0xF8) != 0xD0)) ++end;
    return {begin, end};
}

// The first scan whose parameters pass `want` (first coefficient, Ah), of a file
// written with a scan list that has one.
std::size_t scanWhere(const std::vector<uint8_t>& bytes, bool (*want)(int ss, int ah)) {
    for (std::size_t sos : markers(bytes, 0xDA)) {
        const std::size_t length = std::size_t(bytes[sos + 2]) << 8 | bytes[sos + 3];
        const std::size_t params = sos + 2 + length - 3;
        if (want(bytes[params], bytes[params + 2] >> 4)) return sos;
    }
    return bytes.size();
}

// The scan's data cut to its first half, the file going on after it.
std::vector<uint8_t> halveScan(const std::vector<uint8_t>& bytes, std::size_t sos) {
    const auto [begin, end] = scanData(bytes, sos);
    std::vector<uint8_t> out(bytes.begin(), bytes.begin() + long(begin + (end - begin) / 2));
    out.insert(out.end(), bytes.begin() + long(end), bytes.end());
    return out;
}

std::vector<uint8_t> inserted(std::vector<uint8_t> bytes, std::size_t at, const std::vector<uint8_t>& extra) {
    bytes.insert(bytes.begin() + long(at), extra.begin(), extra.end());
    return bytes;
}

// What libjpeg decodes to a whole picture, warning or not, loads with libjpeg's
// pixels, and the warning is logged with the file and the place.
TEST(ImageJpeg, FilesLibjpegDecodesWholeLoadWithItsPixelsAndTheWarningLogged) {
    const Image original = gradient(96, 64);
    const std::vector<uint8_t> base = colourJpeg(original, Layout::Baseline);
    const std::vector<uint8_t> progressive = colourJpeg(original, Layout::Progressive);
    // A scan that nothing after it refines, so that cut short it leaves later
    // scans readable: the luminance's last refinement, the chrominance's only AC.
    jpeg_scan_info script[] = {{3, {0, 1, 2, 0}, 0, 0, 0, 0}, {1, {0, 0, 0, 0}, 1, 63, 0, 1},
                               {1, {0, 0, 0, 0}, 1, 63, 1, 0}, {1, {1, 0, 0, 0}, 1, 63, 0, 0},
                               {1, {2, 0, 0, 0}, 1, 63, 0, 0}};
    const std::vector<uint8_t> scripted = colourJpeg(original, Layout::Baseline, [&](jpeg_compress_struct& cinfo) {
        cinfo.scan_info = script;
        cinfo.num_scans = 5;
    });
    const std::size_t refinement = scanWhere(scripted, [](int ss, int ah) { return ss > 0 && ah > 0; });
    const std::size_t firstAc = markers(scripted, 0xDA)[3];
    ASSERT_LT(refinement, scripted.size());
    const std::size_t sos = markers(base, 0xDA)[0];
    std::vector<uint8_t> lastBitsGone(base.begin(), base.end() - 4);
    // Arithmetic coding leaves out the zeros its data ends with, which rows of a
    // plain colour are made of: the decoder meets the end marker rows early.
    Image plainBelow = gradient(96, 320);
    for (std::size_t i = plainBelow.rgba.size() / 2; i < plainBelow.rgba.size(); i += 4)
        plainBelow.rgba[i] = plainBelow.rgba[i + 1] = plainBelow.rgba[i + 2] = 90;
    Image plainColour = plainBelow;
    std::fill(plainColour.rgba.begin(), plainColour.rgba.end(), 90);
    std::vector<uint8_t> looseScan = base;
    looseScan[sos + 2 + (std::size_t(base[sos + 2]) << 8 | base[sos + 3]) - 1] = 0x01;  // Ah/Al of a sequential scan

    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool warns;
    } cases[] = {
        {"two zero bytes between header segments", inserted(base, findMarker(base, 0xDB), {0, 0}), true},
        {"extraneous bytes before the scan", inserted(base, sos, std::vector<uint8_t>(300, 0x11)), true},
        {"a refinement scan cut short", halveScan(scripted, refinement), true},
        {"an AC scan cut short", halveScan(scripted, firstAc), true},
        {"the last bits of the only scan missing", inserted(lastBitsGone, lastBitsGone.size(), {0xFF, 0xD9}), true},
        {"the last bits and the end marker missing", lastBitsGone, true},
        {"a stray byte before the end marker", inserted(progressive, progressive.size() - 2, {0x42}), false},
        {"stray bytes before the end marker", inserted(progressive, progressive.size() - 2, std::vector<uint8_t>(20, 0x42)),
         true},
        {"loose scan parameters", looseScan, true},
        {"bytes after the end marker", inserted(base, base.size(), {1, 2, 3, 0xFF, 0xD8}), false},
        {"arithmetic coded, one colour below the middle", colourJpeg(plainBelow, Layout::Arithmetic), false},
        {"arithmetic coded, one colour", colourJpeg(plainColour, Layout::Arithmetic), false},
        {"arithmetic progressive, one colour", colourJpeg(plainColour, Layout::ArithmeticProgressive), false},
    };
    std::string log;
    ombrel::state().logFn = [](int32_t, const char* line, void* user) {
        static_cast<std::string*>(user)->append(line).append("\n");
    };
    ombrel::state().logUser = &log;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        const PlainDecode plain = plainDecode(c.bytes);
        ASSERT_EQ(plain.width, 96);
        ASSERT_GT(plain.height, 0);
        std::shared_ptr<Image> image;
        try {
            image = ombrel::decodeImage(c.bytes.data(), c.bytes.size(), "/pictures/odd.jpg");
        } catch (const ombrel::ApiError& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        ASSERT_EQ(image->width, plain.width);
        ASSERT_EQ(image->height, plain.height);
        int differing = 0;
        for (std::size_t i = 0; i < std::size_t(plain.width) * std::size_t(plain.height); ++i)
            for (std::size_t k = 0; k < 3; ++k) differing += image->rgba[4 * i + k] != plain.rgb[3 * i + k];
        EXPECT_EQ(differing, 0);
        if (c.warns) {
            EXPECT_NE(log.find("/pictures/odd.jpg: "), std::string::npos) << log;
            EXPECT_NE(log.find(" at offset "), std::string::npos) << log;
        }
    }
    ombrel::state().logFn = nullptr;
    ombrel::state().logUser = nullptr;
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
