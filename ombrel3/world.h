// The open world: lists of every kind in creation order and the world-wide settings.
// Created by engine_load_world, destroyed by engine_close.
#pragma once

#include "ordered_set.h"
#include "vec.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ombrel {

struct World {
    OrderedSet groups, cameras, lights, tracks, backgrounds, bitmaps, animations;
    IndexedList<WorldPolygonSlot> polygons;  // added ones

    Rgb8 fog{128, 128, 128};
    double fogIntensity = 0;
    int32_t background = 0;  // in use
    int32_t currentCamera = 0, currentSurface = 0, lastRendered = 0;
    int32_t renderGroup = 0;
    bool accelerator = false;
    int32_t walkScope = 0;  // group given to the last group_get_first_polygon; 0 = world
    uint64_t geomVersion = 1;
    uint64_t picturesVersion = 1;
    // Auto-update light bindings to redo before the next render: all, or these polygons.
    bool rebindAll = true;
    std::vector<int32_t> rebindPolygons;  // raised when a bitmap or animation can change what a fill draws
    std::string bitmapFolder, searchFolder;
    uint32_t lightMapSerial = 0;
    int32_t lastPicture = 0;  // render_on_bitmap result, released by the next one
};

}  // namespace ombrel
