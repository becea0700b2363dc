// The engine's one OpenGL context, made through EGL without any window: Mesa's
// software rasteriser by default, a hardware GPU on request when there is one.
#pragma once

#include <cstdint>

namespace ombrel {

struct GlInfo {
    bool clipControl = false;     // zero-to-one depth range for reversed depth
    bool textureStorage = false;  // textures with exactly the levels asked for
    uint64_t serial = 0;       // changes whenever a new context replaces the old one
};

// Makes the context current, creating or replacing it when the wanted kind
// changed. Returns nullptr when no context can be made (the reason is logged once).
const GlInfo* makeGlCurrent(bool accelerator);

// Destroys the context (resources die with it).
void releaseGl();

}  // namespace ombrel
