// Light-map tests: the map's pixels read back from the file the engine writes for
// it when asked, and lights set up for a known lighting formula.
#pragma once

#include "engine_fixture.h"
#include "../support/EnvVariable.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct MapPixels {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // rows in the map's own order (v = 0 first)

    const uint8_t* at(int x, int y) const { return rgb.data() + (std::size_t(y) * width + x) * 3; }
    int brightness(int x, int y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2]; }
};

// A 24-bit BMP as the engine writes it (bottom-up rows, BGR, rows padded to 4).
inline MapPixels readBmp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MapPixels out;
    if (bytes.size() < 54) return out;
    auto u32 = [&](std::size_t at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    };
    const uint32_t offset = u32(10);
    const int width = static_cast<int>(u32(18));
    const int rawHeight = static_cast<int>(u32(22));
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const std::size_t row = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    if (bytes.size() < offset + row * height) return out;
    out.width = width;
    out.height = height;
    out.rgb.resize(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = bytes.data() + offset + row * std::size_t(bottomUp ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            uint8_t* px = out.rgb.data() + (std::size_t(y) * width + x) * 3;
            px[0] = src[x * 3 + 2];
            px[1] = src[x * 3 + 1];
            px[2] = src[x * 3];
        }
    }
    return out;
}

// The map's file, asked of the engine first as every caller must: a light map is
// written only when its file is needed.
inline std::string mapFile(int32_t map) {
    OMBREL_ext_bitmap_ensure_file(map);
    return entityName(map) + ".bmp";
}
inline MapPixels mapPixels(int32_t map) { return readBmp(mapFile(map)); }

// An omnidirectional light without specular or decay: ambient plus diffuse.
inline int32_t plainLight(const char* name, P3 at, double ambient, double diffuse) {
    const int32_t light = OMBREL_light_create(name, at.data());
    OMBREL_light_set_type_of_light(light, 8 | 16);
    OMBREL_light_set_distance_reach(light, 0);
    OMBREL_light_set_ambient(light, ambient);
    OMBREL_light_set_diffuse(light, diffuse);
    OMBREL_light_set_specular(light, 0);
    return light;
}

// Sets OMBREL_THREADS while it lives.
class ThreadsVariable : public EnvVariable {
public:
    explicit ThreadsVariable(const char* value) : EnvVariable("OMBREL_THREADS", value) {}
};
