// Base of every record the handle table owns.
#pragma once

#include <cstdint>

namespace ombrel {

enum class Kind : uint8_t {
    None = 0, Group, Polygon, Point, Camera, Light, Track, Background, Bitmap, Animation, Picture, Surface
};

const char* kindName(Kind kind);

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    const Kind kind;
    int32_t handle = 0;  // set by HandleTable::insert
};

}  // namespace ombrel
