// Tiny BMP files written byte by byte, so bitmap tests need no stored pictures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>
#include <vector>

struct TestRgb {
    uint8_t r, g, b;
};

namespace bmp_detail {

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Headers of an uncompressed bottom-up BMP; rows padded to 4 bytes.
inline std::vector<uint8_t> headers(int width, int height, int bits, uint32_t paletteEntries) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * bits / 8 + 3) & ~3u;
    const uint32_t offset = 14 + 40 + 4 * paletteEntries;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + rowBytes * height);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<uint32_t>(bits));
    put32(out, 0);
    put32(out, rowBytes * height);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, paletteEntries);
    put32(out, 0);
    return out;
}

inline void pad(std::vector<uint8_t>& out, std::size_t rowStart) {
    while ((out.size() - rowStart) % 4 != 0) out.push_back(0);
}

inline void save(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace bmp_detail

// 24-bit picture; pixels row by row from the top.
inline void writeBmp24(const std::filesystem::path& path, int width, int height, const std::vector<TestRgb>& pixels) {
    std::vector<uint8_t> out = bmp_detail::headers(width, height, 24, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const TestRgb& c = pixels[static_cast<std::size_t>(y) * width + x];
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        bmp_detail::pad(out, rowStart);
    }
    bmp_detail::save(path, out);
}

// 8-bit palettised picture (palette padded to 256 entries with black); indices
// row by row from the top.
inline void writeBmp8(const std::filesystem::path& path, int width, int height, std::vector<TestRgb> palette,
                      const std::vector<uint8_t>& indices) {
    palette.resize(256, TestRgb{0, 0, 0});
    std::vector<uint8_t> out = bmp_detail::headers(width, height, 8, 256);
    for (const TestRgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) out.push_back(indices[static_cast<std::size_t>(y) * width + x]);
        bmp_detail::pad(out, rowStart);
    }
    bmp_detail::save(path, out);
}

// A folder of its own for one test, removed with it.
class TempFolder {
public:
    TempFolder() {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("talvora_bitmaps_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
