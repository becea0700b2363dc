// The lighting model of bound lights, evaluated per vertex at every render.
#pragma once

#include "vec.h"

#include <cstdint>
#include <span>

namespace ombrel {

// Sum of the enabled lights' ambient, diffuse and specular terms at p with unit
// normal n seen from eye, each channel clamped to 0..1.
Vec3 lightAt(std::span<const int32_t> lights, Vec3 p, Vec3 n, Vec3 eye);

// Whether any of the lights is live and enabled: a polygon bound to none is drawn
// unlit, as authored, not black.
bool anyEnabledLight(std::span<const int32_t> lights);

}  // namespace ombrel
