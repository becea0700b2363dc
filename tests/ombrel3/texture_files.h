// Textures made by a test: pictures of one colour written into a folder of its
// own and loaded through the engine, and animations of loaded bitmaps.
#pragma once

#include "bmp_writer.h"

#include "ombrel.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TextureFiles {
public:
    // name.bmp in the folder; its path.
    std::string write(const std::string& name, int width = 4, int height = 4, TestRgb colour = {0, 0, 200}) {
        const auto path = folder_.path() / (name + ".bmp");
        writeBmp24(path, width, height, std::vector<TestRgb>(static_cast<std::size_t>(width * height), colour));
        return path.string();
    }

    // Written and loaded with the transparent index; 0 when the engine refused it.
    int32_t load(const std::string& name, int width = 4, int height = 4, TestRgb colour = {0, 0, 200},
                 int32_t index = -1) {
        return OMBREL_bitmap_load(write(name, width, height, colour).c_str(), index);
    }

    // A folder below this one whose path is at least length bytes long.
    std::filesystem::path deepFolder(std::size_t length) const {
        auto deep = folder_.path();
        while (deep.string().size() < length) deep /= std::string(60, 'd');
        std::filesystem::create_directories(deep);
        return deep;
    }

    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    TempFolder folder_;
};

// An animation with these bitmaps as the frames of directions 1, 2, ...
inline int32_t makeAnimation(const char* name, const std::vector<std::vector<int32_t>>& directions) {
    const int32_t a = OMBREL_animation_create(name);
    for (std::size_t d = 0; d < directions.size(); ++d)
        for (std::size_t i = 0; i < directions[d].size(); ++i)
            OMBREL_animation_add_bitmap(a, static_cast<int32_t>(d + 1), directions[d][i], static_cast<int32_t>(i));
    return a;
}
