// Files for the world-file tests: a fresh folder per test, small BMPs written by
// hand, and the records of a saved world read back as text.
#pragma once

#include "engine_fixture.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

class FileFolder {
public:
    FileFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::temp_directory_path() / ("ombrel3_worldio_" + name + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~FileFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void writeText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A 24-bit BMP of one colour.
inline void writeBmp(const std::string& path, int w, int h, std::array<uint8_t, 3> rgb) {
    int row = (w * 3 + 3) & ~3;
    uint32_t size = 54 + static_cast<uint32_t>(row * h);
    std::vector<uint8_t> b(size, 0);
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* px = &b[54 + y * row + x * 3];
            px[0] = rgb[2];
            px[1] = rgb[1];
            px[2] = rgb[0];
        }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// First word of every line of a saved world, in order.
inline std::vector<std::string> recordKinds(const std::string& text) {
    std::vector<std::string> kinds;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string w;
        if (words >> w) kinds.push_back(w);
    }
    return kinds;
}

inline int countOf(const std::vector<std::string>& kinds, const std::string& kind) {
    int n = 0;
    for (const auto& k : kinds) n += k == kind;
    return n;
}

inline std::string lastError() {
    const char* text = OMBREL_ext_get_last_error();
    return text ? text : "";
}
