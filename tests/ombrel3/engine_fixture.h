// A fresh empty world per test, and small builders for scenes made in the test.
#pragma once

#include "ombrel.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
        OMBREL_engine_hide_log_window();
    }
    void TearDown() override { OMBREL_engine_close(); }
};

using P3 = std::array<double, 3>;

// A polygon in group through the given corners (uv 0, brightness 100), added to the world.
inline int32_t makePolygon(int32_t group, std::initializer_list<P3> corners) {
    int32_t p = OMBREL_polygon_create();
    for (const P3& c : corners) {
        double rec[6] = {c[0], c[1], c[2], 0, 0, 100};
        OMBREL_polygon_add_point(p, rec);
    }
    OMBREL_polygon_set_group(p, group);
    OMBREL_engine_add_polygon(p);
    return p;
}

// An axis-aligned square of side size at height z, centred on (cx, cy), visible from +z
// (its points run clockwise seen from above).
inline int32_t makeSquareFacingUp(int32_t group, double cx, double cy, double z, double size) {
    double h = size / 2;
    return makePolygon(group, {{cx - h, cy - h, z}, {cx - h, cy + h, z}, {cx + h, cy + h, z}, {cx + h, cy - h, z}});
}

inline std::string entityName(int32_t handle) {
    char buf[4096];
    OMBREL_entity_get_name(handle, buf, sizeof buf);
    return buf;
}
