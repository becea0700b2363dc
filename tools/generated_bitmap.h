// Writes the textures the resource-making tools generate: square 24-bit BMPs
// shaded texel by texel.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

using Texel = std::array<uint8_t, 3>;

inline uint8_t clampByte(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

inline void writeBmp(const std::string& path, int size, Texel (*shade)(int x, int y)) {
    int row = (size * 3 + 3) & ~3;
    uint32_t bytes = 54 + static_cast<uint32_t>(row * size);
    std::vector<uint8_t> b(bytes, 0);
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, bytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(size));
    put32(22, static_cast<uint32_t>(size));
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Texel t = shade(x, size - 1 - y);  // rows are stored bottom-up
            uint8_t* px = &b[54 + y * row + x * 3];
            px[0] = t[2];
            px[1] = t[1];
            px[2] = t[0];
        }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), bytes);
}
