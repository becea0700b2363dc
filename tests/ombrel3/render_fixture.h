// Small scenes rendered into a small surface and read back by pixel regions.
#pragma once

#include "engine_fixture.h"

#include <cstdlib>

struct Rgb {
    int r, g, b;
};

inline bool near(Rgb a, Rgb b, int tol) {
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

inline std::ostream& operator<<(std::ostream& os, Rgb c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

class RenderTest : public EngineTest {
protected:
    static constexpr int kWidth = 64, kHeight = 48;

    void SetUp() override {
        EngineTest::SetUp();
        OMBREL_ext_set_clear_color(0, 0, 0);
        surface = OMBREL_ext_surface_create(kWidth, kHeight);
        // Looking straight down from z = 10 at 90 degrees: image right is +x, up is +y,
        // and at depth 10 one pixel spans 10 / 32 world units.
        camera = OMBREL_camera_create("down");
        OMBREL_camera_set_location(camera, 0, 0, 10);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        OMBREL_camera_set_zoom(camera, 90);
        group = OMBREL_group_create("g");
    }
    void TearDown() override {
        OMBREL_ext_surface_destroy(surface);
        EngineTest::TearDown();
    }

    void render() { ASSERT_EQ(OMBREL_engine_render_on_dc(surface, camera), surface); }

    // A sun shining along (dx, dy, dz) with ambient and diffuse terms only.
    static int32_t makeSun(double dx, double dy, double dz, double ambient, double diffuse) {
        const int32_t sun = OMBREL_light_create("sun", nullptr);
        const double direction[3] = {dx, dy, dz};
        OMBREL_light_set_direction(sun, direction);
        OMBREL_light_set_type_of_light(sun, OMBREL_LIGHT_DIRECTIONAL | OMBREL_LIGHT_AMBIENT | OMBREL_LIGHT_DIFFUSE);
        OMBREL_light_set_ambient(sun, ambient);
        OMBREL_light_set_diffuse(sun, diffuse);
        return sun;
    }

    Rgb at(int x, int y) const {
        uint8_t* px = nullptr;
        int32_t w = 0, h = 0, stride = 0;
        OMBREL_ext_surface_get_pixels(surface, &px, &w, &h, &stride);
        const uint8_t* p = px + y * stride + x * 4;
        return {p[0], p[1], p[2]};
    }

    // Every pixel of the w x h block at (x, y) within tol of want.
    ::testing::AssertionResult region(int x, int y, int w, int h, Rgb want, int tol = 3) const {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (!near(at(i, j), want, tol))
                    return ::testing::AssertionFailure() << "pixel (" << i << ", " << j << ") is " << at(i, j)
                                                         << ", expected " << want;
        return ::testing::AssertionSuccess();
    }

    int32_t surface = 0, camera = 0, group = 0;
};
