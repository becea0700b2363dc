#include "GroupPolygonProcedures.h"

#include "CoreError.h"
#include "Globals.h"

#include "ombrel.h"

#include <vector>

namespace Globals {
namespace {

template <typename PerPolygon>
void forEachPolygon(int32_t group, PerPolygon perPolygon) {
    for (int32_t p = OMBREL_group_get_first_polygon(group); p != 0; p = OMBREL_polygon_get_next(p)) perPolygon(p);
}

struct PointData {
    Point3d xyz = {0, 0, 0};
    double uv[2] = {0, 0};
    double brightness = 0;
};

}  // namespace

void ValidateGroupPolygons(int32_t group) {
    forEachPolygon(group, [](int32_t p) { OMBREL_polygon_is_valid(p); });
}

void SetGroupOrientation(int32_t group) {
    forEachPolygon(group, [](int32_t p) { OMBREL_polygon_set_orientation(p); });
}

void SetGroupLightDiminution(int32_t group, double value) {
    forEachPolygon(group, [value](int32_t p) { OMBREL_polygon_set_light_diminution(p, value); });
}

void SetGroupTranslucency(int32_t group, int32_t value) {
    forEachPolygon(group, [value](int32_t p) { OMBREL_polygon_set_translucent(p, value); });
}

double GetGroupDepth(int32_t group) {
    double dims[3] = {0, 0, 0};
    OMBREL_group_get_dimensions(group, dims);
    return dims[2];
}

void ReversePolygonPoints(int32_t polygon) {
    const int32_t n = OMBREL_polygon_get_num_of_points(polygon);
    std::vector<int32_t> handles;
    std::vector<PointData> data;
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0 && static_cast<int32_t>(handles.size()) < n;
         pt = OMBREL_point_get_next_point(pt)) {
        PointData d;
        OMBREL_point_get_xyz(pt, d.xyz.data());
        OMBREL_point_get_bitmap_xy(pt, d.uv);
        d.brightness = OMBREL_point_get_brightness(pt);
        handles.push_back(pt);
        data.push_back(d);
    }
    const std::size_t count = handles.size();
    for (std::size_t i = 0; i < count; ++i) {
        const PointData& d = data[count - 1 - i];
        OMBREL_point_set_xyz(handles[i], d.xyz.data());
        OMBREL_point_set_bitmap_xy(handles[i], polygon, d.uv);
        OMBREL_point_set_brightness(handles[i], d.brightness);
    }
    OMBREL_polygon_is_valid(polygon);
}

void ComputeSelPolsAvgNormal(Plane4d& plane) {
    if (NumSelPols <= 0) core::raiseError("Division by zero: no polygon is selected");
    plane = {0, 0, 0, 0};
    for (int32_t i = 1; i <= NumSelPols; ++i) {
        double pl[4] = {0, 0, 0, 0};
        OMBREL_polygon_get_plane(SelPols[i], pl);
        for (int k = 0; k < 3; ++k) plane[k] += pl[k];
    }
    for (int k = 0; k < 3; ++k) plane[k] *= 1.0 / NumSelPols;
    plane[3] = 0;
}

int32_t RgbToBitmapIndex(int32_t colour, int32_t bitmap) {
    const auto r = static_cast<uint8_t>(colour & 0xFF), g = static_cast<uint8_t>((colour >> 8) & 0xFF),
               b = static_cast<uint8_t>((colour >> 16) & 0xFF);
    int32_t index = OMBREL_bitmap_rgb_color_to_index(bitmap, r, g, b);
    return index >= 0 && index <= 255 ? index : -1;
}

int32_t BitmapIndexToRgb(int32_t index, int32_t bitmap) {
    uint8_t r = 0, g = 0, b = 0;
    OMBREL_bitmap_index_to_rgb(bitmap, index, &r, &g, &b);
    return static_cast<int32_t>(r) | (static_cast<int32_t>(g) << 8) | (static_cast<int32_t>(b) << 16);
}

}  // namespace Globals
