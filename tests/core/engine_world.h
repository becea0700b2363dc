// The real engine, loaded once per test program, with a fresh empty world per test
// and the editor's shared state back at its start values.
#pragma once

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/ViewHooks.h"
#include "ombrel_loader.h"
#include "ombrel.h"
#include "platform/doubles/platform_doubles.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

class EngineWorldTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!ombrel_loader::isLoaded()) loadResult() = ombrel_loader::load(TALVORA_PROGRAM_DIR "/libombrel3.so");
    }

    void SetUp() override {
        const auto& r = loadResult();
        // An engine still being assembled lacks entry points; anything else is a fault.
        if (r.status == ombrel_loader::Status::EntryPointsMissing)
            GTEST_SKIP() << "the engine lacks " << r.missing.size() << " entry points, e.g. " << r.missing.front();
        ASSERT_EQ(r.status, ombrel_loader::Status::Loaded) << r.reason;
        ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
        OMBREL_engine_hide_log_window();
        resetEditorState();
    }

    void TearDown() override {
        if (ombrel_loader::isLoaded()) OMBREL_engine_close();
        resetEditorState();
    }

    static void resetEditorState() {
        using namespace Globals;
        WorldSize = 1000;
        NavSpeedFactor = 1;
        RootGrp = 0;
        CurrSelEntityType = PrevSelEntityType = SelNone;
        CurrSelEntityHandle = PrevSelEntityHandle = 0;
        CurrMultiSel = std::make_shared<MultipleSelection>();
        PrevMultiSel = std::make_shared<MultipleSelection>();
        CurrToolMode = ToolSelect;
        NumSelTrkPts = 0;
        SelTrkPts = {0};
        TrkCenter = SelTrkPtsAvgCenter = {0, 0, 0};
        SceneCameras.reset();
        SceneLights.reset();
        OverlayDC = nullptr;
        OverlayLine.reset();
        OverlayWireframe.reset();
        for (auto& v : ViewCams) v.reset();
        core::viewHooks() = {};
    }

    platform::testing::PlatformDoubles platform_;

private:
    static ombrel_loader::Result& loadResult() {
        static ombrel_loader::Result r;
        return r;
    }
};

using P3 = std::array<double, 3>;

// A polygon in group through the corners (uv 0, brightness 100), added to the world.
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

// An axis-aligned box from lo to hi, every side visible from outside (points
// clockwise seen from outside), filled with one colour.
inline int32_t makeBox(const char* name, const P3& lo, const P3& hi, int r = 255, int g = 0, int b = 0) {
    int32_t group = OMBREL_group_create(name);
    const double x0 = lo[0], y0 = lo[1], z0 = lo[2], x1 = hi[0], y1 = hi[1], z1 = hi[2];
    const int32_t faces[] = {
        makePolygon(group, {{x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1}}),  // top
        makePolygon(group, {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}),  // bottom
        makePolygon(group, {{x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}}),  // +x
        makePolygon(group, {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}}),  // -x
        makePolygon(group, {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}),  // +y
        makePolygon(group, {{x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}}),  // -y
    };
    for (int32_t f : faces) OMBREL_polygon_set_color_fill(f, r, g, b);
    return group;
}

inline int32_t makeTrack(std::initializer_list<P3> points) {
    std::vector<double> flat;
    for (const P3& p : points) flat.insert(flat.end(), p.begin(), p.end());
    return OMBREL_track_create("track", 0, flat.data(), static_cast<int32_t>(points.size()));
}

inline P3 trackPoint(int32_t track, int32_t i) {
    P3 p = {0, 0, 0};
    OMBREL_track_get_point(track, i, p.data());
    return p;
}

inline std::string entityName(int32_t handle) {
    char buf[OMBREL_PATH_MAX];
    OMBREL_entity_get_name(handle, buf, sizeof buf);
    return buf;
}

inline P3 groupLocation(int32_t group) {
    P3 p = {0, 0, 0};
    OMBREL_group_get_location(group, &p[0], &p[1], &p[2]);
    return p;
}
