// Base of every record the handle table owns. Records carry no virtual table: the
// table knows each record's kind and destroys it as that kind, so the many small
// records (points, polygons) stay plain and live in pools.
#pragma once

#include <cstdint>

namespace ombrel {

enum class Kind : uint8_t {
    None = 0, Group, Polygon, Point, Camera, Light, Track, Background, Bitmap, Animation, Picture, Surface
};

const char* kindName(Kind kind);

struct Object {
    explicit Object(Kind k) : kind(k) {}
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    const Kind kind;
    int32_t handle = 0;  // set by HandleTable::create

protected:
    ~Object() = default;  // destroyed only as its own kind, by the table
};

}  // namespace ombrel
