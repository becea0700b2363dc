// A view the selection tests pick and project through: a surface of 640 x 480
// and a camera at (-100, 0, 0) looking along +x, current on that surface.
#pragma once

#include "core/Globals.h"
#include "core/WindowHooks.h"

#include "engine_world.h"

#include <vector>

class SelectionWorld : public EngineWorldTest {
protected:
    static constexpr int kW = 640, kH = 480;

    void SetUp() override {
        EngineWorldTest::SetUp();
        if (IsSkipped()) return;
        buffer_.assign(kW * kH * 4, 0);
        surface_ = OMBREL_ext_surface_attach(buffer_.data(), kW, kH, kW * 4);
        camera_ = OMBREL_camera_create("view");
        OMBREL_camera_set_location(camera_, -100, 0, 0);
        OMBREL_camera_set_direction(camera_, 1, 0, 0);
        OMBREL_camera_set_zoom(camera_, 60);
        OMBREL_camera_set_distance_from_eye(camera_, 1);
        ASSERT_EQ(OMBREL_camera_set_current(camera_, surface_), 0);
        Globals::RootGrp = OMBREL_group_create("root");
        Globals::NumSelPts = Globals::NumSelPols = Globals::NumSelPtsPols = 0;
        Globals::NumSelPolsRelatedPts = Globals::NumWeldedPts = 0;
        core::windowHooks() = {};
    }
    void TearDown() override {
        core::windowHooks() = {};
        Globals::NumSelPts = Globals::NumSelPols = Globals::NumSelPtsPols = 0;
        Globals::NumSelPolsRelatedPts = Globals::NumWeldedPts = 0;
        Globals::WeldedPts.clear();
        if (surface_) OMBREL_ext_surface_destroy(surface_);
        EngineWorldTest::TearDown();
    }

    // A box under father (the root unless given), seen by the camera as a square.
    int32_t box(const char* name, const P3& lo, const P3& hi, int32_t father = -1) {
        const int32_t g = makeBox(name, lo, hi);
        OMBREL_group_set_father_group(g, father < 0 ? Globals::RootGrp : father);
        return g;
    }
    PixelPt pixelOf(const P3& p) {
        PixelPt px = {0, 0};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(p.data(), px.data()), 0);
        return px;
    }
    // The press and release of a gesture in view pixels.
    static void gesture(const PixelPt& down, const PixelPt& up) {
        Globals::MouseDownX = static_cast<float>(down[0]);
        Globals::MouseDownY = static_cast<float>(down[1]);
        Globals::MouseUpX = static_cast<float>(up[0]);
        Globals::MouseUpY = static_cast<float>(up[1]);
    }

    std::vector<uint8_t> buffer_;
    int32_t surface_ = 0, camera_ = 0;
};
