// The marker shapes of cameras and lights: small coloured groups without a father,
// outside the world's tree, through which the views show and pick them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace entities {

// The sixth value of every marker point record.
constexpr double kMarkerBrightness = 100;

struct MarkerPoint {
    double x, y, z;
    double bitmapX, bitmapY;
    int grey;                     // vertex colour, red = green = blue
    std::array<double, 3> normal;  // passed as it is, length about 127
};

struct MarkerFace {
    std::array<int32_t, 3> fill;
    std::vector<MarkerPoint> points;
};

struct MarkerShape {
    const char* groupName;
    const char* faceName;
    const std::vector<MarkerFace>& faces;
};

// A box body with a flared lens on its +x side.
const MarkerShape& CameraShape();
// An octahedron.
const MarkerShape& OmniShape();
// A hexagonal prism along x, its black cap at +x.
const MarkerShape& DirectionalShape();

// The uniform scale of a marker in a world of the given size.
double MarkerScaleFor(double worldSize);

// A new fatherless group of the shape's faces, each added to the world, in its
// own units around the origin.
int32_t BuildMarker(const MarkerShape& shape);
void AddMarkerPoint(int32_t polygon, const MarkerPoint& p);

}  // namespace entities
