// Writes the BMP and JPEG seed corpora: one small file per variant the readers know.
// Usage: fuzz_make_image_seeds <tests/data/fuzz>
#include "bmp_builder.h"

#include "api_support.h"
#include "image_io.h"
#include "image_jpeg.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <jpeglib.h>

namespace {

using bmptest::BmpSpec;

void save(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

BmpSpec plain(uint16_t bits, int width, int height, uint32_t headerSize = 40) {
    BmpSpec s;
    s.width = width;
    s.height = height;
    s.bits = bits;
    s.headerSize = headerSize;
    if (bits <= 8)
        for (int i = 0; i < (1 << bits) && i < 16; ++i) s.palette.push_back({uint8_t(i * 17), uint8_t(255 - i * 9), uint8_t(i * 5)});
    std::vector<std::vector<uint32_t>> rows;
    const int h = height < 0 ? -height : height;
    for (int y = 0; y < h; ++y) {
        std::vector<uint32_t> row;
        for (int x = 0; x < width; ++x) {
            const uint32_t v = uint32_t(x * 7 + y * 3);
            row.push_back(bits <= 8 ? v % (1u << bits) % 16 : v * 0x010305u);
        }
        rows.push_back(row);
    }
    s.pixels = bmptest::packRows(rows, bits);
    return s;
}

void writeBmps(const std::filesystem::path& dir) {
    save(dir / "1bit.bmp", bmptest::makeBmp(plain(1, 11, 3)));
    save(dir / "4bit_topdown.bmp", bmptest::makeBmp(plain(4, 5, -3)));
    save(dir / "8bit.bmp", bmptest::makeBmp(plain(8, 5, 3)));
    save(dir / "8bit_core.bmp", bmptest::makeBmp(plain(8, 4, 2, 12)));
    save(dir / "16bit_555.bmp", bmptest::makeBmp(plain(16, 3, 3)));
    BmpSpec b565 = plain(16, 3, 2, 108);
    b565.compression = 3;
    b565.masks = {0xF800, 0x07E0, 0x001F};
    save(dir / "16bit_565_v4.bmp", bmptest::makeBmp(b565));
    save(dir / "24bit.bmp", bmptest::makeBmp(plain(24, 3, 2)));
    save(dir / "32bit_v5_topdown.bmp", bmptest::makeBmp(plain(32, 2, -2, 124)));
    BmpSpec fields = plain(32, 2, 2);
    fields.compression = 3;
    fields.masks = {0xFF00, 0xFF0000, 0xFF000000};
    save(dir / "32bit_bitfields.bmp", bmptest::makeBmp(fields));

    BmpSpec rle8 = plain(8, 6, 3);
    rle8.compression = 1;
    rle8.pixels = {4, 1, 0, 0, 0, 3, 2, 3, 4, 0, 0, 2, 1, 1, 2, 5, 0, 1};
    save(dir / "rle8.bmp", bmptest::makeBmp(rle8));
    BmpSpec rle4 = plain(4, 6, 3);
    rle4.compression = 2;
    rle4.pixels = {6, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 2, 2, 1, 3, 0x9A, 0, 1};
    save(dir / "rle4.bmp", bmptest::makeBmp(rle4));
}

// Grey, progressive or arithmetic-coded files need the library's own settings,
// beyond encodeJpeg.
std::vector<uint8_t> jpegWith(int w, int h, bool grey, bool progressive, int restart, bool arithmetic = false) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 75, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    cinfo.restart_interval = JDIMENSION(restart);
    cinfo.arith_code = arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(std::size_t(w) * std::size_t(cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(i * 11 + cinfo.next_scanline * 29);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

void writeJpegs(const std::filesystem::path& dir) {
    ombrel::Image image;
    image.width = 9;
    image.height = 5;
    for (int i = 0; i < 45; ++i) image.rgba.insert(image.rgba.end(), {uint8_t(i * 5), uint8_t(200 - i * 3), 90, 255});
    save(dir / "baseline.jpg", ombrel::encodeJpeg(image, 90, "seed"));
    save(dir / "grey.jpg", jpegWith(8, 8, true, false, 0));
    save(dir / "progressive.jpg", jpegWith(17, 9, false, true, 0));
    save(dir / "restarts.jpg", jpegWith(24, 16, false, false, 1));
    save(dir / "arithmetic.jpg", jpegWith(24, 16, false, false, 0, true));
    save(dir / "arithmetic_progressive.jpg", jpegWith(17, 9, false, true, 1, true));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "bmp");
    std::filesystem::create_directories(root / "jpeg");
    writeBmps(root / "bmp");
    writeJpegs(root / "jpeg");
    // Seeds that fail to decode would only teach the fuzzer the error paths.
    for (const char* kind : {"bmp", "jpeg"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root / kind)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
            try {
                ombrel::decodeImage(bytes.data(), bytes.size(), entry.path().string());
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
                return 1;
            }
        }
    }
    return 0;
}
