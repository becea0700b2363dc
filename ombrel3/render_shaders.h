// GLSL of the renderer. The vertex stage uses the camera frame of the CPU
// projection so that overlays and picks agree with the image, and draws rows top
// first so that the image reads back in the surface's order.
#pragma once

namespace ombrel::shaders {

// Compiled after a #version line, #define LIT for meshes with lights (the others
// skip the lighting step, which llvmpipe would run under a mask anyway), and
// #define PAGED for meshes in a shared page, each vertex reading where its mesh
// stands from the frame's table by the mesh's slot.
inline constexpr const char* kMeshVertex = R"(
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec2 aMapUv;
layout(location = 3) in vec4 aColour;
layout(location = 4) in vec4 aNormal;  // in the mesh's own coordinates
layout(location = 5) in uint aLights;  // where the polygon's set of lights starts in uSets; 0: none
uniform vec3 uOffset;      // mesh origin (where it is now) minus eye
uniform mat3 uModel;       // the group's motion since the mesh was built
uniform mat3 uNormalModel; // the same for normals
uniform mat3 uToCamera;    // rows: right, up, forward
uniform vec2 uScale;       // focal length over half width and half height
uniform float uNear;
uniform bool uReversed;    // reversed depth: 1 at the near plane, 0 at infinity
uniform bool uUnlit;
uniform vec2 uTextureScale;  // 1, or one over an atlas page's size (its coordinates are texels)
uniform vec2 uMapScale;
// The mesh's lights, four texels each, positions relative to the mesh origin:
// (position, reach), (direction, kind bits), (colour, enabled), (ambient, diffuse,
// specular, shine). A set in uSets is a count, then each light's place.
uniform samplerBuffer uLights;
uniform usamplerBuffer uSets;
#ifdef PAGED
layout(location = 6) in uint aSlot;
uniform samplerBuffer uPlacements;  // four texels a slot: (offset, 0), then the model's columns
#endif
out vec2 vUv;
out vec2 vMapUv;
out vec3 vColour;
out float vDepth;

#ifdef LIT
vec3 unit(vec3 v) {
    float l = length(v);
    return l > 0.0 ? v / l : vec3(0.0);
}

// The bound enabled lights' ambient, diffuse and specular terms at p; 1 (as
// authored) when none of them is enabled.
vec3 lightAt(vec3 p, vec3 n) {
    vec3 sum = vec3(0.0);
    bool any = false;
    vec3 toEye = unit(-uOffset - p);
    int at = int(aLights);
    int count = int(texelFetch(uSets, at).r);
    for (int k = 1; k <= count; ++k) {
        int i = 4 * int(texelFetch(uSets, at + k).r);
        vec4 place = texelFetch(uLights, i), aim = texelFetch(uLights, i + 1);
        vec4 colour = texelFetch(uLights, i + 2), terms = texelFetch(uLights, i + 3);
        if (colour.w == 0.0) continue;
        any = true;
        int type = int(aim.w);
        vec3 toLight;
        float attenuation = 1.0;
        if ((type & 1) != 0) {
            toLight = unit(-aim.xyz);
        } else {
            vec3 d = place.xyz - p;
            toLight = unit(d);
            float reach = place.w;
            if (reach > 0.0) {
                float r = length(d) / reach;
                if ((type & 4) != 0) attenuation = max(0.0, 1.0 - r * r);
                else if ((type & 2) != 0) attenuation = max(0.0, 1.0 - r);
            }
        }
        if (attenuation <= 0.0) continue;
        float term = 0.0;
        float facing = dot(n, toLight);
        if ((type & 8) != 0) term += terms.x;
        if ((type & 16) != 0) term += terms.y * max(0.0, facing);
        if ((type & 32) != 0 && facing > 0.0) {
            float shine = max(0.0, terms.w);
            float h = max(0.0, dot(n, unit(toLight + toEye)));
            term += terms.z * (shine > 0.0 ? pow(h, shine) : 1.0);
        }
        sum += colour.rgb * (term * attenuation);
    }
    return any ? clamp(sum, 0.0, 1.0) : vec3(1.0);
}
#endif

void main() {
#ifdef PAGED
    int at = 4 * int(aSlot);
    vec3 offset = texelFetch(uPlacements, at).xyz;
    mat3 model = mat3(texelFetch(uPlacements, at + 1).xyz, texelFetch(uPlacements, at + 2).xyz,
                      texelFetch(uPlacements, at + 3).xyz);
#else
    vec3 offset = uOffset;
    mat3 model = uModel;
#endif
    vec3 p = model * aPos;
    vec3 c = uToCamera * (p + offset);
    float z = uReversed ? uNear : c.z - 2.0 * uNear;
    gl_Position = vec4(c.x * uScale.x, -c.y * uScale.y, z, c.z);
    vUv = aUv * uTextureScale;
    vMapUv = aMapUv * uMapScale;
#ifdef LIT
    vec3 light = aLights == 0u || uUnlit ? vec3(1.0) : lightAt(p, unit(uNormalModel * aNormal.xyz));
#else
    vec3 light = vec3(1.0);
#endif
    vColour = aColour.rgb * light;
    vDepth = c.z;
}
)";

// Compiled once for each combination of TEXTURED, KEYED, MAPPED, FOGGED and
// DIFFERENCE that is drawn, after a #version line and those #defines, so that no
// pixel pays for a step it does not take.
inline constexpr const char* kMeshFragment = R"(
in vec2 vUv;
in vec2 vMapUv;
in vec3 vColour;
in float vDepth;
uniform sampler2D uTexture;
uniform sampler2D uLightMap;
uniform sampler2D uBehind;
uniform float uFogDensity;
uniform float uFogStart;
uniform vec3 uFogColour;
uniform float uAlpha;
out vec4 outColour;
void main() {
    vec3 c = vColour;
#ifdef TEXTURED
    vec4 t = texture(uTexture, vUv);
#ifdef KEYED
    if (t.a < 0.5) discard;  // the bitmap's transparent palette entry
#endif
    c *= t.rgb;
#endif
#ifdef MAPPED
    c *= texture(uLightMap, vMapUv).rgb;
#endif
#ifdef FOGGED
    c = mix(c, uFogColour, 1.0 - exp(-uFogDensity * max(0.0, vDepth - uFogStart)));
#endif
#ifdef DIFFERENCE
    c = abs(texelFetch(uBehind, ivec2(gl_FragCoord.xy), 0).rgb - c);
#endif
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
    float sy = gl_FragCoord.y;  // rows are drawn top first
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
