// Builds BMP files byte by byte, so tests and seed corpora can make every variant
// (depth, header size, orientation, masks, RLE) without stored binaries.
#pragma once

#include <cstdint>
#include <vector>

namespace bmptest {

struct Colour {
    uint8_t r, g, b;
};

struct BmpSpec {
    int32_t width = 1, height = 1;  // negative height: top-down rows
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t headerSize = 40;          // 12 (OS/2 core), 40, 52, 56, 108 or 124
    uint32_t coloursUsed = 0;
    std::vector<Colour> palette;       // written as 3-byte (core header) or 4-byte entries
    std::vector<uint32_t> masks;       // red, green, blue (and alpha) for bitfields
    std::vector<uint8_t> pixels;       // the pixel data exactly as it follows the palette
};

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
inline void set32(std::vector<uint8_t>& out, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + std::size_t(i)] = uint8_t(v >> (8 * i));
}

inline std::vector<uint8_t> makeBmp(const BmpSpec& s) {
    std::vector<uint8_t> out{'B', 'M'};
    put32(out, 0);  // file size, set below
    put32(out, 0);
    put32(out, 0);  // pixel data offset, set below
    put32(out, s.headerSize);
    if (s.headerSize == 12) {
        put16(out, uint32_t(s.width));
        put16(out, uint32_t(s.height));
        put16(out, 1);
        put16(out, s.bits);
    } else {
        put32(out, uint32_t(s.width));
        put32(out, uint32_t(s.height));
        put16(out, 1);
        put16(out, s.bits);
        put32(out, s.compression);
        put32(out, uint32_t(s.pixels.size()));
        put32(out, 2835);
        put32(out, 2835);
        put32(out, s.coloursUsed);
        put32(out, 0);
        // Masks sit inside the later headers, after a plain info header otherwise.
        std::vector<uint32_t> masks = s.masks;
        if (s.headerSize > 40) masks.resize(4, 0);
        for (uint32_t m : masks) put32(out, m);
        const std::size_t end = 14 + s.headerSize + (s.headerSize == 40 ? s.masks.size() * 4 : 0);
        out.resize(end, 0);
    }
    for (const Colour& c : s.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        if (s.headerSize != 12) out.push_back(0);
    }
    set32(out, 10, uint32_t(out.size()));
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    set32(out, 2, uint32_t(out.size()));
    return out;
}

// Packs rows of values (1, 4, 8 bits: palette indices; 16, 32: pixel words;
// 24: 0xRRGGBB) into padded file rows, in the order given.
inline std::vector<uint8_t> packRows(const std::vector<std::vector<uint32_t>>& rows, int bits) {
    std::vector<uint8_t> out;
    for (const auto& row : rows) {
        std::vector<uint8_t> bytes;
        if (bits < 8) {
            bytes.assign((row.size() * std::size_t(bits) + 7) / 8, 0);
            for (std::size_t x = 0; x < row.size(); ++x) {
                const std::size_t bit = x * std::size_t(bits);
                bytes[bit / 8] |= uint8_t(row[x] << (8 - bits - bit % 8));
            }
        } else {
            for (uint32_t v : row) {
                if (bits == 24) {
                    bytes.push_back(uint8_t(v)), bytes.push_back(uint8_t(v >> 8)), bytes.push_back(uint8_t(v >> 16));
                } else {
                    for (int i = 0; i < bits / 8; ++i) bytes.push_back(uint8_t(v >> (8 * i)));
                }
            }
        }
        bytes.resize((bytes.size() + 3) / 4 * 4, 0);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

}  // namespace bmptest
