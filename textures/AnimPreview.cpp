#include "AnimPreview.h"

#include "AnimationFrames.h"

#include "ombrel.h"

#include <algorithm>
#include <limits>

namespace textures {
namespace {

int32_t framesIn(int32_t animation, int32_t direction) {
    int32_t n = 0;
    while (OMBREL_animation_get_bitmap(animation, direction, n) != 0) ++n;
    return n;
}

}  // namespace

int32_t FrameTimeIndex(int32_t animation, int32_t direction, int32_t position) {
    int32_t index = position;
    for (int32_t d = 1; d < direction; ++d) index += framesIn(animation, d);
    return index;
}

int32_t FrameTime(int32_t animation, int32_t direction, int32_t position) {
    return OMBREL_animation_get_frame_time(animation, FrameTimeIndex(animation, direction, position));
}

int PreviewInterval(int32_t hundredths) {
    const long long ms = 10LL * hundredths;
    return static_cast<int>(std::clamp<long long>(ms, 10, std::numeric_limits<int>::max()));
}

std::optional<AnimPreview::Frame> AnimPreview::Start(int32_t animation) {
    const int32_t first = OMBREL_animation_get_bitmap(animation, 1, 0);
    if (first == 0) return std::nullopt;
    PreviewAnim = animation;
    PreviewFrame = 0;
    PreviewDirection = 1;
    return Frame{first, PreviewInterval(FrameTime(animation, 1, 0))};
}

std::optional<AnimPreview::Frame> AnimPreview::Tick() {
    // Directions may hold different numbers of frames, or none: each plays its
    // own frames, so no frame of a direction with more than another is skipped.
    ++PreviewFrame;
    for (int32_t tried = 0; tried <= DirectionCount; ++tried) {
        if (const int32_t b = OMBREL_animation_get_bitmap(PreviewAnim, PreviewDirection, PreviewFrame))
            return Frame{b, PreviewInterval(FrameTime(PreviewAnim, PreviewDirection, PreviewFrame))};
        // Each direction is tried once; an animation that lost its frames meanwhile ends the preview.
        PreviewFrame = 0;
        PreviewDirection = PreviewDirection % DirectionCount + 1;
    }
    return std::nullopt;
}

}  // namespace textures
