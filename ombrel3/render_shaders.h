// GLSL of the renderer. The vertex stage uses the camera frame of the CPU
// projection so that overlays and picks agree with the image.
#pragma once

namespace ombrel::shaders {

inline constexpr const char* kMeshVertex = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec2 aMapUv;
layout(location = 3) in vec4 aColour;
layout(location = 4) in vec3 aLight;
uniform vec3 uOffset;      // mesh origin minus eye
uniform mat3 uToCamera;    // rows: right, up, forward
uniform vec2 uScale;       // focal length over half width and half height
uniform float uNear;
uniform bool uReversed;    // reversed depth: 1 at the near plane, 0 at infinity
uniform bool uUnlit;
out vec2 vUv;
out vec2 vMapUv;
out vec3 vColour;
out float vDepth;
void main() {
    vec3 c = uToCamera * (aPos + uOffset);
    float z = uReversed ? uNear : c.z - 2.0 * uNear;
    gl_Position = vec4(c.x * uScale.x, c.y * uScale.y, z, c.z);
    vUv = aUv;
    vMapUv = aMapUv;
    vColour = aColour.rgb * (uUnlit ? vec3(1.0) : aLight);
    vDepth = c.z;
}
)";

inline constexpr const char* kMeshFragment = R"(#version 330 core
in vec2 vUv;
in vec2 vMapUv;
in vec3 vColour;
in float vDepth;
uniform sampler2D uTexture;
uniform sampler2D uLightMap;
uniform sampler2D uBehind;
uniform bool uTextured;
uniform bool uMapped;
uniform bool uFogged;
uniform bool uDifference;
uniform float uFogDensity;
uniform float uFogStart;
uniform vec3 uFogColour;
uniform float uAlpha;
out vec4 outColour;
void main() {
    vec3 c = vColour;
    if (uTextured) {
        vec4 t = texture(uTexture, vUv);
        if (t.a < 0.5) discard;  // the bitmap's transparent palette entry
        c *= t.rgb;
    }
    if (uMapped) c *= texture(uLightMap, vMapUv).rgb;
    if (uFogged) c = mix(c, uFogColour, 1.0 - exp(-uFogDensity * max(0.0, vDepth - uFogStart)));
    if (uDifference) c = abs(texelFetch(uBehind, ivec2(gl_FragCoord.xy), 0).rgb - c);
    outColour = vec4(c, uAlpha);
}
)";

inline constexpr const char* kBackgroundVertex = R"(#version 330 core
void main() {
    vec2 p = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
    gl_Position = vec4(p * 2.0 - 1.0, 0.0, 1.0);
}
)";

// The panorama on a cylinder of radius uDistance around the eye, vertical axis z.
inline constexpr const char* kBackgroundFragment = R"(#version 330 core
uniform vec3 uA1;
uniform vec3 uA2;
uniform vec3 uA3;
uniform vec2 uSize;
uniform float uFocal;
uniform sampler2D uImage;
uniform float uBottom;
uniform float uHeight;
uniform float uDistance;
uniform float uBottomIntensity;
uniform float uStep;
out vec4 outColour;
void main() {
    float sx = gl_FragCoord.x;
    float sy = uSize.y - gl_FragCoord.y;
    vec3 d = uA2 * ((sx - 0.5 * uSize.x) / uFocal) + uA3 * ((0.5 * uSize.y - sy) / uFocal) - uA1;
    float r = length(d.xy);
    float h = r > 0.0 ? uDistance * d.z / r : sign(d.z) * 1e30;
    float v = (h - uBottom) / uHeight;
    float u = -atan(d.y, d.x) / 6.28318530717959;
    float b;
    if (v < 0.0) {
        v = 0.0;
        b = uBottomIntensity;
    } else {
        v = min(v, 1.0);
        b = min(1.0, uBottomIntensity + uStep * 10.0 * v);
    }
    float rows = float(textureSize(uImage, 0).y);
    float t = clamp(1.0 - v, 0.5 / rows, 1.0 - 0.5 / rows);
    outColour = vec4(texture(uImage, vec2(u, t)).rgb * clamp(b, 0.0, 1.0), 1.0);
}
)";

}  // namespace ombrel::shaders
