// The textures page's animation preview: all frames of direction 1, then of
// direction 2 and so on, each shown for its own time, stepped by a timer.
#pragma once

#include <cstdint>
#include <optional>

namespace textures {

// A frame's time is entry (frames in the lower directions + its position) of the
// animation's one list of times, as the engine's renderer reads it.
int32_t FrameTimeIndex(int32_t animation, int32_t direction, int32_t position);
int32_t FrameTime(int32_t animation, int32_t direction, int32_t position);
// Ten milliseconds per hundredth of a second, never below 10.
int PreviewInterval(int32_t hundredths);

class AnimPreview {
public:
    struct Frame {
        int32_t bitmap = 0;
        int intervalMs = 10;
    };

    // The first frame of direction 1; nothing (and nothing changed) when the
    // animation has none.
    std::optional<Frame> Start(int32_t animation);
    // The next frame of the direction, else the first of the next direction that
    // has frames (empty ones skipped, 5 wraps to 1); nothing when no direction
    // has any: the preview stops.
    std::optional<Frame> Tick();

    int32_t PreviewAnim = 0;
    int32_t PreviewFrame = 0;
    int32_t PreviewDirection = 1;
};

}  // namespace textures
