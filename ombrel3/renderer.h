// Draws the world through a view with OpenGL and reads the image back.
#pragma once

#include "camera_frame.h"

#include <cstdint>

namespace ombrel {

// The views of one render call share one walk over the groups, gathered at its
// first view: nothing in the world changes between them, and at ten thousand
// groups the walk costs a view more than drawing it. One lives at a time.
class SharedWalk {
public:
    SharedWalk();
    ~SharedWalk();
    SharedWalk(const SharedWalk&) = delete;
    SharedWalk& operator=(const SharedWalk&) = delete;

    struct Kept;
    Kept& kept();
};

// Renders into rgba (rows top to bottom, stride bytes apart, view.width x
// view.height). False when no GL context can be made; the caller then clears.
bool renderWorld(const View& view, uint8_t* rgba, int stride, SharedWalk& walk);

// Fills rgba with the view's clear colour (fog colour when fog is on).
void clearImage(uint8_t* rgba, int width, int height, int stride);

}  // namespace ombrel
