// Value types shared by every editor module.
#pragma once

#include <array>
#include <cstdint>

// A point or direction in world space: x, y, z at indices 0, 1, 2.
using Point3d = std::array<double, 3>;
// A plane a x + b y + c z + d = 0 as the engine returns it.
using Plane4d = std::array<double, 4>;
// Texture coordinates, or two coordinates of a point in one axis plane.
using Point2d = std::array<double, 2>;
// A view point in pixels.
using PixelPt = std::array<int32_t, 2>;
// Minimum x, y, z then maximum x, y, z.
using Box6d = std::array<double, 6>;

// Kind of a selected or picked entity.
enum SelEntityType : int32_t {
    SelNone = 0,
    SelGroup = 1,
    SelCamera = 2,
    SelTrack = 3,
    SelLight = 4,
    SelBackground = 5,
    SelMultiple = 6,
    SelPolygon = 7,
};

// The main window's tool.
enum ToolMode : int32_t {
    ToolSelect = 0,
    ToolMove = 1,
    ToolRotate = 2,
    ToolScale = 3,
    ToolPan = 4,
    ToolRevolve = 5,
    ToolZoomCamera = 6,
    ToolMoveCamera = 7,
    ToolRollCamera = 8,
};

// What a view shows; 8 stands for "none chosen" in the view menu.
enum ViewType : int32_t {
    ViewTop = 0,
    ViewBottom = 1,
    ViewLeft = 2,
    ViewRight = 3,
    ViewFront = 4,
    ViewBack = 5,
    ViewPerspective = 6,
    ViewWorldCamera = 7,
    ViewNoneChosen = 8,
};
