// Colours as the editor stores them: 0x00BBGGRR in a 32-bit integer.
#pragma once

#include <cstdint>

class QColor;

namespace platform {

constexpr int32_t rgb(int r, int g, int b) {
    return static_cast<int32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(int32_t c) { return c & 0xFF; }
constexpr int greenOf(int32_t c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(int32_t c) { return (c >> 16) & 0xFF; }

QColor toQColor(int32_t c);
int32_t fromQColor(const QColor& c);

}  // namespace platform
