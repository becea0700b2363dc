#include "vertex_lighting.h"

#include "api_support.h"

#include <algorithm>
#include <cmath>

namespace ombrel {

Vec3 lightAt(std::span<const int32_t> lights, Vec3 p, Vec3 n, Vec3 eye) {
    constexpr int32_t kDirectional = 1, kLinear = 2, kSquare = 4, kAmbient = 8, kDiffuse = 16, kSpecular = 32;
    Vec3 sum;
    Vec3 toEye = normalized(eye - p);
    for (int32_t h : lights) {
        const Light* light = lookup<Light>(h);
        if (!light || light->disabled) continue;
        Vec3 toLight;
        double attenuation = 1;
        if (light->type & kDirectional) {
            toLight = normalized(-light->dir);
        } else {
            Vec3 d = light->pos - p;
            double dist = length(d);
            toLight = normalized(d);
            if (light->reach > 0) {
                double r = dist / light->reach;
                if (light->type & kSquare)
                    attenuation = std::max(0.0, 1 - r * r);
                else if (light->type & kLinear)
                    attenuation = std::max(0.0, 1 - r);
            }
        }
        if (attenuation <= 0) continue;
        double term = 0;
        if (light->type & kAmbient) term += light->ambient;
        if (light->type & kDiffuse) term += light->diffuse * std::max(0.0, dot(n, toLight));
        if ((light->type & kSpecular) && dot(n, toLight) > 0) {
            Vec3 half = normalized(toLight + toEye);
            term += light->specular * std::pow(std::max(0.0, dot(n, half)), std::max(0.0, light->shine));
        }
        term *= attenuation;
        sum += Vec3{light->rgb.r / 255.0, light->rgb.g / 255.0, light->rgb.b / 255.0} * term;
    }
    return {std::clamp(sum.x, 0.0, 1.0), std::clamp(sum.y, 0.0, 1.0), std::clamp(sum.z, 0.0, 1.0)};
}

bool anyEnabledLight(std::span<const int32_t> lights) {
    return std::any_of(lights.begin(), lights.end(), [](int32_t h) {
        const Light* light = lookup<Light>(h);
        return light && !light->disabled;
    });
}

}  // namespace ombrel
