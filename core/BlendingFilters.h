// The blending filters a polygon can be drawn with: the captions of the filter
// lists (the polygon panel's and the group properties dialog's) in list order,
// each with the engine's one-byte translucency code.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace core {

struct BlendingFilter {
    const char* text;
    int32_t code;
};

inline constexpr std::array<BlendingFilter, 9> BlendingFilters = {{
    {"Disable Blending", 0},
    {"Dark Filter", 49},
    {"Opaque Filter", 67},
    {"Normal", 82},
    {"Control", 68},
    {"Bright Transparent", 50},
    {"Bright Translucent", 66},
    {"Light Source", 34},
    {"Inverse", 81},
}};

// The code of a caption; 0 for a text that is not in the list.
int32_t BlendingFilterCode(std::string_view text);
// The list position (from 0) of a code; nothing for a code that is not in the list.
std::optional<int> BlendingFilterIndex(int32_t code);

}  // namespace core
