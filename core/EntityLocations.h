// Where the engine places a group, a camera or a light, as one Point3d.
#pragma once

#include "core/CoreTypes.h"
#include "ombrel.h"

#include <cstdint>

namespace core {

inline Point3d groupLocation(int32_t group) {
    Point3d p = {0, 0, 0};
    OMBREL_group_get_location(group, &p[0], &p[1], &p[2]);
    return p;
}

inline Point3d cameraLocation(int32_t camera) {
    Point3d p = {0, 0, 0};
    OMBREL_camera_get_location1(camera, p.data());
    return p;
}

inline Point3d lightLocation(int32_t light) {
    Point3d p = {0, 0, 0};
    OMBREL_light_get_location(light, p.data());
    return p;
}

}  // namespace core
